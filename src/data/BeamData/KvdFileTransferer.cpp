#include "data/BeamData/KvdFileTransferer.h"

#include "data/BeamData/SocketErrorText.h"

#include <QTimer>

namespace zorvpro
{

KvdFileTransferer::KvdFileTransferer(QObject* parent, const QHostAddress& host, uint16_t port,
                                     int checkIntervalMs)
    : QObject(parent), m_host(host), m_port(port), m_checkIntervalMs(checkIntervalMs)
{
    m_socket.setSocketOption(QAbstractSocket::LowDelayOption, 0);
    connect(&m_socket, &QAbstractSocket::bytesWritten, this, [this](qint64) { OnBytesWritten(); });
    connect(&m_socket, &QAbstractSocket::errorOccurred, this,
            [this](QAbstractSocket::SocketError error) { OnSocketError(error); });
}

KvdFileTransferer::~KvdFileTransferer()
{
    // Nothing is reported from here on.
    QObject::disconnect(&m_socket, nullptr, this, nullptr);
    m_socket.disconnectFromHost();
    m_payload.clear();
    m_payload.squeeze();
}

bool KvdFileTransferer::sendFile(const QString& payload)
{
    if (m_busy)
        return false;
    m_busy = true;
    m_sending = false;
    m_written = 0;
    m_triesLeft = Checks;
    m_attemptError = QAbstractSocket::UnknownSocketError;
    Connect();
    ScheduleCheck();
    m_payload = payload.toUtf8();
    return true;
}

void KvdFileTransferer::Connect()
{
    if (m_socket.state() != QAbstractSocket::UnconnectedState)
        m_socket.abort();
    m_socket.connectToHost(m_host, m_port, QIODevice::ReadWrite);
}

void KvdFileTransferer::ScheduleCheck()
{
    const uint64_t transfer = m_transfer;
    QTimer::singleShot(m_checkIntervalMs, this,
                       [this, transfer]()
                       {
                           if (transfer == m_transfer)
                               doTransfer();
                       });
}

void KvdFileTransferer::doTransfer()
{
    if (!m_busy)
        return;

    if (m_sending)
    {
        // The bytes are still leaving: give up only when none left for three checks.
        const int64_t pending = m_socket.bytesToWrite();
        if (pending < m_pendingAtCheck)
            m_triesLeft = Checks;
        else
            --m_triesLeft;
        m_pendingAtCheck = pending;
        if (m_triesLeft < 1)
            Finish(false, socketErrorText(QAbstractSocket::SocketTimeoutError));
        else
            ScheduleCheck();
        return;
    }

    if (m_socket.state() == QAbstractSocket::ConnectedState)
    {
        int64_t offset = 0;
        const int64_t size = m_payload.size();
        while (offset < size)
        {
            const qint64 written = m_socket.write(m_payload.constData() + offset, size - offset);
            if (written < 0)
            {
                Finish(false, socketErrorText(m_socket.error()));
                return;
            }
            offset += written;
        }
        m_written = offset;
        m_sending = true;
        m_triesLeft = Checks;
        m_pendingAtCheck = m_socket.bytesToWrite();
        if (m_pendingAtCheck == 0)
            Finish(true, QString::number(m_written));
        else
            ScheduleCheck();
        return;
    }

    --m_triesLeft;
    if (m_triesLeft >= 1)
    {
        // A refused attempt leaves the socket unconnected: try again, so that a
        // listener coming up meanwhile is reached.
        if (m_socket.state() == QAbstractSocket::UnconnectedState)
            Connect();
        ScheduleCheck();
        return;
    }
    QAbstractSocket::SocketError error = m_socket.error();
    if (error == QAbstractSocket::UnknownSocketError)
    {
        // Still trying: say why the earlier attempts failed, or that nothing answered.
        error = m_attemptError != QAbstractSocket::UnknownSocketError ? m_attemptError
                                                                      : QAbstractSocket::SocketTimeoutError;
    }
    Finish(false, socketErrorText(error));
}

void KvdFileTransferer::OnBytesWritten()
{
    if (m_sending && m_socket.bytesToWrite() == 0)
        Finish(true, QString::number(m_written));
}

void KvdFileTransferer::OnSocketError(QAbstractSocket::SocketError error)
{
    // While connecting, the checks look at the socket; once sending, any error
    // means the text did not arrive whole.
    if (m_sending)
        Finish(false, socketErrorText(error));
    else if (m_busy)
        m_attemptError = error;
}

void KvdFileTransferer::Finish(bool wasSuccessful, const QString& message)
{
    m_sending = false;
    m_pendingAtCheck = -1;
    ++m_transfer;
    if (wasSuccessful)
        m_socket.disconnectFromHost();
    else
        m_socket.abort();
    m_triesLeft = Checks;
    m_payload.clear();
    emit transferCompleted(wasSuccessful, message);
    m_busy = false;
}

} // namespace zorvpro
