#include "views/Shell/SquishCommandProcessor.h"

#include "core/Commands/UndoStack.h"
#include "core/Logger/OmbraxLogger.h"
#include "core/Nodes/Node.h"
#include "data/Field/FieldChunk.h"
#include "data/Project/ProjectDefinition.h"
#include "data/Project/ProjectSettings.h"
#include "views/Adapters/Spl/SplAdapter.h"
#include "views/Common/CommitFocusedEdit.h"
#include "views/Render/Camera.h"
#include "views/Render/GeometryGL.h"
#include "views/Render/GridEntity.h"
#include "views/Render/QuadEntity.h"
#include "views/Render/VenueView3D.h"
#include "views/Render/VertexFormat.h"
#include "views/Shell/MainWindow.h"
#include "views/Shell/TestCommand.h"

#include <QApplication>
#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMainWindow>
#include <QSettings>
#include <QStandardPaths>
#include <QUndoStack>
#include <cmath>
#include <optional>
#include <typeinfo>

namespace zorvpro
{
const QString SquishCommandProcessor::kZeroVector = QStringLiteral("{\"x\":0.0,\"y\":0.0,\"z\":0.0}");
const QString SquishCommandProcessor::kZeroPosition = QStringLiteral("{\"x\":0.0,\"y\":0.0}");

namespace
{
constexpr double kZeroComponent = 5.551115123125783e-15;

QString Compact(const QJsonObject& object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

QString Error(const QString& text)
{
    return Compact(QJsonObject{{QStringLiteral("error"), text}});
}

QMainWindow* FindMainWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<QMainWindow*>(widget))
            return window;
    return nullptr;
}

view::VenueView3D* FindView(const QString& name)
{
    QMainWindow* window = FindMainWindow();
    if (window == nullptr)
        return nullptr;
    for (auto* view : window->findChildren<view::VenueView3D*>())
        if (view->objectName() == name)
            return view;
    return nullptr;
}

QString NoView(const QString& name)
{
    return Error(QStringLiteral("could not find VenueView3D using object name: ") + name);
}

// Parses the argument; an error text when it is not JSON.
std::optional<QJsonObject> ParseArgument(const QString& text, const char* argument, QString& error)
{
    QJsonParseError parse{};
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &parse);
    if (parse.error != QJsonParseError::NoError)
    {
        error = Error(QString::fromLatin1(argument) + QStringLiteral(" was not valid json: ") +
                      parse.errorString());
        return std::nullopt;
    }
    return document.object();
}

QJsonObject Point(double x, double y, double z)
{
    return QJsonObject{{QStringLiteral("x"), x}, {QStringLiteral("y"), y}, {QStringLiteral("z"), z}};
}

QJsonObject Point(const math::Vec3& p)
{
    return Point(p.x, p.y, p.z);
}

math::Vec3 Transform(const math::Mat4& m, double x, double y, double z)
{
    double out[4];
    for (int r = 0; r < 4; ++r)
        out[r] = m(r, 0) * x + m(r, 1) * y + m(r, 2) * z + m(r, 3);
    if (out[3] != 0.0 && out[3] != 1.0)
        return {out[0] / out[3], out[1] / out[3], out[2] / out[3]};
    return {out[0], out[1], out[2]};
}

QJsonObject Colour(float r, float g, float b, float a)
{
    const int ir = static_cast<int>(r * 255.0);
    const int ig = static_cast<int>(g * 255.0);
    const int ib = static_cast<int>(b * 255.0);
    const int ia = static_cast<int>(a * 255.0);
    const QString hex = QStringLiteral("#%1%2%3").arg(ir, 0, 16).arg(ig, 0, 16).arg(ib, 0, 16);
    return QJsonObject{
        {QStringLiteral("r"), double(r)}, {QStringLiteral("g"), double(g)},
        {QStringLiteral("b"), double(b)}, {QStringLiteral("a"), double(a)},
        {QStringLiteral("ir"), ir},       {QStringLiteral("ig"), ig},
        {QStringLiteral("ib"), ib},       {QStringLiteral("ia"), ia},
        {QStringLiteral("hex"), hex},     {QStringLiteral("hexa"), hex + QString::number(ia, 16)}};
}

