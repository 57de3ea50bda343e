#pragma once

// Stands in for the DSP-configuration application: a QTcpServer on the
// loopback interface that reads each connection until the sender disconnects.

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QTcpServer>
#include <QTcpSocket>

#include <functional>

namespace zorvpro::test
{

class LocalListener : public QObject
{
    Q_OBJECT

public:
    // port 0 takes a free one.
    bool Listen(quint16 port = 0) { return m_server.listen(QHostAddress::LocalHost, port); }
    void Close() { m_server.close(); }
    quint16 Port() const { return m_server.serverPort(); }

    // Called on each arrival of data with the connection; may abort it.
    std::function<void(QTcpSocket&)> onData;

    LocalListener()
    {
        connect(&m_server, &QTcpServer::newConnection, this,
                [this]()
                {
                    while (QTcpSocket* socket = m_server.nextPendingConnection())
                    {
                        ++connections;
                        connect(socket, &QTcpSocket::readyRead, this,
                                [this, socket]()
                                {
                                    received += socket->readAll();
                                    if (onData)
                                        onData(*socket);
                                });
                        connect(socket, &QTcpSocket::disconnected, this,
                                [this, socket]()
                                {
                                    received += socket->readAll();
                                    socket->deleteLater();
                                    emit connectionEnded(received);
                                });
                    }
                });
    }

    QByteArray received;
    int connections = 0;

signals:
    void connectionEnded(QByteArray received);

private:
    QTcpServer m_server;
};

} // namespace zorvpro::test
