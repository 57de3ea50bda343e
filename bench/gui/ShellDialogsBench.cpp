// The log window's cost per line below and at its 5,000-row cap, and a theme
// switch with the settings dialog open and a full log window. Offscreen; the
// settings live in a temporary home folder.

#include "core/Logger/OmbraxLogger.h"
#include "data/Settings/AppSettings.h"
#include "views/Adapters/Theme/AppThemeAdapter.h"
#include "views/Dashboard/DiagnosticDialog.h"
#include "views/Dashboard/SettingsPage.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdlib>

namespace
{
using namespace zorvpro;

constexpr int kCap = 5000;

// Lines reach the window as the writer thread's do: queued, then delivered.
void Feed(int first, int last)
{
    for (int line = first; line <= last; ++line)
        emit OmbraxLogger::Instance()->logEventRx(
            QStringLiteral("12/07/2026 10:00:00.000 (E): calculation step %1 finished").arg(line));
    QCoreApplication::processEvents();
}

double Milliseconds(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// Lines 1 to 5,000 into an empty window, then 5,001 to 10,000 into the full
// one; the time is the second batch's. ratio = second / first (at most 2).
void BM_LogWindowLinesAtTheCap(benchmark::State& state)
{
    double first = 0.0, second = 0.0;
    for (auto _ : state)
    {
        DiagnosticDialog dialog;
        dialog.show();
        QElapsedTimer timer;
        timer.start();
        Feed(1, kCap);
        first = Milliseconds(timer);
        timer.restart();
        Feed(kCap + 1, 2 * kCap);
        second = Milliseconds(timer);
        state.SetIterationTime(second / 1e3);
        if (dialog.findChild<QListWidget*>()->count() != kCap)
            state.SkipWithError("the window does not hold exactly 5,000 rows");
    }
    state.counters["first_ms"] = first;
    state.counters["cap_ms"] = second;
    state.counters["ratio"] = second / first;
}
BENCHMARK(BM_LogWindowLinesAtTheCap)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// One theme change, from the setting to every listener restyled and both
// windows repainted.
void BM_ThemeSwitch(benchmark::State& state)
{
    AppThemeAdapter* themes = AppThemeAdapter::instance();
    themes->configure(qApp);
    SettingsPage settings;
    themes->addThemeListener(&settings);
    DiagnosticDialog log;
    settings.show();
    log.show();
    Feed(1, kCap);
    UiSettings* ui = AppSettings::Instance().GetUiSettings();
    bool light = ui->getTheme() == UiTypes::UiTheme::Day;
    for (auto _ : state)
    {
        light = !light;
        ui->setTheme(light ? UiTypes::UiTheme::Day : UiTypes::UiTheme::Night);
        QCoreApplication::processEvents();
        settings.repaint();
        log.repaint();
    }
    themes->removeThemeListener(&settings);
}
BENCHMARK(BM_ThemeSwitch)->Unit(benchmark::kMillisecond)->Iterations(20);
} // namespace

int main(int argc, char** argv)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QTemporaryDir home;
    if (!home.isValid())
        return 1;
    qputenv("HOME", home.path().toLocal8Bit());
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
