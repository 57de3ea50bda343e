// The venue views on a real X display, checked by their pixels: pass order and blending, the
// coverage-map decode, the grid, and the refresh that draws only after a change.
#include "GalleryScene.h"
#include "GlTestEnv.h"
#include "GlViewSupport.h"

#include "views/Render/Camera.h"
#include "views/Render/GeometryGL.h"
#include "views/Render/GeometryQP.h"
#include "views/Render/GridEntity.h"
#include "views/Render/SplTexel.h"
#include "views/Render/TextQP.h"
#include "views/Render/TooltipQP.h"
#include "views/Render/Viewport.h"

#include "tests/core/support/LogCapture.h"

#include <QHBoxLayout>
#include <QOpenGLContext>
#include <algorithm>
#include <memory>

using namespace zorvpro;
using namespace zorvpro::gltest;
using view::VenueView3D;

namespace
{
// A tooltip as the adorners show one: a boxed text painted over the scene.
class TooltipEntity : public view::Entity
{
public:
    TooltipEntity() : Entity("Tooltip")
    {
        auto tooltip = std::make_shared<qpainter::TooltipQP>();
        tooltip->SetText("x 1.00 m\ny 2.00 m");
        tooltip->SetStyle("\"Gotham\"", 9, QColor(255, 255, 255), QColor(40, 40, 200));
        tooltip->SetPosition(430, 200);
        AddGeometry(tooltip);
    }
};

// One top-level window holding the views side by side: their contexts share resources, as the
// views of one tab page do.
struct Window
{
    explicit Window(int views, QSize size = {800, 500})
    {
        auto* layout = new QHBoxLayout(&widget);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        for (int i = 0; i < views; ++i)
        {
            auto* view = new VenueView3D(&widget);
            view->setFixedSize(size);
            layout->addWidget(view);
            this->views.push_back(view);
        }
    }
    bool Show()
    {
        widget.show();
        return std::all_of(views.begin(), views.end(), [](VenueView3D* v) { return Settle(*v); });
    }
    QWidget widget;
    std::vector<VenueView3D*> views;
};

QColor MapColor(const view::FieldEntity& map, int index)
{
    const double s = view::UnpackSplTexel(map.Texels()[size_t(index)].rgba());
    return map.ColorMapImage().pixelColor(std::clamp(int(s * 1024.0), 0, 1023), 0);
}

QColor Blend(const QColor& over, double alpha, const QColor& under)
{
    return QColor::fromRgbF(alpha * over.redF() + (1 - alpha) * under.redF(),
                            alpha * over.greenF() + (1 - alpha) * under.greenF(),
                            alpha * over.blueF() + (1 - alpha) * under.blueF());
}

// Pixel of a world point in an 800 x 500 plan view at 50 pixels per metre.
QPoint PlanPixel(double x, double y)
{
    return {400 + int(std::lround(x * 50)), 250 - int(std::lround(y * 50))};
}
} // namespace

