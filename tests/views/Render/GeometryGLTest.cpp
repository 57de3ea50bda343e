#include "views/Render/GeometryGL.h"
#include "views/Render/GLError.h"
#include "views/Render/MatrixConversion.h"

#include "tests/core/support/LogCapture.h"

#include <QOpenGLFunctions>
#include <algorithm>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <string>

using namespace zorvpro;
using math::Vec3;
using opengl::GeometryGL;

namespace
{
Vec3 Position(const GeometryGL& g, int vertex)
{
    const float* v = g.GetVertices().data() + vertex * opengl::kFloatsPerVertex;
    return {v[0], v[1], v[2]};
}

float Field(const GeometryGL& g, int vertex, int index)
{
    return g.GetVertices()[vertex * opengl::kFloatsPerVertex + index];
}

int Count(const std::vector<std::string>& texts, const std::string& text)
{
    return static_cast<int>(std::count(texts.begin(), texts.end(), text));
}
} // namespace

TEST(GeometryGLTest, BuildersAppendTheExpectedVertexCountsAndModes)
{
    const QColor red(255, 0, 0);
    const Vec3 o{0, 0, 0}, x{1, 0, 0}, y{0, 1, 0}, z{0, 0, 1};
    struct Case
    {
        const char* name;
        std::function<void(GeometryGL&)> build;
        int vertices;
        int mode;
    };
    const Case cases[] = {
        {"disc of 2 segments", [&](GeometryGL& g) { g.AddDisc(o, x, y, red, 2); }, 0, GeometryGL::kNoMode},
        {"disc of 3 segments", [&](GeometryGL& g) { g.AddDisc(o, x, y, red, 3); }, 18, GL_TRIANGLES},
        {"ring of 4 segments", [&](GeometryGL& g) { g.AddRing(o, x, y, 0.1, red, 4); }, 48, GL_TRIANGLES},
        {"ring of 2 segments", [&](GeometryGL& g) { g.AddRing(o, x, y, 0.1, red, 2); }, 0,
         GeometryGL::kNoMode},
        {"triangle", [&](GeometryGL& g) { g.AddTriangle(o, x, y, red, red, red); }, 6, GL_TRIANGLES},
        {"triangle stored once",
         [&](GeometryGL& g) { g.AddTriangle(o, x, y, red, red, red, {}, {}, {}, false); }, 3, GL_TRIANGLES},
        {"single-sided quad", [&](GeometryGL& g) { g.AddQuad(o, x, x + y, y, red, false); }, 6, GL_TRIANGLES},
        {"double-sided quad", [&](GeometryGL& g) { g.AddQuad(o, x, x + y, y, red, true); }, 12, GL_TRIANGLES},
        {"screen line", [&](GeometryGL& g) { g.AddLine(o, x, red, 2.0, o); }, 6, GL_LINES},
        {"line under 3.2 mm",
         [&](GeometryGL& g) {
             g.AddLine(o, {0.003, 0, 0}, red, 2.0, o);
         },
         0, GeometryGL::kNoMode},
        {"world line", [&](GeometryGL& g) { g.AddLine(o, x, red, 0.1, z); }, 6, GL_TRIANGLES},
        {"dashes (1, 1) on 3 m",
         [&](GeometryGL& g) {
             g.AddThickLine(o, x * 3, red, 0.1, z, {1, 1});
         },
         12, GL_TRIANGLES},
        {"odd dash count", [&](GeometryGL& g) { g.AddThickLine(o, x * 3, red, 0.1, z, {1}); }, 0,
         GeometryGL::kNoMode},
        {"negative dash",
         [&](GeometryGL& g) {
             g.AddThickLine(o, x * 3, red, 0.1, z, {1, -1});
         },
         0, GeometryGL::kNoMode},
        {"non-finite dash",
         [&](GeometryGL& g) {
             g.AddThickLine(o, x * 3, red, 0.1, z, {NAN, 1});
         },
         0, GeometryGL::kNoMode},
        {"zero width", [&](GeometryGL& g) { g.AddThickLine(o, x * 3, red, 0.0, z); }, 0, GeometryGL::kNoMode},
        {"over a million dashes",
         [&](GeometryGL& g) {
             g.AddThickLine(o, x * 3, red, 0.1, z, {1e-6, 1e-6});
         },
         0, GeometryGL::kNoMode},
        {"zero length", [&](GeometryGL& g) { g.AddThickLine(x, x, red, 0.1, z); }, 0, GeometryGL::kNoMode},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        GeometryGL geometry;
        c.build(geometry);
        EXPECT_EQ(geometry.VertexCount(), c.vertices);
        EXPECT_EQ(geometry.GetVertices().size(), static_cast<size_t>(c.vertices * 12));
        EXPECT_EQ(geometry.GetMode(), c.mode);
    }
}

