// The beam-data document of a three-module, two-beam array, and a 1 MiB
// payload sent to a listener on the loopback interface.
#include "acoustics/data/LoudspeakerLibrary.h"
#include "data/BeamData/BeamInfoXml.h"
#include "data/BeamData/KvdFileTransferer.h"
#include "data/Nodes/BridgeNodeTypes.h"
#include "data/Nodes/LoudspeakerNode.h"
#include "tools/datagen/Models.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTcpServer>
#include <QTcpSocket>
#include <benchmark/benchmark.h>

using namespace zorvpro;

namespace
{

BeamSpeakerClusterNodePtr ThreeModuleTwoBeamArray()
{
    static bool loaded = false;
    if (!loaded)
    {
        const juce::File folder = juce::File::getSpecialLocation(juce::File::tempDirectory)
                                      .getChildFile("zorv-beamdata-bench-" + juce::Uuid().toString());
        folder.createDirectory();
        datagen::WriteDataSet(folder, datagen::MakeArrayDataSet());
        acoustics::LoudspeakerLibrary::instance().loadLoudspeakerFiles(
            folder.getFullPathName().toStdString());
        folder.deleteRecursively();
        loaded = true;
    }
    auto node = BeamSpeakerClusterNode::Create(acoustics::createLoudspeakerCluster());
    node->SetName("bench array");
    for (int i = 0; i < 3; ++i)
        node->AddChild(CreateLoudspeakerNode(datagen::kArrayModelName));
    node->SetBeamCount(2);
    node->SetBeamSteering(0, -0.087);
    node->SetBeamSteering(1, 0.17);
    node->SetBeamSmoothing(0, true);
    return node;
}

void BM_WriteBeamInfoXml(benchmark::State& state)
{
    const auto node = ThreeModuleTwoBeamArray();
    for (auto _ : state)
    {
        QString text;
        writeBeamInfoXml(text, node);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_WriteBeamInfoXml)->Unit(benchmark::kMicrosecond);

// Measured from the send to the listener's last byte; the connection checks
// run back to back (interval 0), so the time also holds the loopback connect.
void BM_Send1MiB(benchmark::State& state)
{
    const QString payload(1 << 20, QChar('x'));
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost, 0))
    {
        state.SkipWithError("no loopback listener");
        return;
    }
    KvdFileTransferer sender(nullptr, QHostAddress(QHostAddress::LocalHost), server.serverPort(), 0);
    qint64 received = 0;
    QEventLoop loop;
    QObject::connect(&server, &QTcpServer::newConnection, &loop,
                     [&]()
                     {
                         QTcpSocket* socket = server.nextPendingConnection();
                         QObject::connect(socket, &QTcpSocket::readyRead, &loop,
                                          [&, socket]()
                                          {
                                              received += socket->readAll().size();
                                              if (received == (1 << 20))
                                                  loop.quit();
                                          });
                         QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
                     });
    for (auto _ : state)
    {
        received = 0;
        QElapsedTimer clock;
        clock.start();
        sender.sendFile(payload);
        loop.exec();
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) * 1e-9);
        // Let the sender report and go idle before the next round.
        while (sender.isBusy())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}
BENCHMARK(BM_Send1MiB)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    RegisterBridgeNodeTypes();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
