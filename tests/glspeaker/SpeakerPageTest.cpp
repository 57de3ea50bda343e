// The speaker page in a real window with its OpenGL views: form, selection
// rules, the SPL side, tool-bar mirroring, transfer results and both themes.
#include "LoopWait.h"
#include "data/BeamData/KvdFileTransferer.h"
#include "data/Nodes/BeamSpeakerClusterNode.h"
#include "data/Project/ProjectSettings.h"
#include "tests/bridge/BridgeTestSupport.h"
#include "tests/core/support/LogCapture.h"
#include "tests/views/BeamData/LocalListener.h"
#include "tests/views/SpeakerActions/WarningBoxes.h"
#include "views/Adapters/Speaker/SpeakerTabAdapter.h"
#include "views/Adapters/SpeakerActions/SpeakerTabActions.h"
#include "views/GridControl/BindableProperty.h"
#include "views/GridControl/SPLVerticalRangeSliderWidget.h"
#include "views/Render/VenueView3D.h"
#include "views/Tabs/BaseComponents/ToolBarControl.h"
#include "views/Tabs/Speaker/SpeakerAnalysisTab.h"
#include "views/Tabs/Speaker/SplLiveMapControls.h"
#include "views/Tabs/Speaker/SplPropertiesControl.h"

#include <QDir>
#include <QStackedWidget>
#include <QTest>

namespace zorvpro
{
namespace
{

// A window shown on two busy cores was first exposed after more than 3 s.
constexpr int kDeadline = 20000;

template <typename W = QWidget> W* Child(QWidget& page, const char* name)
{
    W* widget = page.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

class SpeakerPageTest : public test::ProjectTest
{
protected:
    void SetUp() override
    {
        test::ProjectTest::SetUp();
        page = std::make_unique<SpeakerAnalysisTab>();
        page->resize(1800, 1000);
        page->show();
        ASSERT_TRUE(LoopWaitForExposed(page.get(), kDeadline));
        // The queued layout steps run on the first passes of the event loop.
        QTRY_VERIFY_WITH_TIMEOUT(Child(*page, "planToolbarContainerFrame")->layout() != nullptr, kDeadline);
    }

    // Arrays added from the plan tool bar, as the user adds them; each new one is selected.
    void AddArrays(int count)
    {
        BindableProperty* add = page->planToolBar()->getProperty("Toolbar_AddEntity");
        ASSERT_NE(add, nullptr);
        for (int i = 0; i < count; ++i)
            QTest::mouseClick(add->widget(), Qt::LeftButton);
        ASSERT_EQ(Project()->GetVenue()->GetRoot()->GetChildren().size(), static_cast<size_t>(count));
    }

    // The first count arrays selected, as a pick in the views or the list selects them.
    void Select(int count)
    {
        const auto& arrays = Project()->GetVenue()->GetRoot()->GetChildren();
        std::vector<view::EntityPtr> entities;
        for (int i = 0; i < count; ++i)
            entities.push_back(page->adapter()->GetLinks().GetEntityForNode(arrays[i]));
        page->adapter()->SetSelection(true, entities, true, false);
        ASSERT_EQ(page->adapter()->GetSelectedCount(), count);
    }

    bool DeleteEditable(ToolBarControl* bar)
    {
        BindableProperty* remove = bar->getProperty("Toolbar_DeleteEntity");
        EXPECT_NE(remove, nullptr);
        return remove && remove->widget()->isEnabled();
    }

    QPushButton* Send() { return Child<QPushButton>(*page, "buttonSendToKVD"); }

    std::unique_ptr<SpeakerAnalysisTab> page;
};

TEST_F(SpeakerPageTest, FormSelectionRulesAndThemes)
{
    EXPECT_EQ(page->objectName(), "tabButtonSpeaker");
    EXPECT_NE(Child<view::VenueView3D>(*page, "openGLPlanSpkr"), nullptr);
    EXPECT_NE(Child<view::VenueView3D>(*page, "openGLSideSpkr"), nullptr);
    EXPECT_NE(Child(*page, "SpeakerAnalysisTabEntitySelectionControl"), nullptr);
    EXPECT_TRUE(Send()->isVisible());
    EXPECT_EQ(Child(*page, "stackedWidgetSpeakerProperties")->height(), 825);

    auto* slider = Child<SPLVerticalRangeSliderWidget>(*page, "SplColorMapWidget");
    EXPECT_EQ(slider->minimum(), 36.0);
    EXPECT_EQ(slider->maximum(), 132.0);
    EXPECT_EQ(slider->toolTip().split('\n').size(), 3);
    // The slider drives the SPL panel.
    slider->setSecondValue(120.0);
    EXPECT_EQ(page->splPanel()->maximumSpl(), 120.0);
    slider->setFirstValue(60.0);
    EXPECT_EQ(page->splPanel()->minimumSpl(), 60.0);

    struct Case
    {
        int selected;
        bool remove, maxGain, send;
        double opacity;
    };
    AddArrays(4);
    const Case cases[] = {{0, false, false, false, 0.35},
                          {2, true, true, false, 0.35},
                          {1, true, true, true, 0.9},
                          {4, true, true, false, 0.35},
                          {0, false, false, false, 0.35}};
    auto* maxGain = Child<QPushButton>(*page, "setMaxGainButton");
    auto* panelPage = Child<QStackedWidget>(*page, "stackedWidgetSpeakerProperties")->currentWidget();
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.selected << " selected");
        Select(c.selected);
        for (ToolBarControl* bar : {page->planToolBar(), page->sideToolBar(), page->rightToolBar()})
            EXPECT_EQ(DeleteEditable(bar), c.remove);
        EXPECT_EQ(maxGain->isEnabled(), c.maxGain);
        EXPECT_EQ(Send()->isEnabled(), c.send);
        EXPECT_DOUBLE_EQ(page->panelOpacity(), c.opacity);
        ASSERT_NE(panelPage->graphicsEffect(), nullptr);
    }