TEST(GeometryGLTest, VertexLayoutNormalsAndWindings)
{
    GeometryGL quad;
    const QColor colour(255, 0, 0, 51);
    quad.AddQuad({0, 0, 0}, {2, 0, 0}, {2, 1, 0}, {0, 1, 0}, colour, true);
    const Vec3 expected[] = {{0, 0, 0}, {2, 0, 0}, {2, 1, 0}, {2, 1, 0}, {0, 1, 0}, {0, 0, 0},
                             {0, 0, 0}, {2, 1, 0}, {2, 0, 0}, {2, 1, 0}, {0, 0, 0}, {0, 1, 0}};
    for (int i = 0; i < 12; ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_EQ(Position(quad, i), expected[i]);
        EXPECT_EQ(Field(quad, i, 5), 1.0f); // normal +Z
        EXPECT_FLOAT_EQ(Field(quad, i, 6), 1.0f);
        EXPECT_FLOAT_EQ(Field(quad, i, 9), 0.2f);
        EXPECT_EQ(Field(quad, i, 10), -1.0f);
        EXPECT_EQ(Field(quad, i, 11), -1.0f);
    }

    GeometryGL collinear;
    collinear.AddTriangle({0, 0, 0}, {1, 1, 1}, {2, 2, 2}, colour, colour, colour, {0.5f, 0.25f});
    for (int i = 3; i < 6; ++i)
        EXPECT_EQ(Field(collinear, i, 3) + Field(collinear, i, 4) + Field(collinear, i, 5), 0.0f);
    EXPECT_EQ(Position(collinear, 4), Vec3(2, 2, 2)); // reverse winding p1, p3, p2
    EXPECT_EQ(Field(collinear, 3, 10), 0.5f);
    EXPECT_EQ(Field(collinear, 3, 11), 0.25f);
}

TEST(GeometryGLTest, DashesDiscAndRingGeometry)
{
    GeometryGL dashed;
    dashed.AddThickLine({0, 0, 0}, {3, 0, 0}, Qt::white, 0.2, {0, 0, 1}, {1, 1});
    ASSERT_EQ(dashed.VertexCount(), 12);
    for (int dash = 0; dash < 2; ++dash)
    {
        double lo = 1e9, hi = -1e9, ylo = 1e9, yhi = -1e9;
        for (int i = dash * 6; i < dash * 6 + 6; ++i)
        {
            lo = std::min(lo, Position(dashed, i).x), hi = std::max(hi, Position(dashed, i).x);
            ylo = std::min(ylo, Position(dashed, i).y), yhi = std::max(yhi, Position(dashed, i).y);
        }
        EXPECT_FLOAT_EQ(lo, 2.0f * dash);
        EXPECT_FLOAT_EQ(hi, 2.0f * dash + 1.0f);
        EXPECT_FLOAT_EQ(ylo, -0.1f);
        EXPECT_FLOAT_EQ(yhi, 0.1f);
    }

    // An ellipse of radii 2 and 1: rim points lie on it, the inner ring
    // points 0.5 m inside along the rim's normal.
    GeometryGL disc;
    disc.AddDisc({1, 1, 0}, {2, 0, 0}, {0, 1, 0}, Qt::white, 8);
    for (int i = 0; i < disc.VertexCount(); ++i)
    {
        const Vec3 p = Position(disc, i) - Vec3(1, 1, 0);
        const double r = (p.x / 2) * (p.x / 2) + p.y * p.y;
        EXPECT_TRUE(std::abs(r - 1.0) < 1e-5 || r < 1e-12) << i;
    }
    GeometryGL ring;
    ring.AddRing({0, 0, 0}, {1, 0, 0}, {0, 1, 0}, 0.25, Qt::white, 6);
    for (int i = 0; i < ring.VertexCount(); ++i)
    {
        const double r = Position(ring, i).Length();
        EXPECT_TRUE(std::abs(r - 1.0) < 1e-6 || std::abs(r - 0.75) < 1e-6) << i << " at " << r;
    }
}

