#include "data/Nodes/LoudspeakerNode.h"

#include "acoustics/data/LoudspeakerLibrary.h"
#include "core/Logger/OmbraxLogger.h"
#include "core/Nodes/NodeProperties.h"

#include <QDir>
#include <QStandardPaths>
#include <algorithm>
#include <cmath>
#include <new>

namespace zorvpro
{

namespace
{
const char* const NameKey = "LoudspeakerName";
const char* const FamilyKey = "LoudspeakerFamily";
} // namespace

LoudspeakerNode::LoudspeakerNode(std::shared_ptr<acoustics::Loudspeaker> model) : m_model(std::move(model))
{
    if (!m_model)
        throw std::bad_alloc();
}

LoudspeakerNodePtr LoudspeakerNode::Create(std::shared_ptr<acoustics::Loudspeaker> model)
{
    LoudspeakerNodePtr node(new LoudspeakerNode(std::move(model)));
    InitSelf(node);
    return node;
}

NodePtr LoudspeakerNode::CreateFromProperties(const PropertyMap& properties)
{
    std::string modelName;
    if (!ReadProperty(properties, NameKey, modelName))
    {
        LogUnreadableProperty(NameKey);
        return {};
    }
    EnsureUserLoudspeakersLoaded();
    LoudspeakerNodePtr node = CreateLoudspeakerNode(modelName);
    if (!node)
    {
        // Said out loud: the node and its settings would be gone after the next save.
        std::string nodeName;
        ReadProperty(properties, NodeKeys::Name, nodeName);
        OmbraxLogger::Log(
            LogLevel::Warning,
            QString("Loudspeaker model \"%1\" of node \"%2\" is not in the loudspeaker data sets")
                .arg(QString::fromStdString(modelName), QString::fromStdString(nodeName)));
        return {};
    }
    if (!node->ReadProperties(properties))
        return {};
    return node;
}

std::string LoudspeakerNode::TypeName() const
{
    return TypeNameText;
}

void LoudspeakerNode::WriteProperties(PropertyMap& properties) const
{
    PhysicalNode::WriteProperties(properties);
    WriteProperty(properties, NameKey, m_model->getName());
    WriteProperty(properties, FamilyKey, m_model->getFamily());
}

acoustics::BOM LoudspeakerNode::GetBOM() const
{
    return m_model->getBOM();
}

std::vector<acoustics::DXFFace> LoudspeakerNode::GetDxfFaces() const
{
    return m_model->getFaces();
}

double LoudspeakerNode::GetOutlineTop() const
{
    bool any = false;
    double top = 0.0;
    for (const acoustics::DXFFace& face : m_model->getFaces())
        for (const math::Vec3& point : face.points)
        {
            top = any ? std::max(top, point.z) : point.z;
            any = true;
        }
    return any && std::isfinite(top) ? top : 0.0;
}

void LoadUserLoudspeakers()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                           QDir::separator() + QStringLiteral("Loudspeakers");
    // A data set that cannot be read is an error the user must be able to find in the log: the
    // default level keeps errors only. The others load as usual.
    acoustics::LoudspeakerLibrary::instance().loadLoudspeakerFiles(
        folder.toLocal8Bit().toStdString(),
        [](const std::string& text) { OmbraxLogger::Log(LogLevel::Error, QString::fromStdString(text)); });
}

void EnsureUserLoudspeakersLoaded()
{
    static const bool loaded = (LoadUserLoudspeakers(), true);
    (void)loaded;
}

LoudspeakerNodePtr CreateLoudspeakerNode(const std::string& modelName)
{
    std::shared_ptr<acoustics::Loudspeaker> model =
        acoustics::LoudspeakerLibrary::instance().createLoudspeaker(modelName);
    if (!model)
        return {};
    return LoudspeakerNode::Create(std::move(model));
}

} // namespace zorvpro
