// The smallest supported window, 1366 x 768, in both themes: every field and button of the
// venue and speaker pages lies across the width its pane shows, with nothing to scroll sideways,
// also while a calculation's status counts its dots beside the map switches.
#include "ProgramTestEnv.h"
#include "UserHands.h"

#include "data/Settings/AppSettings.h"
#include "data/Settings/UiSettings.h"
#include "views/Shell/MainWindow.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace zorvpro::programtest
{
namespace
{
// Every shown control inside the scroll area lies between the left and right edges of what
// the area shows, and the area has nothing to scroll sideways.
void ExpectAllAcross(QAbstractScrollArea* area, const std::string& what, int atLeast)
{
    ASSERT_NE(area, nullptr) << what;
    EXPECT_FALSE(area->horizontalScrollBar()->isVisible() && area->horizontalScrollBar()->maximum() > 0)
        << what << " scrolls sideways by " << area->horizontalScrollBar()->maximum();
    QWidget* shown = area->viewport();
    int checked = 0;
    for (QWidget* w : area->findChildren<QWidget*>())
    {
        const bool control =
            qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractButton*>(w) ||
            (qobject_cast<QLabel*>(w) && !qobject_cast<QLabel*>(w)->text().trimmed().isEmpty());
        if (!control || !w->isVisibleTo(area) || w->window() != area->window() || w->width() == 0)
            continue;
        const QRect r(w->mapTo(shown, QPoint(0, 0)), w->size());
        EXPECT_GE(r.left(), 0) << what << ": " << w->metaObject()->className() << " "
                               << w->objectName().toStdString();
        EXPECT_LE(r.right(), shown->width() - 1)
            << what << ": " << w->metaObject()->className() << " " << w->objectName().toStdString()
            << " ends at " << r.right() << " of " << shown->width();
        ++checked;
    }
    EXPECT_GE(checked, atLeast) << what;
}

// Whether the area shows its bar across just when its range asks for it: a scroll area shows or
// hides its bars a moment after a relayout set their ranges (a queued call), so a look in between
// would see a bar on its way out.
bool BarSettled(QAbstractScrollArea* area)
{
    QScrollBar* bar = area != nullptr ? area->horizontalScrollBar() : nullptr;
    if (bar == nullptr)
        return false;
    const Qt::ScrollBarPolicy policy = area->horizontalScrollBarPolicy();
    const bool due = policy == Qt::ScrollBarAlwaysOn ||
                     (policy == Qt::ScrollBarAsNeeded && bar->minimum() < bar->maximum());
    return bar->isVisibleTo(area) == due;
}

// While a calculation runs, the status beside the map switches counts dots once a second: each
// text is shown in full and leaves the properties panel's width and its controls as they were.
void ExpectStatusKeepsPanel(QAbstractScrollArea* panel, const std::string& what)
{
    auto* status = Shown<QLabel>("CalcEngineStatusLabel");
    ASSERT_NE(status, nullptr) << what;
    const int width = panel->viewport()->width();
    for (const QString& text : {QStringLiteral("SPL calculating"), QStringLiteral("SPL calculating."),
                                QStringLiteral("SPL calculating.."), QStringLiteral("SPL calculating...")})
    {
        const std::string shown = what + " with \"" + text.toStdString() + "\"";
        // The status timer clears the text while the engine is idle: it is put back until the
        // page has been laid out around it.
        ASSERT_TRUE(QTest::qWaitFor(
            [&]
            {
                if (status->text() != text)
                    status->setText(text);
                return status->width() >= status->fontMetrics().horizontalAdvance(text) && BarSettled(panel);
            },
            kDeadline))
            << shown << ": not shown in full";
        EXPECT_EQ(panel->viewport()->width(), width) << shown;
        ExpectAllAcross(panel, shown + " panel", 20);
    }
}
} // namespace

TEST(SmallWindow, EveryFieldAndButtonOfBothPagesIsInSightAt1366x768)
{
    ShowAt(1366, 768);
    StartProject();
    MainWindow* window = Window();
    QTest::mouseClick(Shown("buttonSpeakerTab"), Qt::LeftButton);
    QTest::mouseClick(Shown("Toolbar_AddEntity"), Qt::LeftButton);
    QTest::mouseClick(Shown("buttonVenueTab"), Qt::LeftButton);
    const QString folder = QStringLiteral(ZORV_SCREENSHOT_DIR);
    ASSERT_TRUE(QDir().mkpath(folder));

    for (const auto& [theme, themeName] :
         {std::pair<UiTypes::UiTheme, const char*>{UiTypes::UiTheme::Day, "light"},
          {UiTypes::UiTheme::Night, "dark"}})
    {
        AppSettings::Instance().GetUiSettings()->setTheme(theme);
        for (const auto& [tab, list, panel] :
             {std::tuple<const char*, const char*, const char*>{
                  "buttonVenueTab", "VenueTabEntitySelectionControl", "quadDefinitionScrollArea"},
              {"buttonSpeakerTab", "SpeakerAnalysisTabEntitySelectionControl",
               "scrollAreaSpeakerProperties"}})
        {
            const std::string what = std::string(themeName) + " " + tab;
            QTest::mouseClick(Shown(tab), Qt::LeftButton);
            // The pages finish their layout from the event loop once shown.
            ASSERT_TRUE(QTest::qWaitFor(
                [&]
                {
                    auto* table = qobject_cast<QTableWidget*>(Shown(list));
                    return table != nullptr && table->rowCount() == 1 && table->cellWidget(0, 4) != nullptr &&
                           table->cellWidget(0, 4)->isVisible();
                },
                kDeadline))
                << what;
            ASSERT_TRUE(QTest::qWaitFor(
                [&]
                {
                    return BarSettled(qobject_cast<QAbstractScrollArea*>(Shown(list))) &&
                           BarSettled(qobject_cast<QAbstractScrollArea*>(Shown(panel)));
                },
                kDeadline))
                << what << ": the scroll bars do not settle";
            window->screen()
                ->grabWindow(window->winId())
                .save(QStringLiteral("%1/small-window-%2-%3.png")
                          .arg(folder, QLatin1String(tab), QLatin1String(themeName)));
            ExpectAllAcross(qobject_cast<QAbstractScrollArea*>(Shown(list)), what + " list", 3);
            ExpectAllAcross(qobject_cast<QAbstractScrollArea*>(Shown(panel)), what + " panel", 20);
            if (QLatin1String(tab) == QLatin1String("buttonSpeakerTab"))
                ExpectStatusKeepsPanel(qobject_cast<QAbstractScrollArea*>(Shown(panel)), what);
        }
    }
    AppSettings::Instance().GetUiSettings()->setTheme(UiTypes::UiTheme::Day);
}
} // namespace zorvpro::programtest