QJsonObject CameraObject(view::VenueView3D& view)
{
    QJsonObject result = Point(view.GetCamera().GetPosition());
    result.insert(QStringLiteral("ppm"), std::max(view.GetViewport().pixelsPerMeter(), 0.001));
    return result;
}

QJsonObject EntityObject(const view::Entity& entity)
{
    const math::Mat4 m = entity.getTransform();
    QJsonArray geos;
    for (const auto& geometry : entity.GetGeometries())
    {
        const auto* gl = dynamic_cast<const opengl::GeometryGL*>(geometry.get());
        if (gl == nullptr)
            continue;
        QJsonArray vertices;
        const std::vector<float>& v = gl->GetVertices();
        for (size_t i = 0; i + 12 <= v.size(); i += 12)
        {
            vertices.append(
                QJsonObject{{QStringLiteral("localpos"), Point(v[i], v[i + 1], v[i + 2])},
                            {QStringLiteral("worldpos"), Point(Transform(m, v[i], v[i + 1], v[i + 2]))},
                            {QStringLiteral("norm"), Point(v[i + 3], v[i + 4], v[i + 5])},
                            {QStringLiteral("col"), Colour(v[i + 6], v[i + 7], v[i + 8], v[i + 9])}});
        }
        geos.append(QJsonObject{{QStringLiteral("vertexBufferId"), static_cast<qint64>(gl->BufferId())},
                                {QStringLiteral("vertices"), vertices}});
    }
    const math::Vec3 origin = Transform(m, 0, 0, 0);
    const math::Vec3 xAxis = Transform(m, 1, 0, 0);
    QJsonObject result{
        {QStringLiteral("id"), static_cast<qint64>(entity.GetId())},
        {QStringLiteral("name"), QString::fromStdString(entity.getName())},
        {QStringLiteral("transparent"), entity.isTransparent()},
        {QStringLiteral("visible"), entity.isVisible()},
        {QStringLiteral("locked"), entity.isLocked()},
        {QStringLiteral("selected"), entity.isSelected()},
        {QStringLiteral("geos"), geos},
        {QStringLiteral("pos"), Point(origin)},
        {QStringLiteral("yaw"), std::atan2(xAxis.y - origin.y, xAxis.x - origin.x) * 57.29577951308232},
    };
    if (const auto* quad = dynamic_cast<const view::QuadEntity*>(&entity))
    {
        result.insert(QStringLiteral("listenerHeight"), quad->GetListenerHeight());
        result.insert(QStringLiteral("listenerHeightEnabled"), quad->IsListenerHeightEnabled());
    }
    return result;
}
} // namespace

SquishCommandProcessor::SquishCommandProcessor(QObject* parent) : QObject(parent)
{
    setObjectName(QStringLiteral("SquishCommandProcessor"));
}

QString SquishCommandProcessor::getAppDataLocation()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

void SquishCommandProcessor::clearRecentProjectFiles()
{
    QSettings settings(QCoreApplication::translate("main", "Zorv"),
                       QCoreApplication::translate("main", "Zorv Tessary"));
    settings.setValue(QStringLiteral("RecentFileList"), QStringList());
}

bool SquishCommandProcessor::canUndo()
{
    return UndoStack::Instance().canUndo();
}

bool SquishCommandProcessor::canRedo()
{
    return UndoStack::Instance().canRedo();
}

bool SquishCommandProcessor::undo()
{
    // A command like the tool bar's: the value being typed is its own step first.
    CommitFocusedEdit();
    if (!UndoStack::Instance().canUndo())
        return false;
    UndoStack::Instance().undo();
    return true;
}

