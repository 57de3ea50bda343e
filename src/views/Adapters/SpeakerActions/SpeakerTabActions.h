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

// What the speaker tab does for the buttons and switches that edit no single
// value: automatic calculation, recalculation, showing the coverage maps and
// sending the first selected array's beam data to the DSP-configuration
// application. The tab's adapter supplies the selection, its SPL adapter, the
// side-view refresh and the debug flag; until it does, nothing is selected,
// there is no SPL adapter and no debug copy is written.
class SpeakerTabActions : public QObject, public IBindablePropertyEventListener
{
    Q_OBJECT

public:
    // The nodes of the selected entities, in the order of the entities' ids.
    using SelectionSource = std::function<std::vector<NodePtr>()>;
    using SplAdapterSource = std::function<SplAdapter*()>;

    // Takes the transferer (a default one when none is given).
    explicit SpeakerTabActions(QObject* parent = nullptr,
                               std::unique_ptr<KvdFileTransferer> transferer = nullptr);
    ~SpeakerTabActions() override;

    void SetSelectionSource(SelectionSource source) { m_selection = std::move(source); }
    void SetSplAdapterSource(SplAdapterSource source) { m_splAdapter = std::move(source); }
    void SetSideViewUpdate(std::function<void()> update) { m_updateSideView = std::move(update); }
    void SetDebugFlag(std::function<bool()> flag) { m_debug = std::move(flag); }
    // The window the warning boxes belong to.
    void SetWarningParent(QWidget* parent) { m_warningParent = parent; }

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

    std::unique_ptr<KvdFileTransferer> m_transferer;
    SelectionSource m_selection;
    SplAdapterSource m_splAdapter;
    std::function<void()> m_updateSideView;
    std::function<bool()> m_debug;
    QPointer<QWidget> m_warningParent;
};

} // namespace zorvpro
