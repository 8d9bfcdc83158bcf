#pragma once
// Closing a connection of the local server or its web host. Graceful: what was written still goes out,
// then the socket closes; a peer that never lets go is cut after graceMs. Otherwise it is cut at once.
#include <QAbstractSocket>
#include <QTimer>

namespace gr::dev {

inline void CloseSocket(QAbstractSocket* socket, bool graceful, int graceMs) {
    if (graceful && socket->state() == QAbstractSocket::ConnectedState) {
        QObject::connect(socket, &QAbstractSocket::disconnected, socket, &QObject::deleteLater);
        QTimer::singleShot(graceMs, socket, [socket] {
            socket->abort();
            socket->deleteLater();
        });
        socket->disconnectFromHost();
    } else {
        socket->abort();
        socket->deleteLater();
    }
}

} // namespace gr::dev
