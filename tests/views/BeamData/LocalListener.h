#pragma once

// Stands in for the DSP-configuration application: a QTcpServer on the
// loopback interface that reads each connection until the sender disconnects.

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <functional>

namespace zorvpro::test
{

// No signals of its own (the header is shared between suites): tests wait
// for ended with QTest::qWaitFor.
class LocalListener
{
public:
    // port 0 takes a free one.
    bool Listen(quint16 port = 0) { return m_server.listen(QHostAddress::LocalHost, port); }
    void Close() { m_server.close(); }
    quint16 Port() const { return m_server.serverPort(); }

    // Called on each arrival of data with the connection; may abort it.
    std::function<void(QTcpSocket&)> onData;

    LocalListener()
    {
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server,
                         [this]()
                         {
                             while (QTcpSocket* socket = m_server.nextPendingConnection())
                             {
                                 ++connections;
                                 QObject::connect(socket, &QTcpSocket::readyRead, socket,
                                                  [this, socket]()
                                                  {
                                                      received += socket->readAll();
                                                      if (onData)
                                                          onData(*socket);
                                                  });
                                 QObject::connect(socket, &QTcpSocket::disconnected, socket,
                                                  [this, socket]()
                                                  {
                                                      received += socket->readAll();
                                                      socket->deleteLater();
                                                      ++ended;
                                                  });
                             }
                         });
    }

    QByteArray received;
    int connections = 0;
    int ended = 0; // connections the sender closed

private:
    QTcpServer m_server;
};

} // namespace zorvpro::test