bool SquishCommandProcessor::redo()
{
    // A command like the tool bar's: the value being typed is its own step first.
    CommitFocusedEdit();
    if (!UndoStack::Instance().canRedo())
        return false;
    UndoStack::Instance().redo();
    return true;
}

int SquishCommandProcessor::getUndoStackSize()
{
    return UndoStack::Instance().count();
}

bool SquishCommandProcessor::clearUndoStack()
{
    if (UndoStack::Instance().count() == 0)
        return false;
    UndoStack::Instance().clear();
    return true;
}

QString SquishCommandProcessor::worldToRealCordinates(const QString& view3dObjectName,
                                                      const QString& jsonVectorStr)
{
    QString error;
    const auto json = ParseArgument(jsonVectorStr, "jsonVectorStr", error);
    if (!json)
        return error;
    view::VenueView3D* view = FindView(view3dObjectName);
    if (view == nullptr)
        return NoView(view3dObjectName);
    const QPoint pixel = view->GetViewport().WorldToScreen({json->value(QStringLiteral("x")).toDouble(),
                                                            json->value(QStringLiteral("y")).toDouble(),
                                                            json->value(QStringLiteral("z")).toDouble()});
    return Compact(QJsonObject{{QStringLiteral("x"), pixel.x()}, {QStringLiteral("y"), pixel.y()}});
}

QString SquishCommandProcessor::realToWorldCordinates(const QString& view3dObjectName,
                                                      const QString& jsonPosStr)
{
    QString error;
    const auto json = ParseArgument(jsonPosStr, "jsonPosStr", error);
    if (!json)
        return error;
    view::VenueView3D* view = FindView(view3dObjectName);
    if (view == nullptr)
        return NoView(view3dObjectName);
    const math::Ray ray = view->GetViewport().ScreenToRay(json->value(QStringLiteral("x")).toInt(),
                                                          json->value(QStringLiteral("y")).toInt());
    return Compact(Point(ray.origin));
}

QString SquishCommandProcessor::getCameraPos(const QString& view3dObjectName)
{
    view::VenueView3D* view = FindView(view3dObjectName);
    if (view == nullptr)
        return NoView(view3dObjectName);
    return Compact(CameraObject(*view));
}

QString SquishCommandProcessor::setCameraPos(const QString& view3dObjectName, const QString& jsonVectorStr)
{
    QString error;
    const auto json = ParseArgument(jsonVectorStr, "jsonVectorStr", error);
    if (!json)
        return error;
    view::VenueView3D* view = FindView(view3dObjectName);
    if (view == nullptr)
        return NoView(view3dObjectName);
    view::Camera& camera = view->GetCamera();
    const math::Vec3 forward = camera.Forward();
    math::Vec3 position = camera.GetPosition();
    auto take = [&](double direction, double& component, const char* key)
    {
        if (std::fabs(direction) < kZeroComponent)
            component = json->value(QLatin1String(key)).toDouble();
    };
    take(forward.x, position.x, "x");
    take(forward.y, position.y, "y");
    take(forward.z, position.z, "z");
    const math::Vec3 current = camera.GetPosition();
    camera.MoveBy({position.x - current.x, position.y - current.y, position.z - current.z});
    camera.SetDirty(true);
    const double ppm = json->value(QStringLiteral("ppm")).toDouble();
    if (ppm > 0.02 && ppm < 500.0)
        view->GetViewport().setPixelsPerMeter(ppm);
    view->update();
    return Compact(CameraObject(*view));
}

QString SquishCommandProcessor::getView3dObj(const QString& view3dObjectName)
{
    view::VenueView3D* view = FindView(view3dObjectName);
    if (view == nullptr)
        return NoView(view3dObjectName);
    QJsonArray entities;
    for (const view::EntityPtr& entity : view->GetEntities())
        if (entity)
            entities.append(EntityObject(*entity));
    return Compact(QJsonObject{{QStringLiteral("entities"), entities}});
}

