// The program's start-up and shutdown, each run in a process of its own under the X server:
//
//   DISPLAY=:95 build/bench/ProgramLifeBench
//
//   FirstFrame/project:P   the real program started with no argument (P = 0, start page) or with
//                          the reference project (P = 1, venue tab), from starting the process to
//                          its first frame (the line ZORV_FIRST_FRAME_MARK makes it write once its
//                          first expose is painted and flushed). Target: under 3 s.
//   ShutdownWhileCalculating
//                          this program run again as the program runs (the same start-up steps,
//                          the reference project opened), the speaker tab with maps and automatic
//                          calculation switched on as a user does, then the window closed: the
//                          switches changed the project, so the close asks whether to save. Once
//                          the engine's workers are summing, the prompt is answered "Discard" and
//                          the time runs until the shutdown steps have returned (window, engine
//                          handler, engine, application object) and no thread of the program's
//                          is left. Counters: window_ms (until the window was deleted), exit_ms
//                          (until the process ended, as this process sees it), summed_ms (worker
//                          time spent summing when the prompt was answered). Target: under 1 s.
//
// The reference project: a 50 m x 50 m floor at 0.5 m and one array of three generated "TQR40V"
// modules 3 m above it with two beams (steering -5 and +10 degrees). Settings, data and the
// generated data set live in a temporary home folder.
#include "acoustics/cluster/LoudspeakerCluster.h"
#include "acoustics/engine/ZorvAcousticsImpl.h"
#include "core/Nodes/QuadNode.h"
#include "data/Nodes/BeamSpeakerClusterNode.h"
#include "data/Nodes/BridgeNodeTypes.h"
#include "data/Nodes/LoudspeakerNode.h"
#include "data/Project/ProjectDefinition.h"
#include "data/Project/ProjectSettings.h"
#include "data/Project/Venue.h"
#include "tools/datagen/Archive.h"
#include "tools/datagen/Models.h"
#include "views/Adapters/Spl/SplAdapter.h"
#include "views/Shell/MainWindow.h"
#include "views/Shell/Startup.h"
#include "views/ZorvApp.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>

using namespace zorvpro;
using Clock = std::chrono::steady_clock;

