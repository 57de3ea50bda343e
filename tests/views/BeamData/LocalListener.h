#pragma once

// Stands in for the DSP-configuration application: a QTcpServer on the loopback interface
// that reads each connection until the sender disconnects. No signals of its own (suites share
// the header): tests wait on ended with QTest::qWaitFor.

#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <functional>

namespace zorvpro::test
{

struct LocalListener
{
    LocalListener()
    {
        QObject::connect(&server, &QTcpServer::newConnection, &server,
                         [this]
                         {
                             while (QTcpSocket* socket = server.nextPendingConnection())
                             {
                                 ++connections;
                                 QObject::connect(socket, &QTcpSocket::readyRead, socket,
                                                  [this, socket]
                                                  {
                                                      received += socket->readAll();
                                                      if (onData)
                                                          onData(*socket);
                                                  });
                                 QObject::connect(socket, &QTcpSocket::disconnected, socket,
                                                  [this, socket]
                                                  {
                                                      received += socket->readAll();
                                                      socket->deleteLater();
                                                      ++ended;
                                                  });
                             }
                         });
    }
    // Port 0 takes a free one.
    bool Listen(quint16 port = 0) { return server.listen(QHostAddress::LocalHost, port); }
    quint16 Port() const { return server.serverPort(); }

    QTcpServer server;
    std::function<void(QTcpSocket&)> onData; // may abort the connection
    QByteArray received;
    int connections = 0;
    int ended = 0; // connections the sender closed
};

} // namespace zorvpro::test
