#include "tests/core/support/LogCapture.h"
#include "views/Render/BeamSpeakerAdornerEntity.h"
#include "views/Render/HitPoint.h"
#include "views/Render/QuadAdornerEntity.h"
#include "views/Render/QuadEntity.h"
#include "views/Render/SpeakerEntity.h"
#include "views/Render/SpeakerMouseHandlers.h"
#include "views/Render/VenueMouseHandler.h"
#include "views/Render/Viewport.h"

#include <QEvent>
#include <QSignalSpy>
#include <gtest/gtest.h>
#include <map>

using namespace zorvpro;
using namespace zorvpro::view;
using math::Vec3;

namespace
{
// Pointer columns of the scripted scene: what lies under x.
enum Column
{
    Empty = 0,
    Surface = 100,
    LockedSurface = 200,
    Handle = 300,
    HiddenSurface = 400
};

struct Scene
{
    Viewport viewport;
    QuadEntityPtr surface = Make("Floor");
    QuadEntityPtr locked = Make("Stage");
    QuadEntityPtr hidden = Make("Balcony");
    std::shared_ptr<QuadAdornerEntity> adorner;

    Scene()
    {
        locked->setLocked(true);
        hidden->setVisible(false);
        adorner = std::make_shared<QuadAdornerEntity>(&viewport, surface, 0.05, false);
    }

    static QuadEntityPtr Make(const char* name)
    {
        return std::make_shared<QuadEntity>(name, Vec3(0, 0, 0), Vec3(0, 1, 0), Vec3(1, 1, 0), Vec3(1, 0, 0),
                                            QColor(Qt::red));
    }

    HitPointPtr HitAt(int x, int)
    {
        const int column = x / 100 * 100;
        auto hit = [](EntityPtr e, uint32_t part)
        { return std::make_shared<HitPoint>(std::move(e), GeometryPtr(), math::Ray(), 0.0, part); };
        switch (column)
        {
        case Surface:
            return hit(surface, HitPart::Body);
        case LockedSurface:
            return hit(locked, HitPart::Body);
        case Handle:
            return hit(adorner, HitPart::CornerP1);
        case HiddenSurface:
            return hit(hidden, HitPart::Body);
        default:
            return {};
        }
    }
};

MouseEvent Event(QEvent::Type type, int x, uint32_t modifiers = 0, int wheel = 0)
{
    MouseEvent e;
    e.type = uint32_t(type);
    e.localPos = QPointF(x, 10);
    e.modifiers = modifiers;
    e.wheelDelta = wheel;
    return e;
}

struct Step
{
    QEvent::Type type;
    int x;
    uint32_t modifiers;
    uint32_t state;
    uint32_t cursor;
    int action; // -1: none
};
constexpr auto Press = QEvent::MouseButtonPress;
constexpr auto Move = QEvent::MouseMove;
constexpr auto Release = QEvent::MouseButtonRelease;
constexpr uint32_t Ctrl = kControlModifier;
} // namespace

