#include "data/BeamData/KvdFileTransferer.h"
#include "LocalListener.h"
#include "data/BeamData/SocketErrorText.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTimer>
#include <gtest/gtest.h>

namespace zorvpro
{
namespace
{

using test::LocalListener;

constexpr int kInterval = 40;
constexpr int kDeadline = 10000;

// A free loopback port with nothing listening on it.
quint16 ClosedPort()
{
    QTcpServer probe;
    EXPECT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    return probe.serverPort();
}

KvdFileTransferer* Transferer(QObject* owner, quint16 port, int interval = kInterval)
{
    return new KvdFileTransferer(owner, QHostAddress(QHostAddress::LocalHost), port, interval);
}

bool Ended(const LocalListener& listener)
{
    return QTest::qWaitFor([&] { return listener.ended > 0; }, kDeadline);
}

TEST(KvdFileTransferer, DeliversEveryPayloadAsUtf8AndReportsItsByteCount)
{
    const QString payloads[] = {QString(), QStringLiteral("<?xml version=\"1.0\"?>\n<TQR40V/>\n"),
                                QString::fromUtf8("Gr\xC3\xB6\xC3\x9F"
                                                  "e \xE2\x80\x93 B\xC3\xBChne \xF0\x9F\x8E\xB5"),
                                QString(1 << 20, QChar('x'))};
    for (const QString& payload : payloads)
    {
        SCOPED_TRACE(payload.left(20).toStdString());
        QObject owner;
        LocalListener listener;
        ASSERT_TRUE(listener.Listen());
        auto* sender = Transferer(&owner, listener.Port());
        QSignalSpy done(sender, &KvdFileTransferer::transferCompleted);
        ASSERT_TRUE(sender->sendFile(payload));
        EXPECT_TRUE(sender->isBusy());
        ASSERT_TRUE(done.wait(kDeadline));
        EXPECT_EQ(done.at(0), (QVariantList{true, QString::number(payload.toUtf8().size())}));
        EXPECT_FALSE(sender->isBusy());
        ASSERT_TRUE(Ended(listener));
        EXPECT_EQ(listener.received, payload.toUtf8());
        EXPECT_EQ(listener.connections, 1);
    }
}

TEST(KvdFileTransferer, RefusedAfterThreeChecksWithTheSocketsText)
{
    QObject owner;
    auto* sender = Transferer(&owner, ClosedPort());
    QSignalSpy done(sender, &KvdFileTransferer::transferCompleted);
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(sender->sendFile("anything"));
    ASSERT_TRUE(done.wait(kDeadline));
    EXPECT_GE(clock.elapsed(), 3 * kInterval - 5);
    EXPECT_EQ(done.at(0), (QVariantList{false, QString("connection was refused")}));
    EXPECT_FALSE(sender->isBusy());
    EXPECT_FALSE(done.wait(3 * kInterval));

    EXPECT_EQ(socketErrorText(5), "socket did not receive data from the distant end in an expected time");
    EXPECT_EQ(socketErrorText(11), "socket unable to finish requested operation");
    EXPECT_EQ(socketErrorText(6), "unknown socket error encountered '6'");
}

TEST(KvdFileTransferer, ListenerComingUpBetweenChecksGetsTheText)
{
    // Checks far enough apart that the second attempt has connected by the third check.
    constexpr int interval = 250;
    const quint16 port = ClosedPort();
    QObject owner;
    auto* sender = Transferer(&owner, port, interval);
    LocalListener listener;
    QSignalSpy done(sender, &KvdFileTransferer::transferCompleted);
    ASSERT_TRUE(sender->sendFile("late"));
    // The first attempt is refused; the listener comes up before the second check.
    QTimer::singleShot(interval + interval / 2, &owner, [&] { ASSERT_TRUE(listener.Listen(port)); });
    ASSERT_TRUE(done.wait(kDeadline));
    EXPECT_TRUE(done.at(0).at(0).toBool()) << done.at(0).at(1).toString().toStdString();
    ASSERT_TRUE(Ended(listener));
    EXPECT_EQ(listener.received, QByteArray("late"));
}

TEST(KvdFileTransferer, SendWhileBusyIsDroppedAndTheSignalComesBeforeBusyClears)
{
    QObject owner;
    LocalListener listener;
    ASSERT_TRUE(listener.Listen());
    auto* sender = Transferer(&owner, listener.Port());
    QSignalSpy done(sender, &KvdFileTransferer::transferCompleted);
    bool resentFromSlot = true;
    QObject::connect(sender, &KvdFileTransferer::transferCompleted, &owner,
                     [&] { resentFromSlot = sender->sendFile("from the slot"); });
    ASSERT_TRUE(sender->sendFile("first"));
    EXPECT_FALSE(sender->sendFile("second"));
    ASSERT_TRUE(done.wait(kDeadline));
    EXPECT_FALSE(resentFromSlot);
    ASSERT_TRUE(Ended(listener));
    EXPECT_EQ(listener.received, QByteArray("first"));
    EXPECT_FALSE(done.wait(4 * kInterval));
    EXPECT_EQ(listener.connections, 1);
}

TEST(KvdFileTransferer, ReceiverClosingEarlyIsAFailureNotASuccess)
{
    QObject owner;
    LocalListener listener;
    ASSERT_TRUE(listener.Listen());
    listener.onData = [](QTcpSocket& socket) { socket.abort(); };
    auto* sender = Transferer(&owner, listener.Port());
    QSignalSpy done(sender, &KvdFileTransferer::transferCompleted);
    // Far more than the loopback buffers hold, so bytes still wait when the receiver goes.
    const QString payload(32 << 20, QChar('y'));
    ASSERT_TRUE(sender->sendFile(payload));
    ASSERT_TRUE(done.wait(kDeadline));
    EXPECT_EQ(done.at(0), (QVariantList{false, QString("remote host closed the connection")}));
    EXPECT_LT(listener.received.size(), payload.size());
}

TEST(KvdFileTransferer, DefaultsReachTheLocalApplicationPort)
{
    LocalListener listener;
    if (!listener.Listen(KvdFileTransferer::DefaultPort))
        GTEST_SKIP() << "port 10003 is taken on this machine";
    KvdFileTransferer sender;
    QSignalSpy done(&sender, &KvdFileTransferer::transferCompleted);
    ASSERT_TRUE(sender.sendFile("<TQR40V/>"));
    // Nothing happens before the first check, a second after the send.
    EXPECT_FALSE(done.wait(500));
    ASSERT_TRUE(done.wait(kDeadline));
    EXPECT_EQ(done.at(0), (QVariantList{true, QString("9")}));
}

} // namespace
} // namespace zorvpro