    // Both themes, one selected: frame colours checked in the saved pictures.
    Select(1);
    const QString folder = QCoreApplication::applicationDirPath() + "/screenshots";
    QDir().mkpath(folder);
    struct Theme
    {
        int theme;
        const char* name;
        QColor toolbar, liveBar, splPanel;
    };
    const Theme themes[] = {{1, "light", QColor("#f3f3f3"), QColor("#e0e0e0"), QColor("#F8F8F8")},
                            {0, "dark", QColor("#242424"), QColor("#3b3b3b"), QColor("#141414")}};
    for (const Theme& t : themes)
    {
        SCOPED_TRACE(t.name);
        // A stand-in for the application-wide sheet, so that the pictures show text on its ground.
        const bool l = t.theme == 1;
        qApp->setStyleSheet(QString("QWidget { background-color: %1; color: %2; }")
                                .arg(l ? "#F8F8F8" : "#141414", l ? "#575757" : "#aaaaaa"));
        page->themeChanged(t.theme);
        QApplication::processEvents();
        const QImage image = page->grab().toImage();
        image.save(folder + "/SpeakerPage_" + t.name + ".png");
        auto colourAt = [&](const char* name, QPoint offset)
        {
            QWidget* w = Child(*page, name);
            return image.pixelColor(w->mapTo(page.get(), offset));
        };
        QWidget* toolbar = Child(*page, "planToolbarContainerFrame");
        EXPECT_EQ(colourAt("planToolbarContainerFrame", QPoint(toolbar->width() - 3, 2)), t.toolbar);
        EXPECT_EQ(colourAt("liveSPLMapFrame", QPoint(1, 1)), t.liveBar);
        QWidget* maps = Child(*page, "splMapContainerFrame");
        EXPECT_EQ(colourAt("splMapContainerFrame", QPoint(maps->width() / 2, maps->height() - 3)),
                  t.splPanel);
        // The views take the height and the live-map bar keeps its own.
        EXPECT_LT(Child(*page, "liveSPLMapFrame")->height(), 100);
    }
    qApp->setStyleSheet(QString());
}

TEST_F(SpeakerPageTest, SplSideCollapsesHidesAndComesBackWithTheProject)
{
    auto* hide = Child<QPushButton>(*page, "hideSplButton");
    QWidget* maps = Child(*page, "splMapContainerFrame");
    QWidget* controls = Child(*page, "splMapControlsFrame");
    EXPECT_EQ(hide->text(), ">>");
    for (const bool shown : {false, true})
    {
        QTest::mouseClick(hide, Qt::LeftButton);
        EXPECT_EQ(hide->text() + hide->toolTip(), shown ? ">>Collapse" : "<<Expand");
        EXPECT_EQ(maps->isVisible(), shown);
    }

    // The live-map switch hides the whole SPL side and stores the choice.
    BindableProperty* show = page->liveMapControls()->getProperty("Spl_ShowSplMap");
    ASSERT_NE(show, nullptr);
    for (const bool shown : {false, true})
    {
        show->setValue(shown, true);
        EXPECT_EQ(controls->isVisible(), shown);
        EXPECT_EQ(Project()->GetSettings()->getSplVisibility(), shown);
    }

    show->setValue(false, true);
    QTest::mouseClick(hide, Qt::LeftButton);
    Project()->GetSettings()->setSplVisibility(true);
    page->onProjectCleared();
    EXPECT_TRUE(controls->isVisible());
    EXPECT_TRUE(maps->isVisible());
    EXPECT_EQ(hide->text(), ">>");
    EXPECT_EQ(show->value().toBool(), true);

    // Linking the views on one tool bar shows on the other two.
    BindableProperty* link = page->sideToolBar()->getProperty("Toolbar_LinkViews");
    ASSERT_NE(link, nullptr);
    link->setValue(false, true);
    EXPECT_FALSE(page->planToolBar()->getProperty("Toolbar_LinkViews")->value().toBool());
    EXPECT_FALSE(page->rightToolBar()->getProperty("Toolbar_LinkViews")->value().toBool());

    page->toolbarPositionChanged(1);
    EXPECT_TRUE(Child(*page, "rightToolbarContainerFrame")->isVisible());
    page->toolbarPositionChanged(0);
    EXPECT_FALSE(Child(*page, "rightToolbarContainerFrame")->isVisible());
}

TEST_F(SpeakerPageTest, TransferResultsAndTheSendButton)
{
    // The first array is the one sent; the second makes a selection of two.
    AddArrays(2);

    struct Case
    {
        bool listening;
        int selectedAfter;
        size_t boxes; // and error lines
    };
    const Case cases[] = {{false, 1, 1}, {true, 1, 0}, {false, 2, 1}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << (c.listening ? "listening" : "refused"));
        test::LocalListener listener;
        QTcpServer probe;
        ASSERT_TRUE(c.listening ? listener.Listen() : probe.listen(QHostAddress::LocalHost, 0));
        const quint16 port = c.listening ? listener.Port() : probe.serverPort();
        probe.close();
        page->actions().SetTransferer(
            std::make_unique<KvdFileTransferer>(nullptr, QHostAddress(QHostAddress::LocalHost), port, 100));
        Select(1);
        test::LogCapture log;
        test::WarningBoxes boxes;
        ASSERT_TRUE(Send()->isEnabled());
        QTest::mouseClick(Send(), Qt::LeftButton);
        EXPECT_FALSE(Send()->isEnabled());
        Select(c.selectedAfter);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !page->actions().Transferer().isBusy(); }, kDeadline));
        QTRY_COMPARE_WITH_TIMEOUT(boxes.seen.size(), c.boxes, kDeadline);
        if (c.boxes)
        {
            EXPECT_EQ(boxes.seen[0].title, "WARNING");
            EXPECT_EQ(boxes.seen[0].text, "Could not connect to Kavlon Designer");
            EXPECT_TRUE(boxes.seen[0].shellBox);
        }
        else
        {
            QTRY_VERIFY_WITH_TIMEOUT(listener.ended > 0, kDeadline);
            EXPECT_TRUE(listener.received.contains("TQR40V Array 1"));
        }
        const auto texts = log.Texts();
        EXPECT_EQ(std::count(texts.begin(), texts.end(),
                             "Could not connect to Kavlon Designer. Reason: connection was refused"),
                  static_cast<long>(c.boxes));
        EXPECT_EQ(Send()->isEnabled(), c.selectedAfter == 1);
    }
}

} // namespace
} // namespace zorvpro