TEST(VenueViewTest, SceneDrawsEveryPassInOrderInTheRequestedDialect)
{
    Window window(1);
    VenueView3D& view = *window.views[0];
    const gallery::Scene scene = gallery::BuildScene();
    gallery::AddToView(view, scene);
    view.AddEntity(std::make_shared<TooltipEntity>());
    gallery::LookPlan(view, 50.0);
    ASSERT_TRUE(window.Show());
    ASSERT_EQ(view.context()->isOpenGLES(), EsRequested());
    const QImage image = view.grabFramebuffer();
    SaveShot(image, "scene-plan", EsRequested());
    const QColor grey(128, 128, 128), background(20, 20, 20);

    // Opaque floor, and the see-through balcony over the background: drawn after the opaque
    // passes although it comes first in the list.
    const QPoint floorOnly = PlanPixel(-3.8, -1.8);
    EXPECT_TRUE(ColorNear(image, floorOnly.x(), floorOnly.y(), grey));
    const QPoint balconyOnly = PlanPixel(4.5, 2.3);
    EXPECT_TRUE(ColorNear(image, balconyOnly.x(), balconyOnly.y(), Blend(grey, 0.5, background)));

    // Map vertices show the colour of their packed values, alone and under the balcony.
    const int columns = scene.map->GridWidth();
    const QPoint mapOnly = PlanPixel(-2.1, -0.7);
    EXPECT_TRUE(ColorNear(image, mapOnly.x(), mapOnly.y(), MapColor(*scene.map, 4 * columns + 7)));
    const QPoint mapUnderBalcony = PlanPixel(1.1, 0.3);
    EXPECT_TRUE(ColorNear(image, mapUnderBalcony.x(), mapUnderBalcony.y(),
                          Blend(grey, 0.5, MapColor(*scene.map, 9 * columns + 23))));

    // Outlines are drawn over their fills: the balcony's orange edge outside its own fill, and
    // the floor's cyan edge over the background.
    EXPECT_TRUE(ColorNearby(image, PlanPixel(3.0, -1.0).x(), PlanPixel(3.0, -1.0).y(),
                            Blend(QColor(255, 140, 0), 0.9, grey), 4));
    EXPECT_TRUE(ColorNearby(image, PlanPixel(-1.0, -2.0).x(), PlanPixel(-1.0, -2.0).y(),
                            Blend(QColor(0, 200, 255), 0.9, grey), 4));

    // The selection box is painted after GL: its dashes show over the map (which has no white
    // in it) and over the grid lines (grey 110), with gaps between them.
    EXPECT_GT(WhiteLevel(image, 300, 190), 120);
    EXPECT_GT(WhiteLevel(image, 100, 105), 140);
    EXPECT_GT(WhiteLevel(image, 200, 101), 140);
    EXPECT_LT(WhiteLevel(image, 209, 100, 0), 120) << "the gap of the dash pattern";

    // The tooltip's box is filled over the floor and the balcony, below its first line.
    EXPECT_TRUE(ColorNear(image, 429, 199, QColor(40, 40, 200)));

    // The margins outside the grid's frame stay in the background colour.
    EXPECT_TRUE(ColorNear(image, 2, 250, background));
}

TEST(VenueViewTest, CoverageMapDecodesItsValuesAndRecoloursWithoutRebuildingTheMesh)
{
    Window window(1);
    VenueView3D& view = *window.views[0];
    // Three values in every row and column of the inner 3 x 3 points: minimum, middle and
    // maximum. The outer ring repeats its inner neighbours, so every checked point lies inside.
    const double min = 60, mid = 80, max = 100;
    const double pattern[3][3] = {{min, mid, max}, {mid, max, min}, {max, min, mid}};
    std::vector<double> values;
    std::vector<math::Vec3> vertices;
    std::vector<int32_t> columns, rows;
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 5; ++c)
        {
            vertices.push_back({c - 2.0, r - 2.0, 0.0});
            columns.push_back(c);
            rows.push_back(r);
            values.push_back(pattern[std::clamp(r - 1, 0, 2)][std::clamp(c - 1, 0, 2)]);
        }
    std::vector<view::FieldEntity::Triangle> triangles;
    for (uint32_t r = 0; r < 4; ++r)
        for (uint32_t c = 0; c < 4; ++c)
        {
            const uint32_t i = r * 5 + c;
            triangles.push_back({i, i + 1, i + 6});
            triangles.push_back({i, i + 6, i + 5});
        }
    auto map = std::make_shared<view::FieldEntity>("FieldEntity for 3 x 3");
    map->SetMesh(vertices, triangles, columns, rows, 5, 5);
    map->BuildColorMapTexture(values, min, max, gallery::BlueGreenRed(min, max));
    view.AddEntity(map);
    gallery::LookPlan(view, 100.0);
    ASSERT_TRUE(window.Show());

    const auto pixel = [](int c, int r) { return QPoint(400 + (c - 1) * 100, 250 - (r - 1) * 100); };
    // (pixel takes the inner point's column and row, 0 to 2)
    const QColor blue(0, 0, 255), green(0, 255, 0), red(255, 0, 0);
    const QColor expected[] = {blue, green, red, green, red, blue, red, blue, green};
    QImage image = view.grabFramebuffer();
    SaveShot(image, "map-3x3", EsRequested());
    for (int i = 0; i < 9; ++i)
        EXPECT_TRUE(ColorNear(image, pixel(i % 3, i / 3).x(), pixel(i % 3, i / 3).y(), expected[i])) << i;
    // Halfway from a minimum to a middle value: a quarter of the range, decoded from texels
    // that differ in every byte.
    EXPECT_TRUE(ColorNear(image, 350, 350, QColor(0, 128, 128)));

    // Recolouring outside any frame shows on the next frame; the mesh and its vertex buffers stay.
    const view::Geometry* firstTile = map->GetGeometries().at(0).get();
    const uint64_t uploaded = opengl::GeometryGL::UploadedBytes();
    map->BuildColorMapTexture(values, min, max,
                              [=](double v)
                              {
                                  const int level = int(std::lround(255 * (v - min) / (max - min)));
                                  return QColor(level, level, level);
                              });
    ASSERT_TRUE(Settle(view));
    image = view.grabFramebuffer();
    EXPECT_EQ(map->GetGeometries().at(0).get(), firstTile);
    EXPECT_EQ(opengl::GeometryGL::UploadedBytes(), uploaded);
    const int levels[] = {0, 128, 255, 128, 255, 0, 255, 0, 128};
    for (int i = 0; i < 9; ++i)
        EXPECT_TRUE(ColorNear(image, pixel(i % 3, i / 3).x(), pixel(i % 3, i / 3).y(),
                              QColor(levels[i], levels[i], levels[i])))
            << i;
}