QString SquishCommandProcessor::getSplMap()
{
    auto* window = dynamic_cast<MainWindow*>(FindMainWindow());
    if (window == nullptr)
        return Error(QStringLiteral("could not find MainWindow"));
    SplAdapter* spl = window->splAdapter();
    if (spl == nullptr)
        return Error(QStringLiteral("could not get pointer to SplAdapter"));
    const ProjectSettings& settings = *ProjectDefinition::Instance()->GetSettings();
    const std::vector<SplAdapter::PairingPtr> pairings = spl->GetPairings();
    QJsonArray list;
    for (const SplAdapter::PairingPtr& pairing : pairings)
    {
        if (!pairing)
            continue;
        const QString type = SplAdapter::KindText(pairing->kind);
        if (type.isEmpty())
            continue;
        QJsonObject item{{QStringLiteral("type"), type}};
        if (const field::FieldChunkPtr& chunk = pairing->chunk)
        {
            const QString destination = SplAdapter::DestinationText(chunk->GetKind());
            if (destination.isEmpty())
                continue;
            item.insert(QStringLiteral("destination"), destination);
            if (pairing->node)
                item.insert(QStringLiteral("name"), QString::fromStdString(pairing->node->GetName()));
            else if (destination == QStringLiteral("side"))
                item.insert(QStringLiteral("name"), QStringLiteral("MedialPlane"));
            if (const field::FieldChunk::ResultPtr result = chunk->GetDataSet())
            {
                acoustics::DataSet::SplValues levels;
                {
                    std::lock_guard<field::FieldChunk::Lock> guard(chunk->GetLock());
                    if (auto data = result->GetDataSet())
                        data->getSpl(levels, settings.getSplOctaveMode(), settings.getSplFreqCtr());
                }
                const std::vector<acoustics::FieldPoint> points = result->GetPoints();
                QJsonArray values;
                for (size_t i = 0; i < points.size() && i < levels.size(); ++i)
                    values.append(QJsonObject{{QStringLiteral("x"), points[i].x},
                                              {QStringLiteral("y"), points[i].y},
                                              {QStringLiteral("z"), points[i].z},
                                              {QStringLiteral("spl"), levels[i].second}});
                item.insert(QStringLiteral("points"), values);
            }
            item.insert(QStringLiteral("freq"), settings.getSplFreqCtr());
        }
        list.append(item);
    }
    return Compact(QJsonObject{{QStringLiteral("pairings"), list}});
}

QString SquishCommandProcessor::rectFor3DView(const QString& view3dObjectName)
{
    view::VenueView3D* view = FindView(view3dObjectName);
    if (view == nullptr)
        return NoView(view3dObjectName);
    const QRect rect = view->GetGrid() ? view->GetGrid()->ScreenRect() : QRect();
    return Compact(QJsonObject{{QStringLiteral("x"), rect.x()},
                               {QStringLiteral("y"), rect.y()},
                               {QStringLiteral("width"), rect.width()},
                               {QStringLiteral("height"), rect.height()}});
}

void SquishCommandProcessor::startTest(const QString&) {}
void SquishCommandProcessor::finishTest(const QString&) {}
void SquishCommandProcessor::addTestHtmlComment(const QString&) {}
void SquishCommandProcessor::clearTestHtmlComment() {}

QString SquishCommandProcessor::getTestMsg()
{
    return TestCommand::Message();
}

bool SquishCommandProcessor::test(const QString& msg)
{
    TestCommand command(msg);
    try
    {
        // Run once outside the stack: a command that throws must never
        // unwind through QUndoStack::push, nor reach the stack at all.
        TestCommand probe(msg);
        probe.Execute();
        probe.Undo();
        return UndoStack::Push(&command);
    }
    catch (...)
    {
        OmbraxLogger::Log(LogLevel::Error,
                          QStringLiteral("Error: SquishCommandProcessor failed to execute command %1")
                              .arg(QString::fromLatin1(typeid(command).name())));
        return false;
    }
}
} // namespace zorvpro