TEST(MouseHandlerTest, ScriptedDragsGiveTheirActionSequencesStatesAndCursors)
{
    struct Script
    {
        const char* name;
        std::vector<Step> steps;
    };
    const Script scripts[] = {
        {"handle drag",
         {{Press, Handle + 5, 0, 5, 1001, 2},
          {Move, Handle + 30, 0, 5, 1001, 3},
          {Release, Handle + 30, 0, 0, 1001, 4}}},
        {"entity drag",
         {{Press, Surface + 5, 0, 1, 9, 1},
          {Move, Surface + 40, 0, 1, 9, 8},
          {Release, Surface + 40, 0, 0, 1001, 9}}},
        {"locked entity",
         {{Press, LockedSurface + 5, 0, 1, 1003, -1},
          {Move, LockedSurface + 9, 0, 1, 1003, 8},
          {Release, LockedSurface + 9, 0, 0, 1001, 9}}},
        {"area selection",
         {{Press, Empty + 5, 0, 3, 1001, 10},
          {Move, Surface + 50, 0, 3, 1001, 11},
          {Release, Surface + 50, 0, 0, 1001, 12}}},
        {"hidden entity selects an area",
         {{Press, HiddenSurface + 5, 0, 3, 1001, 10}, {Release, HiddenSurface + 5, 0, 0, 1001, 12}}},
        {"control pan",
         {{Press, Empty + 5, Ctrl, 4, 18, 5},
          {Move, Empty + 60, Ctrl, 4, 18, 6},
          {Release, Empty + 60, Ctrl, 0, 1001, 7}}},
        {"control click",
         {{Press, Surface + 5, Ctrl, 4, 1001, 5},
          {Move, Surface + 8, Ctrl, 4, 18, 6},
          {Release, Surface + 8, Ctrl, 0, 1001, 1}}},
        {"control drag is a pan",
         {{Press, Surface + 5, Ctrl, 4, 1001, 5}, {Release, Surface + 9, Ctrl, 0, 1001, 7}}},
        {"control click on a locked entity",
         {{Press, LockedSurface + 5, Ctrl, 4, 1003, 5}, {Release, LockedSurface + 5, Ctrl, 0, 1001, 7}}},
        {"control press on a handle drags it",
         {{Press, Handle + 5, Ctrl, 5, 1001, 2}, {Release, Handle + 5, Ctrl, 0, 1001, 4}}},
        {"hover",
         {{Move, Surface + 5, 0, 0, 9, -1},
          {Move, Surface + 6, Ctrl, 0, 13, -1},
          {Move, Empty + 5, 0, 0, 1001, -1}}},
    };
    for (const Script& script : scripts)
    {
        SCOPED_TRACE(script.name);
        Scene scene;
        VenueMouseHandler handler;
        handler.SetCallbacks(77, std::make_shared<MouseCallbacks>(MouseCallbacks{
                                     [&scene](int x, int y) { return scene.HitAt(x, y); }, {}, {}}));
        QSignalSpy actions(&handler, &MouseHandler::MouseAction);
        for (size_t i = 0; i < script.steps.size(); ++i)
        {
            const Step& step = script.steps[i];
            SCOPED_TRACE(i);
            actions.clear();
            handler.OnMouseEvent(Event(step.type, step.x, step.modifiers));
            EXPECT_EQ(handler.State(), step.state);
            EXPECT_EQ(handler.LastCursorRequest(), step.cursor);
            if (step.action < 0)
            {
                EXPECT_EQ(actions.count(), 0);
                continue;
            }
            ASSERT_EQ(actions.count(), 1);
            const auto action = actions.at(0).at(0).value<view::MouseAction>();
            EXPECT_EQ(action.action, uint32_t(step.action));
            EXPECT_EQ(action.tag, 77u);
            EXPECT_EQ(action.position, QPoint(step.x, 10));
            EXPECT_EQ(action.control, step.modifiers == Ctrl);
            EXPECT_EQ(action.hit != nullptr, action.entity != nullptr);
        }
    }
}

TEST(MouseHandlerTest, MoveDeltaWheelZoomAndUnknownCursor)
{
    Scene scene;
    MouseHandler handler;
    QSignalSpy actions(&handler, &MouseHandler::MouseAction);
    handler.OnMouseEvent(Event(Press, 10)); // no callbacks: empty space
    handler.OnMouseEvent(Event(Move, 25));
    ASSERT_EQ(actions.count(), 2);
    EXPECT_EQ(actions.at(1).at(0).value<view::MouseAction>().delta, QPoint(15, 0));
    EXPECT_EQ(actions.at(0).at(0).value<view::MouseAction>().delta, QPoint(0, 0));

    // Without a getter the zoom starts from 50; a notch adds 4, about the pointer.
    double zoom = 0;
    QPointF at;
    auto callbacks = std::make_shared<MouseCallbacks>();
    callbacks->zoomSetter = [&](double z, QPointF p) { zoom = z, at = p; };
    handler.SetCallbacks(1, callbacks);
    handler.OnMouseEvent(Event(QEvent::Wheel, 33, 0, 120));
    EXPECT_DOUBLE_EQ(zoom, 54.0);
    EXPECT_EQ(at, QPointF(33, 10));
    callbacks->zoomGetter = [](const MouseEvent&) { return 80.0; };
    handler.OnMouseEvent(Event(QEvent::Wheel, 33, 0, -240));
    EXPECT_DOUBLE_EQ(zoom, 72.0);

    class Probe : public MouseHandler
    {
    public:
        using MouseHandler::RequestCursor;
    } probe;
    test::LogCapture log;
    probe.RequestCursor(4242);
    probe.RequestCursor(4242);
    EXPECT_EQ(probe.LastCursorRequest(), 4242u);
    int logged = 0;
    for (const std::string& text : log.Texts())
        logged += text.find("Unknown cursor request") != std::string::npos;
    EXPECT_EQ(logged, 1);
}

