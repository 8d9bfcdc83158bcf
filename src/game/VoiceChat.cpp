#include "game/VoiceChat.h"

#include <QTcpServer>
#include <QTcpSocket>

namespace gr {

VoiceChatSocket::VoiceChatSocket(QObject* parent) : QObject(parent), Server(new QTcpServer(this)) {
    connect(Server, &QTcpServer::newConnection, this, [this] {
        QTcpSocket* socket = Server->nextPendingConnection();
        if (Link) {
            socket->abort(); // one session at a time
            socket->deleteLater();
            return;
        }
        Server->close();
        Adopt(socket);
        emit linkOpened();
    });
}

bool VoiceChatSocket::Listen(quint16 port) {
    Close();
    return Server->listen(QHostAddress::AnyIPv4, port);
}

void VoiceChatSocket::Close() {
    Server->close();
    if (Link) {
        Link->disconnect(this);
        Link->abort();
        Link->deleteLater();
        Link = nullptr;
        emit linkClosed();
    }
}

void VoiceChatSocket::Connect(const QString& host, quint16 port) {
    Close();
    auto* socket = new QTcpSocket(this);
    Adopt(socket);
    connect(socket, &QTcpSocket::connected, this, &VoiceChatSocket::linkOpened);
    socket->connectToHost(host, port);
}

void VoiceChatSocket::Adopt(QTcpSocket* socket) {
    Link = socket;
    connect(socket, &QTcpSocket::disconnected, this, [this] { Close(); });
    connect(socket, &QTcpSocket::errorOccurred, this, [this] { Close(); });
}

bool VoiceChatSocket::IsListening() const { return Server->isListening(); }

bool VoiceChatSocket::IsClosed() const { return !Server->isListening() && !Link; }

} // namespace gr