TEST(GeometryGLTest, ScreenLineVerticesAndModeConflict)
{
    test::LogCapture log;
    GeometryGL line;
    line.AddLine({0, 0, 0}, {3, 4, 0}, Qt::red, Qt::blue, 2.5, {0, 0, 0});
    EXPECT_EQ(line.GetLineWidth(), 2.5);
    const float w = 3.5f, l = 6.0f;
    const float st[6][2] = {{-w, -l}, {w, l}, {-w, l}, {w, l}, {-w, -l}, {w, -l}};
    for (int i = 0; i < 6; ++i)
    {
        SCOPED_TRACE(i);
        const bool endB = i % 2 == 1;
        EXPECT_EQ(Position(line, i), endB ? Vec3(3, 4, 0) : Vec3(0, 0, 0));
        // The normal slot holds the next point: B for end A, B + (B - A) for end B.
        EXPECT_EQ(Field(line, i, 3), endB ? 6.0f : 3.0f);
        EXPECT_EQ(Field(line, i, 4), endB ? 8.0f : 4.0f);
        EXPECT_EQ(Field(line, i, 6), endB ? 0.0f : 1.0f);
        EXPECT_EQ(Field(line, i, 10), st[i][0]);
        EXPECT_EQ(Field(line, i, 11), st[i][1]);
    }
    EXPECT_EQ(Count(log.Texts(), "Cannot change OpenGL geometry mode more than once per primitive!"), 0);
    line.AddQuad({0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, Qt::red, false);
    EXPECT_EQ(line.GetMode(), GL_LINES);
    EXPECT_EQ(line.VertexCount(), 12);
    EXPECT_EQ(Count(log.Texts(), "Cannot change OpenGL geometry mode more than once per primitive!"), 1);
}

TEST(GeometryGLTest, GLErrorsAreReportedOnlyUntilTheFirstOne)
{
    test::LogCapture log;
    // No context: nothing is read.
    opengl::CheckGLError();
    std::vector<unsigned> queue{1280, 1282, 0, 1281, 0};
    size_t next = 0;
    auto reader = [&] { return queue[next++]; };
    opengl::ReportGLErrors(reader);
    EXPECT_EQ(next, 3u);
    opengl::ReportGLErrors(reader);
    EXPECT_EQ(next, 3u);
    const auto texts = log.Texts();
    EXPECT_EQ(Count(texts, "OpenGL error 1280"), 1);
    EXPECT_EQ(Count(texts, "OpenGL error 1282"), 1);
    EXPECT_EQ(Count(texts, "OpenGL error 1281"), 0);
}

TEST(GeometryGLTest, MatrixConversionKeepsTheMapping)
{
    math::Mat4 m = math::Mat4::RotationZ(0.7);
    m(0, 1) += 0.25; // not orthogonal, so a transpose would show
    m.Translate({1.5, -2, 3});
    const QMatrix4x4 q = opengl::ToQMatrix(m);
    for (const Vec3& p : {Vec3(0, 0, 0), Vec3(1, 2, 3), Vec3(-4, 0.5, 2)})
    {
        const Vec3 expected = math::TransformPoint(m, p);
        const QVector3D mapped = q.map(QVector3D(float(p.x), float(p.y), float(p.z)));
        EXPECT_NEAR(mapped.x(), expected.x, 1e-5);
        EXPECT_NEAR(mapped.y(), expected.y, 1e-5);
        EXPECT_NEAR(mapped.z(), expected.z, 1e-5);
    }
    // GL reads the data column-major: the translation is in elements 12-14.
    EXPECT_FLOAT_EQ(q.constData()[12], 1.5f);
    EXPECT_FLOAT_EQ(q.constData()[13], -2.0f);
    EXPECT_FLOAT_EQ(q.constData()[14], 3.0f);
}