TEST(MouseHandlerTest, HandleCursorsTurnWithTheSurface)
{
    Scene scene;
    struct Case
    {
        double degrees;
        uint32_t part;
        uint32_t cursor;
    };
    const Case cases[] = {{0, 2, 5},   {0, 6, 5},   {0, 9, 6},    {0, 7, 6},  {0, 10, 1002},
                          {45, 2, 8},  {45, 9, 7},  {90, 3, 6},   {90, 9, 5}, {135, 4, 7},
                          {-90, 5, 6}, {180, 8, 5}, {0, 11, 1000}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.degrees * 100 + c.part);
        scene.surface->SetRotation(c.degrees / 57.29577951308232);
        EXPECT_EQ(CursorForHandle(*scene.adorner, *scene.surface, c.part), c.cursor);
    }
    QuadAdornerEntity side(&scene.viewport, scene.surface, 0.05, true);
    EXPECT_EQ(CursorForHandle(side, *scene.surface, 10), 5u);
}

TEST(MouseHandlerTest, SpeakerViewsMoveLoudspeakersAndOfferBeamHandles)
{
    Viewport viewport;
    auto speaker = std::make_shared<SpeakerEntity>("Fill", Vec3(), 0.0, 0.0, 1,
                                                   [](int, int k, bool&) { return Vec3(k & 1, k >> 1, 0); });
    auto adorner = std::make_shared<BeamSpeakerAdornerEntity>(&viewport, speaker, 0.05, true, false);
    HitPointPtr hit;
    auto callbacks =
        std::make_shared<MouseCallbacks>(MouseCallbacks{[&hit](int, int) { return hit; }, {}, {}});
    auto on = [](EntityPtr e, uint32_t part)
    { return std::make_shared<HitPoint>(std::move(e), GeometryPtr(), math::Ray(), 0.0, part); };

    struct Case
    {
        const char* name;
        bool side;
        QEvent::Type type;
        uint32_t modifiers;
        bool locked;
        bool onAdorner;
        uint32_t part;
        uint32_t state;
        uint32_t cursor;
        int action;
    };
    const Case cases[] = {
        {"side press moves up and down", true, Press, 0, false, false, 1, 1, 5, 1},
        {"side control press pans", true, Press, Ctrl, false, false, 1, 4, 1001, 5},
        {"side press on a locked one", true, Press, 0, true, false, 1, 1, 1003, -1},
        {"side hover", true, Move, 0, false, false, 1, 0, 5, -1},
        {"side control hover", true, Move, Ctrl, false, false, 1, 0, 13, -1},
        {"side hover on a beam handle", true, Move, 0, false, true, HitPart::Beam2BottomFront, 0, 9, -1},
        {"side hover on a locked beam handle", true, Move, 0, true, true, HitPart::Beam1TopRear, 0, 1001, -1},
        {"side hover on a beam outline", true, Move, 0, false, true, HitPart::Beam1Outline, 0, 1001, -1},
        {"plan hover", false, Move, 0, false, false, 1, 0, 9, -1},
        {"plan control hover", false, Move, Ctrl, false, false, 1, 0, 13, -1},
        {"plan hover on a locked one", false, Move, 0, true, false, 1, 0, 1001, -1},
        {"plan press", false, Press, 0, false, false, 1, 1, 9, 1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::unique_ptr<MouseHandler> handler;
        if (c.side)
            handler = std::make_unique<SpeakerSideMouseHandler>();
        else
            handler = std::make_unique<SpeakerPlanMouseHandler>();
        EXPECT_TRUE(handler->IsModelEntity(speaker));
        handler->SetCallbacks(3, callbacks);
        speaker->setLocked(c.locked);
        hit = on(c.onAdorner ? EntityPtr(adorner) : EntityPtr(speaker), c.part);
        // A hover first, as a pointer arrives before it presses.
        handler->OnMouseEvent(Event(Move, 0, 0));
        QSignalSpy actions(handler.get(), &MouseHandler::MouseAction);
        handler->OnMouseEvent(Event(c.type, 10, c.modifiers));
        EXPECT_EQ(handler->State(), c.state);
        EXPECT_EQ(handler->LastCursorRequest(), c.cursor);
        ASSERT_EQ(actions.count(), c.action < 0 ? 0 : 1);
        if (c.action >= 0)
        {
            EXPECT_EQ(actions.at(0).at(0).value<view::MouseAction>().action, uint32_t(c.action));
        }
    }
}
