#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QTcpSocket>

#include <cstdint>

namespace zorvpro
{

// Sends one text, as UTF-8 with no framing, to the DSP-configuration
// application listening on the local machine, and reports the outcome through
// transferCompleted: on success the number of bytes sent, in decimal, else the
// error text. One transfer at a time; a send while one runs is dropped.
//
// The connection is checked every interval (three checks); a check that finds
// the socket unconnected starts a new attempt, so a listener that comes up in
// that time still gets the text. Success is reported only once every byte has
// left the socket's buffer.
class KvdFileTransferer : public QObject
{
    Q_OBJECT

public:
    static constexpr uint16_t DefaultPort = 10003;
    static constexpr int DefaultCheckIntervalMs = 1000;
    static constexpr int32_t Checks = 3;

    explicit KvdFileTransferer(QObject* parent = nullptr,
                               const QHostAddress& host = QHostAddress(QHostAddress::LocalHost),
                               uint16_t port = DefaultPort, int checkIntervalMs = DefaultCheckIntervalMs);
    ~KvdFileTransferer() override;

    // Starts a transfer; returns false (and drops the payload) while one runs.
    bool sendFile(const QString& payload);
    bool isBusy() const { return m_busy; }

signals:
    void transferCompleted(bool wasSuccessful, QString errorMessage);

public slots:
    // The connection check, run by a single-shot timer.
    void doTransfer();

private:
    void Connect();
    void ScheduleCheck();
    void OnBytesWritten();
    void OnSocketError(QAbstractSocket::SocketError error);
    void Finish(bool wasSuccessful, const QString& message);

    QTcpSocket m_socket;
    QByteArray m_payload;
    bool m_busy = false;
    bool m_sending = false; // the payload is in the socket, waiting to leave it
    int32_t m_triesLeft = Checks;
    int64_t m_written = 0;
    int64_t m_pendingAtCheck = -1;
    // The last error of this transfer's connection attempts: a new attempt
    // clears the socket's own.
    QAbstractSocket::SocketError m_attemptError = QAbstractSocket::UnknownSocketError;
    uint64_t m_transfer = 0; // tells the checks of one transfer from a later one's

    QHostAddress m_host;
    uint16_t m_port;
    int m_checkIntervalMs;
};

} // namespace zorvpro
