#pragma once

#include "core/Nodes/Node.h"
#include "data/BeamData/KvdFileTransferer.h"
#include "views/GridControl/IBindablePropertyEventListener.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

namespace zorvpro
{
class SplAdapter;
class SpeakerTabAdapter;

// What the speaker tab does for the buttons and switches that edit no single
// value: automatic calculation, recalculation, showing the coverage maps and
// sending the first selected array's beam data to the DSP-configuration
// application. The selection and the side view are the tab adapter's; the
// debug copy follows the application object's debug flag.
class SpeakerTabActions : public QObject, public IBindablePropertyEventListener
{
    Q_OBJECT

public:
    using SplAdapterSource = std::function<SplAdapter*()>;

    // Works on the tab's adapter, which must outlive it; warning boxes belong
    // to warningParent. Takes the transferer (a default one when none is given).
    SpeakerTabActions(SpeakerTabAdapter& adapter, QWidget* warningParent,
                      std::unique_ptr<KvdFileTransferer> transferer = nullptr);
    ~SpeakerTabActions() override;

    // The coverage-map adapter is attached after the page is built: asked for at each use.
    void SetSplAdapterSource(SplAdapterSource source) { m_splAdapter = std::move(source); }

    KvdFileTransferer& Transferer() { return *m_transferer; }
    // Replaces the transferer (an idle one; a running transfer's outcome is lost).
    void SetTransferer(std::unique_ptr<KvdFileTransferer> transferer);

    // "Spl_ShowSplMap" and "Spl_AutoCalculate" value changes and the
    // "Spl_RecalculateButton" press; everything else is left to the caller.
    void onPropertyEvent(BoundPropertyEvent event, const QString& propName, const QVariant& value) override;

    // "beamInfo.xml" in the per-user application-data folder.
    static QString DebugCopyPath();

signals:
    void kvdTransferCompleted(bool wasSuccessful, QString errorMessage);

public slots:
    void handleAutoCalculateClicked(bool isOn);
    void handleRecalculateClicked();
    void handleShowSPLMapClicked(bool isOn);
    // True when a transfer started; false when nothing was sent (nothing or no
    // steerable array selected, or a transfer still running).
    bool handleSendToKVDClicked();

private:
    SplAdapter* CurrentSplAdapter() const;
    static void WriteDebugCopy(const QString& text);

    SpeakerTabAdapter& m_adapter;
    std::unique_ptr<KvdFileTransferer> m_transferer;
    SplAdapterSource m_splAdapter;
    QPointer<QWidget> m_warningParent;
};

} // namespace zorvpro
