// The automation interface called as an outside tool calls it: found by its
// object name, every method through the meta-object system.
#include "ProgramTestEnv.h"

#include "views/Render/Entity.h"
#include "views/Render/GeometryGL.h"
#include "views/Render/VenueView3D.h"
#include "views/Shell/MainWindow.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <gtest/gtest.h>

namespace zorvpro::programtest
{
namespace
{
QObject* Processor()
{
    return Window()->findChild<QObject*>(QStringLiteral("SquishCommandProcessor"));
}

template <typename R, typename... Args> R Call(const char* method, Args... args)
{
    R result{};
    const bool ok = QMetaObject::invokeMethod(
        Processor(), method, Qt::DirectConnection,
        QReturnArgument<R>(QMetaType::typeName(qMetaTypeId<R>()), result), Q_ARG(QString, args)...);
    EXPECT_TRUE(ok) << method;
    return result;
}

QJsonObject Json(const QString& text)
{
    return QJsonDocument::fromJson(text.toUtf8()).object();
}

// One quad whose vertices carry a known colour.
class ColouredQuad : public view::Entity
{
public:
    ColouredQuad() : Entity("probe") {}
    bool RebuildGeometry() override
    {
        ClearGeometries();
        auto geometry = std::make_shared<opengl::GeometryGL>();
        geometry->AddQuad({0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, QColor::fromRgbF(0.05, 0.5, 1.0, 1.0),
                          false);
        AddGeometry(geometry);
        return true;
    }
};
} // namespace

TEST(Automation, UndoStackAndTestMessage)
{
    ASSERT_NE(Processor(), nullptr);
    EXPECT_FALSE(Call<bool>("clearUndoStack") && Call<bool>("clearUndoStack"));
    EXPECT_FALSE(Call<bool>("undo"));
    EXPECT_FALSE(Call<bool>("redo"));
    EXPECT_EQ(Call<int>("getUndoStackSize"), 0);

    EXPECT_TRUE(Call<bool>("test", QStringLiteral("first")));
    EXPECT_TRUE(Call<bool>("test", QStringLiteral("second")));
    EXPECT_EQ(Call<QString>("getTestMsg"), QStringLiteral("second"));
    for (const QString& die : {QStringLiteral("DIE"), QStringLiteral("die"), QStringLiteral("Die")})
    {
        EXPECT_FALSE(Call<bool>("test", die));
        EXPECT_EQ(Call<int>("getUndoStackSize"), 2);
        EXPECT_EQ(Call<QString>("getTestMsg"), QStringLiteral("second"));
    }
    EXPECT_TRUE(Call<bool>("canUndo"));
    EXPECT_TRUE(Call<bool>("undo"));
    EXPECT_EQ(Call<QString>("getTestMsg"), QStringLiteral("first"));
    EXPECT_TRUE(Call<bool>("canRedo"));
    EXPECT_TRUE(Call<bool>("redo"));
    EXPECT_EQ(Call<QString>("getTestMsg"), QStringLiteral("second"));
    EXPECT_TRUE(Call<bool>("clearUndoStack"));
    EXPECT_EQ(Call<int>("getUndoStackSize"), 0);
    EXPECT_FALSE(Call<QString>("getAppDataLocation").isEmpty());
}

TEST(Automation, CamerasAndErrors)
{
    const QString plan = QStringLiteral("openGLPlan");
    const QJsonObject before = Json(Call<QString>("getCameraPos", plan));
    ASSERT_TRUE(before.contains(QStringLiteral("ppm"))) << QJsonDocument(before).toJson().toStdString();

    // A plan view takes x and y (a missing key reads 0) and keeps its height; a zoom at or
    // outside the limits leaves the zoom.
    struct Case
    {
        const char* json;
        double x, y, ppm;
    };
    const double ppm0 = before[QStringLiteral("ppm")].toDouble();
    const Case cases[] = {{"{\"x\":1.0}", 1.0, 0.0, ppm0},
                          {"{\"x\":2,\"y\":3,\"ppm\":600}", 2.0, 3.0, ppm0},
                          {"{\"x\":2,\"y\":3,\"ppm\":0.02}", 2.0, 3.0, ppm0},
                          {"{\"x\":-4,\"y\":5,\"ppm\":40}", -4.0, 5.0, 40.0}};
    for (const Case& c : cases)
    {
        const QJsonObject after = Json(Call<QString>("setCameraPos", plan, QString::fromLatin1(c.json)));
        EXPECT_DOUBLE_EQ(after[QStringLiteral("x")].toDouble(), c.x) << c.json;
        EXPECT_DOUBLE_EQ(after[QStringLiteral("y")].toDouble(), c.y) << c.json;
        EXPECT_DOUBLE_EQ(after[QStringLiteral("z")].toDouble(), before[QStringLiteral("z")].toDouble())
            << c.json;
        EXPECT_DOUBLE_EQ(after[QStringLiteral("ppm")].toDouble(), c.ppm) << c.json;
        EXPECT_EQ(Json(Call<QString>("getCameraPos", plan)), after);
    }

    const std::pair<QString, QString> failures[] = {
        {Call<QString>("getCameraPos", QStringLiteral("nowhere")),
         QStringLiteral("could not find VenueView3D using object name: nowhere")},
        {Call<QString>("getView3dObj", QStringLiteral("nowhere")),
         QStringLiteral("could not find VenueView3D using object name: nowhere")},
        {Call<QString>("rectFor3DView", QString()),
         QStringLiteral("could not find VenueView3D using object name: ")},
        {Call<QString>("worldToRealCordinates", plan, QStringLiteral("{x:1}")),
         QStringLiteral("jsonVectorStr was not valid json: ")},
        {Call<QString>("setCameraPos", QStringLiteral("nowhere"), QStringLiteral("{x:1}")),
         QStringLiteral("jsonVectorStr was not valid json: ")},
        {Call<QString>("realToWorldCordinates", plan, QStringLiteral("[")),
         QStringLiteral("jsonPosStr was not valid json: ")},
    };
    for (const auto& [result, text] : failures)
    {
        const QJsonObject object = Json(result);
        EXPECT_EQ(object.keys(), QStringList{QStringLiteral("error")}) << result.toStdString();
        EXPECT_TRUE(object[QStringLiteral("error")].toString().startsWith(text)) << result.toStdString();
        if (text.endsWith(QLatin1String("json: ")))
        {
            EXPECT_GT(object[QStringLiteral("error")].toString().size(), text.size()) << result.toStdString();
        }
    }

    // World and screen agree both ways; the grid's rectangle lies in the view.
    auto* view = Window()->findChild<view::VenueView3D*>(plan);
    ASSERT_NE(view, nullptr);
    const QJsonObject pixel =
        Json(Call<QString>("worldToRealCordinates", plan, QStringLiteral("{\"x\":-4,\"y\":5,\"z\":0}")));
    const QJsonObject world = Json(Call<QString>("realToWorldCordinates", plan,
                                                 QStringLiteral("{\"x\":%1,\"y\":%2}")
                                                     .arg(pixel[QStringLiteral("x")].toInt())
                                                     .arg(pixel[QStringLiteral("y")].toInt())));
    EXPECT_NEAR(world[QStringLiteral("x")].toDouble(), -4.0, 0.05);
    EXPECT_NEAR(world[QStringLiteral("y")].toDouble(), 5.0, 0.05);
    const QJsonObject rect = Json(Call<QString>("rectFor3DView", plan));
    EXPECT_EQ(QStringList(rect.keys()), (QStringList{QStringLiteral("height"), QStringLiteral("width"),
                                                     QStringLiteral("x"), QStringLiteral("y")}));

    // Compact text, keys sorted.
    const QString text = Call<QString>("getCameraPos", plan);
    EXPECT_TRUE(text.startsWith(QLatin1String("{\"ppm\":"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QLatin1Char('\n')));
}

TEST(Automation, ViewObjectsCarryTheirColours)
{
    auto* view = Window()->findChild<view::VenueView3D*>(QStringLiteral("openGLPlan"));
    ASSERT_NE(view, nullptr);
    auto probe = std::make_shared<ColouredQuad>();
    probe->RebuildGeometry();
    view->AddEntity(probe);
    const QJsonArray entities =
        Json(Call<QString>("getView3dObj", QStringLiteral("openGLPlan")))[QStringLiteral("entities")]
            .toArray();
    view->RemoveEntity(probe);
    QJsonObject found;
    for (const QJsonValue& entity : entities)
        if (entity[QStringLiteral("name")].toString() == QLatin1String("probe"))
            found = entity.toObject();
    ASSERT_FALSE(found.isEmpty()) << entities.size();
    EXPECT_EQ(found[QStringLiteral("id")].toVariant().toULongLong(), probe->GetId());
    EXPECT_DOUBLE_EQ(found[QStringLiteral("yaw")].toDouble(), 0.0);
    const QJsonArray geos = found[QStringLiteral("geos")].toArray();
    ASSERT_EQ(geos.size(), 1);
    const QJsonArray vertices = geos[0][QStringLiteral("vertices")].toArray();
    ASSERT_GE(vertices.size(), 4);
    const QJsonObject colour = vertices[0][QStringLiteral("col")].toObject();
    EXPECT_EQ(colour[QStringLiteral("ir")].toInt(), 12);
    EXPECT_EQ(colour[QStringLiteral("ig")].toInt(), 127);
    EXPECT_EQ(colour[QStringLiteral("ib")].toInt(), 255);
    EXPECT_EQ(colour[QStringLiteral("hex")].toString(), QStringLiteral("#c7fff"));
    EXPECT_EQ(colour[QStringLiteral("hexa")].toString(), QStringLiteral("#c7fffff"));
    EXPECT_NEAR(colour[QStringLiteral("r")].toDouble(), 0.05, 1e-4);
}

} // namespace zorvpro::programtest