namespace
{
QString g_project;
QProcessEnvironment g_childEnvironment;

double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

bool PrepareHome(const QString& root)
{
    const QString speakers = root + QStringLiteral("/data/Zorv/Zorv Tessary/Loudspeakers");
    if (!QDir().mkpath(speakers) || !QDir().mkpath(root + QStringLiteral("/config")) ||
        !QDir().mkpath(root + QStringLiteral("/Documents")))
        return false;
    setenv("HOME", root.toLocal8Bit().constData(), 1);
    setenv("XDG_DATA_HOME", (root + QStringLiteral("/data")).toLocal8Bit().constData(), 1);
    setenv("XDG_CONFIG_HOME", (root + QStringLiteral("/config")).toLocal8Bit().constData(), 1);
    setenv("XDG_CACHE_HOME", (root + QStringLiteral("/cache")).toLocal8Bit().constData(), 1);
    return datagen::WriteDataSet(juce::File(speakers.toStdString()), datagen::MakeArrayDataSet());
}

bool WriteReferenceProject(const QString& path)
{
    RegisterBridgeNodeTypes();
    EnsureUserLoudspeakersLoaded();
    ProjectDefinition& project = *ProjectDefinition::Instance();
    project.Clear(false);
    project.GetSettings()->setSplResolution(0.5);
    const NodePtr root = project.GetVenue()->GetRoot();
    root->AddChild(QuadNode::Create("Floor", {0, -25, 0}, {50, -25, 0}, {50, 25, 0}, {0, 25, 0},
                                    QColor(128, 128, 128), 0.0, 0.0));
    auto array = BeamSpeakerClusterNode::Create(acoustics::createLoudspeakerCluster());
    for (int i = 0; i < 3; ++i)
        array->AddChild(CreateLoudspeakerNode(datagen::kArrayModelName));
    array->SetTransform(math::Mat4::Translation({0, 0, 3}));
    root->AddChild(array);
    array->SetBeamCount(2);
    array->SetBeamSteering(0, -5.0 * M_PI / 180.0);
    array->SetBeamSteering(1, 10.0 * M_PI / 180.0);
    const bool saved = project.SaveAs(path);
    project.Clear(false);
    return saved;
}

// Reads the child's standard output until a line starts with the prefix; the line, or empty
// when the process ended or the deadline passed first.
QString WaitForLine(QProcess& child, const QByteArray& prefix, int deadlineMs)
{
    const QDeadlineTimer deadline(deadlineMs);
    while (!deadline.hasExpired())
    {
        while (child.canReadLine())
        {
            const QByteArray line = child.readLine().trimmed();
            if (line.startsWith(prefix))
                return QString::fromLatin1(line);
        }
        if (child.state() == QProcess::NotRunning)
            return QString();
        child.waitForReadyRead(int(std::max<qint64>(1, deadline.remainingTime())));
    }
    return QString();
}

void FirstFrame(benchmark::State& state)
{
    const bool withProject = state.range(0) != 0;
    QProcessEnvironment environment = g_childEnvironment;
    environment.insert(QStringLiteral("ZORV_FIRST_FRAME_MARK"), QStringLiteral("1"));
    double worst = 0;
    for (auto _ : state)
    {
        QProcess program;
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        const QStringList arguments = withProject ? QStringList{g_project} : QStringList{};
        const auto start = Clock::now();
        program.start(QStringLiteral(ZORV_PROGRAM_PATH), arguments);
        const bool shown = !WaitForLine(program, "first-frame", 60000).isEmpty();
        const double ms = Ms(Clock::now() - start);
        // Only start-up is measured here; the process is not asked to save anything.
        program.kill();
        program.waitForFinished(10000);
        if (!shown)
        {
            state.SkipWithError("no first frame within 60 s");
            return;
        }
        worst = std::max(worst, ms);
        state.SetIterationTime(ms / 1000.0);
    }
    state.counters["worst_ms"] = worst;
}
BENCHMARK(FirstFrame)
    ->ArgName("project")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void ShutdownWhileCalculating(benchmark::State& state)
{
    QProcessEnvironment environment = g_childEnvironment;
    environment.insert(QStringLiteral("ZORV_BENCH_SHUTDOWN_RUN"), QStringLiteral("1"));
    double worst = 0, exitTotal = 0, summed = 0, windowTotal = 0;
    for (auto _ : state)
    {
        QProcess child;
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {g_project});
        const QString closing = WaitForLine(child, "closing", 300000);
        const auto closed = Clock::now();
        const QString result = WaitForLine(child, "shutdown", 60000);
        const bool exited = child.waitForFinished(60000);
        const double exitMs = Ms(Clock::now() - closed);
        // "closing <summed ms> <field points>", "shutdown <ms> <threads left> <ms until the window was gone>"
        const QStringList c = closing.split(QLatin1Char(' '));
        const QStringList r = result.split(QLatin1Char(' '));
        if (c.size() != 3 || r.size() != 4 || !exited || child.exitStatus() != QProcess::NormalExit ||
            child.exitCode() != 0)
        {
            std::fprintf(stderr, "run: \"%s\", \"%s\", exit code %d\n", qPrintable(closing),
                         qPrintable(result), child.exitCode());
            state.SkipWithError("the run did not close while calculating and exit with code 0");
            return;
        }
        if (r[2] != QLatin1String("0"))
        {
            state.SkipWithError("threads of the program survived its shutdown");
            return;
        }
        const double ms = r[1].toDouble();
        worst = std::max(worst, ms);
        exitTotal += exitMs;
        summed += c[1].toDouble();
        windowTotal += r[3].toDouble();
        state.counters["points"] = c[2].toDouble();
        state.SetIterationTime(ms / 1000.0);
    }
    const double n = double(state.iterations());
    state.counters["worst_ms"] = worst;
    state.counters["exit_ms"] = exitTotal / n;
    state.counters["summed_ms"] = summed / n;
    state.counters["window_ms"] = windowTotal / n;
}
BENCHMARK(ShutdownWhileCalculating)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

QWidget* Shown(MainWindow* window, const char* name)
{
    for (QWidget* widget : window->findChildren<QWidget*>(QLatin1String(name)))
        if (widget->isVisible())
            return widget;
    return nullptr;
}

