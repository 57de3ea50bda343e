#include "views/Adapters/SpeakerActions/SpeakerTabActions.h"

#include "core/Base/ApplicationSeam.h"
#include "data/BeamData/BeamInfoXml.h"
#include "data/BeamData/KvdFileTransferer.h"
#include "data/Nodes/BeamSpeakerClusterNode.h"
#include "data/Project/ProjectDefinition.h"
#include "data/Project/ProjectSettings.h"
#include "views/Adapters/Speaker/SpeakerTabAdapter.h"
#include "views/Adapters/Spl/SplAdapter.h"
#include "views/Common/CommitFocusedEdit.h"
#include "views/Common/WarningMessage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextStream>
#include <QWidget>

namespace zorvpro
{

SpeakerTabActions::SpeakerTabActions(SpeakerTabAdapter& adapter, QWidget* warningParent,
                                     std::unique_ptr<KvdFileTransferer> transferer)
    : m_adapter(adapter), m_warningParent(warningParent)
{
    SetTransferer(std::move(transferer));
}

void SpeakerTabActions::SetTransferer(std::unique_ptr<KvdFileTransferer> transferer)
{
    m_transferer = transferer ? std::move(transferer) : std::make_unique<KvdFileTransferer>();
    connect(m_transferer.get(), &KvdFileTransferer::transferCompleted, this,
            [this](bool wasSuccessful, const QString& errorMessage)
            { emit kvdTransferCompleted(wasSuccessful, errorMessage); });
}

SpeakerTabActions::~SpeakerTabActions() = default;

SplAdapter* SpeakerTabActions::CurrentSplAdapter() const
{
    return m_splAdapter ? m_splAdapter() : nullptr;
}

void SpeakerTabActions::handleAutoCalculateClicked(bool isOn)
{
    ProjectDefinition::Instance()->GetSettings()->setAutoCalculate(isOn);
    if (SplAdapter* spl = CurrentSplAdapter())
        spl->SetAutoCalculate(isOn);
}

void SpeakerTabActions::handleRecalculateClicked()
{
    if (SplAdapter* spl = CurrentSplAdapter())
        spl->Recalculate();
}

void SpeakerTabActions::handleShowSPLMapClicked(bool isOn)
{
    ProjectDefinition::Instance()->GetSettings()->setSplVisibility(isOn);
    m_adapter.UpdateSpeakerSideView();
    if (SplAdapter* spl = CurrentSplAdapter())
        spl->ShowSplMaps(isOn);
}

bool SpeakerTabActions::handleSendToKVDClicked()
{
    // The button takes no focus: a value still being typed belongs in what is sent.
    CommitFocusedEdit();
    const std::vector<NodePtr> selected = m_adapter.GetSelectedNodes();
    if (selected.empty())
    {
        showWarningMessage(tr("No items were selected for the Kavlon Designer"), tr("WARNING"),
                           m_warningParent);
        return false;
    }
    if (!selected.front())
        return false;
    const auto array = std::dynamic_pointer_cast<BeamSpeakerClusterNode>(selected.front());
    if (!array)
    {
        // An empty document would reach the application as a success.
        showWarningMessage(tr("No steerable array was selected for the Kavlon Designer"), tr("WARNING"),
                           m_warningParent);
        return false;
    }
    QString text;
    writeBeamInfoXml(text, array);
    if (!m_transferer->sendFile(text))
        return false;
    if (IsDebugRun())
        WriteDebugCopy(text);
    return true;
}

QString SpeakerTabActions::DebugCopyPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QDir::separator() +
           QStringLiteral("beamInfo.xml");
}

void SpeakerTabActions::WriteDebugCopy(const QString& text)
{
    const QString path = DebugCopyPath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return;
    file.resize(0);
    QTextStream stream(&file);
    stream.setCodec("UTF-8");
    stream << text << '\n';
    stream.flush();
    file.close();
}

void SpeakerTabActions::onPropertyEvent(BoundPropertyEvent event, const QString& propName,
                                        const QVariant& value)
{
    if (event == BoundPropertyEvent::ValueChanged)
    {
        if (propName == QLatin1String("Spl_ShowSplMap"))
            handleShowSPLMapClicked(value.toBool());
        else if (propName == QLatin1String("Spl_AutoCalculate"))
            handleAutoCalculateClicked(value.toBool());
    }
    else if (event == BoundPropertyEvent::ValuePassedThrough &&
             propName == QLatin1String("Spl_RecalculateButton"))
    {
        handleRecalculateClicked();
    }
}

} // namespace zorvpro
