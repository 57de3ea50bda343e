#pragma once

// Stands in for the DSP application: one listener on its port that keeps what one connection sent.

#include "ControlTable.h"

#include <QByteArray>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

namespace zorvpro::acceptance
{
constexpr quint16 kDesignerPort = 10003;

struct DesignerListener
{
    QTcpServer server;
    QByteArray received;
    bool closed = false;

    // Listens and keeps what arrives; false when the port stays busy (another suite may hold it
    // for a moment).
    bool Listen()
    {
        if (!QTest::qWaitFor([this] { return server.listen(QHostAddress::LocalHost, kDesignerPort); },
                             kDeadline))
            return false;
        QObject::connect(&server, &QTcpServer::newConnection,
                         [this]
                         {
                             QTcpSocket* socket = server.nextPendingConnection();
                             QObject::connect(socket, &QTcpSocket::readyRead,
                                              [this, socket] { received += socket->readAll(); });
                             QObject::connect(socket, &QTcpSocket::disconnected,
                                              [this, socket]
                                              {
                                                  received += socket->readAll();
                                                  closed = true;
                                              });
                         });
        return true;
    }
};
} // namespace zorvpro::acceptance