// Names of this process's threads.
QStringList ThreadNames()
{
    QStringList names;
    for (const QString& task :
         QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
    {
        QFile comm(QStringLiteral("/proc/self/task/%1/comm").arg(task));
        if (comm.open(QIODevice::ReadOnly))
            names << QString::fromLatin1(comm.readAll()).trimmed();
    }
    return names;
}

// One run as main runs the program, closed while the engine's workers sum the reference scene.
// Writes "closing <worker ms summed so far> <field points>" before the close and "shutdown <ms> <threads
// left> <ms until the window was deleted>" after the shutdown steps; the threads counted are the program's
// own (this process's name, less the main thread and the logger's, which is joined at exit) and the engine's.
int ShutdownRun(int argc, char** argv)
{
    PrepareApplicationAttributes(argc, argv);
    ZorvApp::Create(argc, argv);
    ZorvApp* app = ZorvApp::Instance();
    if (app == nullptr)
        return 2;
    int code = 1;
    Clock::time_point closed;
    {
        ProgramStart start(*app);
        app->SetDebug(start.ParseCommandLine());
        MainWindow* window = start.Start();
        QTimer poll;
        bool switched = false;
        bool closing = false;
        double lastSummed = 0;
        QObject::connect(&poll, &QTimer::timeout,
                         [&]
                         {
                             if (!switched)
                             {
                                 // As a user does: the speaker tab, then both map switches.
                                 if (auto* tab = Shown(window, "buttonSpeakerTab"))
                                     QTest::mouseClick(tab, Qt::LeftButton);
                                 auto* map = qobject_cast<QAbstractButton*>(Shown(window, "Spl_ShowSplMap"));
                                 auto* automatic =
                                     qobject_cast<QAbstractButton*>(Shown(window, "Spl_AutoCalculate"));
                                 if (map == nullptr || automatic == nullptr)
                                     return;
                                 if (!map->isChecked())
                                     QTest::mouseClick(map, Qt::LeftButton);
                                 if (!automatic->isChecked())
                                     QTest::mouseClick(automatic, Qt::LeftButton);
                                 switched = map->isChecked() && automatic->isChecked();
                                 return;
                             }
                             // The switches changed the project, so the close asks whether to
                             // save; the prompt is opened at once, while the engine settles, and
                             // answered (the time runs from the answer) once the workers sum.
                             const bool modified = ProjectDefinition::Instance()->IsModified();
                             if (modified && !closing)
                             {
                                 closing = true;
                                 QTimer::singleShot(0, window, [window] { window->close(); });
                                 return;
                             }
                             QAbstractButton* discard = nullptr;
                             if (QWidget* prompt = QApplication::activeModalWidget())
                                 for (auto* button : prompt->findChildren<QAbstractButton*>())
                                     if (button->text().remove(QLatin1Char('&')) == QLatin1String("Discard"))
                                         discard = button;
                             if (modified && discard == nullptr)
                                 return;
                             auto engine =
                                 std::dynamic_pointer_cast<acoustics::ZorvAcousticsImpl>(app->GetEngine());
                             if (engine == nullptr || !engine->isBusy())
                                 return;
                             // Summing goes on (the figure grows block by block) and every worker
                             // is well into its chunk.
                             const double summed = engine->lastCalculationTimes().sumSeconds * 1000.0;
                             const double before = lastSummed;
                             lastSummed = summed;
                             if (summed <= before || summed < 5.0 * std::max(1u, engine->getNumThreads()))
                                 return;
                             poll.stop();
                             size_t points = 0;
                             for (const auto& pairing : window->splAdapter()->GetPairings())
                                 if (pairing->chunk)
                                     points += pairing->chunk->GetPoints().Count();
                             std::printf("closing %.1f %zu\n", summed, points);
                             std::fflush(stdout);
                             closed = Clock::now();
                             if (discard != nullptr)
                                 discard->click();
                             else
                                 window->close();
                         });
        poll.start(1);
        QTimer::singleShot(300000, [] { QApplication::exit(3); });
        code = QApplication::exec();
        start.Finish();
    }
    const double windowMs = Ms(Clock::now() - closed);
    app->Shutdown();
    const double ms = Ms(Clock::now() - closed);
    const QStringList threads = ThreadNames();
    QFile self(QStringLiteral("/proc/self/comm"));
    const QString own =
        self.open(QIODevice::ReadOnly) ? QString::fromLatin1(self.readAll()).trimmed() : QString();
    const int left = int(threads.count(own)) - 2 + int(threads.count(QStringLiteral("engineThread"))) +
                     int(threads.count(QStringLiteral("Pool")));
    std::printf("shutdown %.1f %d %.1f\n", ms, std::max(0, left), windowMs);
    std::fflush(stdout);
    if (left > 0)
        std::fprintf(stderr, "threads after shutdown: %s\n", qPrintable(threads.join(QLatin1String(", "))));
    return code;
}
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsSet("ZORV_BENCH_SHUTDOWN_RUN"))
        return ShutdownRun(argc, argv);
    QTemporaryDir root;
    if (!root.isValid() || !PrepareHome(root.path()))
    {
        std::fprintf(stderr, "cannot prepare the home folder\n");
        return 1;
    }
    g_childEnvironment = QProcessEnvironment::systemEnvironment();
    if (!g_childEnvironment.contains(QStringLiteral("QT_QPA_PLATFORM")))
        g_childEnvironment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    // This process only writes the project.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Zorv"));
    QCoreApplication::setApplicationName(QStringLiteral("Zorv Tessary"));
    g_project = root.filePath(QStringLiteral("Documents/Reference.tq"));
    if (!WriteReferenceProject(g_project))
    {
        std::fprintf(stderr, "cannot write the reference project\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