TEST(VenueViewTest, GridDrawsLinesOriginLabelsAndMasksOutsideItsFrame)
{
    Window window(1, {640, 480});
    VenueView3D& view = *window.views[0];
    // A surface reaching far beyond the frame on the left.
    auto wide = std::make_shared<view::QuadEntity>("Wide", math::Vec3{-100, -100, 0}, math::Vec3{-3, -100, 0},
                                                   math::Vec3{-3, 100, 0}, math::Vec3{-100, 100, 0},
                                                   QColor(128, 128, 128));
    wide->setTransparent(false);
    view.AddEntity(wide);
    gallery::LookPlan(view, 50.0);
    ASSERT_TRUE(window.Show());
    const QImage image = view.grabFramebuffer();
    SaveShot(image, "grid", EsRequested());
    const auto grid = view.GetGrid();
    const QRect frame = grid->ScreenRect();
    ASSERT_GT(frame.left(), 20);
    ASSERT_LT(frame.right(), 630);
    const QColor background(20, 20, 20), line(110, 110, 110);

    // Left of the frame the surface is masked; inside it shows.
    EXPECT_TRUE(ColorNear(image, frame.left() - 8, 240, background));
    EXPECT_TRUE(ColorNear(image, frame.left() + 8, 240 + 13, QColor(128, 128, 128)));

    // Lines at every step from the origin, none between; the origin marker on top of both.
    const int dx = int(std::lround(grid->XStep() * 50)), dy = int(std::lround(grid->YStep() * 50));
    ASSERT_GE(dx, 10);
    ASSERT_GE(dy, 10);
    const int rowBetween = 240 - dy / 2, columnBetween = 320 + dx / 2;
    EXPECT_TRUE(ColorNear(image, 320 + dx, rowBetween, line));
    EXPECT_TRUE(ColorNear(image, columnBetween, 240 - dy, line));
    EXPECT_TRUE(ColorNear(image, columnBetween, rowBetween, background));
    EXPECT_TRUE(ColorNear(image, 320, 240, QColor(0xD9, 0xA4, 0x00)));

    // The labels: axis names, title, and numbers where "-0" never appears.
    std::vector<std::string> texts;
    for (const auto& item : grid->Labels()->GetItems())
        texts.push_back(item.text.toStdString());
    for (const char* text : {" X ", " Y ", "PLAN VIEW", "0"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), text), texts.end()) << text;
    EXPECT_EQ(std::find(texts.begin(), texts.end(), "-0"), texts.end());
    // The title's text shows in the top margin.
    const auto title = std::find_if(grid->Labels()->GetItems().begin(), grid->Labels()->GetItems().end(),
                                    [](const auto& item) { return item.text == "PLAN VIEW"; });
    ASSERT_NE(title, grid->Labels()->GetItems().end());
    int lit = 0;
    for (int x = title->x; x < title->x + 60; ++x)
        for (int y = title->y - 10; y < title->y; ++y)
            lit += image.pixelColor(x, y).red() > 80 ? 1 : 0;
    EXPECT_GT(lit, 10);
}

TEST(VenueViewTest, IdleViewsPaintNothingAndAChangeIsDrawnOnceInEveryView)
{
    Window window(2);
    VenueView3D& plan = *window.views[0];
    VenueView3D& side = *window.views[1];
    const gallery::Scene scene = gallery::BuildScene();
    gallery::AddToView(plan, scene);
    gallery::AddToView(side, scene);
    gallery::LookPlan(plan, 50.0);
    gallery::LookSide(side, 50.0);
    ASSERT_TRUE(window.Show());

    FrameCounter planFrames(plan), sideFrames(side);
    const uint64_t uploaded = opengl::GeometryGL::UploadedBytes();
    // Changes that change nothing on screen cost no frame either.
    plan.SetBackgroundColor(QColor(20, 20, 20));
    plan.RemoveEntity(gallery::BuildScene().floor);
    plan.AddEntity(nullptr);
    ASSERT_TRUE(WaitTicks(window.views, 10));
    EXPECT_EQ(planFrames.Count(), 0);
    EXPECT_EQ(sideFrames.Count(), 0);

    // The change is drawn, then ten more ticks draw nothing more.
    scene.floor->setSelected(true);
    ASSERT_TRUE(Settle(plan) && Settle(side));
    ASSERT_TRUE(WaitTicks(window.views, 10));
    EXPECT_EQ(planFrames.Count(), 1);
    EXPECT_EQ(sideFrames.Count(), 1);
    // Only the changed surface went to the GPU again: its fill and its outline.
    const uint64_t floorBytes = (12 + 4 * 6) * 48;
    EXPECT_EQ(opengl::GeometryGL::UploadedBytes() - uploaded, floorBytes);
}

TEST(VenueViewTest, UnbuildableMapIsFinalAndAClosedViewFreesItsMaps)
{
    auto window = std::make_unique<Window>(1);
    VenueView3D& view = *window->views[0];
    // A triangle spanning two tiles of a 100-wide grid cannot be drawn.
    std::vector<math::Vec3> vertices(200);
    std::vector<int32_t> columns(200), rows(200);
    for (int i = 0; i < 200; ++i)
    {
        vertices[size_t(i)] = {0.05 * (i % 100), 0.05 * (i / 100), 0.0};
        columns[size_t(i)] = i % 100;
        rows[size_t(i)] = i / 100;
    }
    auto broken = std::make_shared<view::FieldEntity>("FieldEntity for broken");
    broken->SetMesh(vertices, {{48, 50, 149}}, columns, rows, 100, 2);
    broken->BuildColorMapTexture(std::vector<double>(200, 70.0), 60, 100, gallery::BlueGreenRed(60, 100));
    double min = 0, max = 0;
    auto good = gallery::SyntheticMap({-3, -1, 0}, 5, 5, 0.2, min, max);
    view.AddEntity(broken);
    view.AddEntity(good);
    gallery::LookPlan(view, 50.0);

    test::LogCapture log;
    ASSERT_TRUE(window->Show());
    FrameCounter frames(view);
    ASSERT_TRUE(WaitTicks(window->views, 10));
    EXPECT_EQ(frames.Count(), 0);
    EXPECT_FALSE(broken->isDirty());
    EXPECT_TRUE(broken->GetGeometries().empty());
    const auto lines = log.Lines();
    EXPECT_NE(std::find_if(lines.begin(), lines.end(),
                           [](const std::string& l)
                           { return l.find("Cannot match tile overlaps") != std::string::npos; }),
              lines.end());

    ASSERT_NE(good->ColorMapTexture(), nullptr);
    ASSERT_FALSE(good->GetGeometries().empty());
    auto tile = std::dynamic_pointer_cast<opengl::GeometryGL>(good->GetGeometries().front());
    ASSERT_TRUE(tile && tile->GetTexture());
    window.reset();
    EXPECT_EQ(good->ColorMapTexture(), nullptr);
    EXPECT_EQ(tile->GetTexture(), nullptr);
    EXPECT_TRUE(good->isDirty()) << "another view showing it must build it again";
}
