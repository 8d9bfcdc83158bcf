#include "devserver/DevServer.h"
#include "devserver/CloseSocket.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <string_view>

namespace gr::dev {

namespace {
// How long a closing connection may take to hand its last bytes to a client before it is cut.
constexpr int kCloseGraceMs = 5000;

bool AllOf(std::string_view text, int (*test)(int)) {
    return std::all_of(text.begin(), text.end(),
                       [test](char c) { return test(static_cast<unsigned char>(c)); });
}
} // namespace

DevServer::DevServer(QObject* parent) : QObject(parent) {}

DevServer::~DevServer() {
    // No hooks or signals from here on: the sockets go quietly.
    for (auto& [id, session] : Sessions) {
        session->Socket->disconnect(this);
        session->Socket->abort();
        delete session->Socket;
    }
}

bool DevServer::listen(const std::vector<quint16>& ports) {
    for (const quint16 port : ports) {
        auto* server = new QTcpServer(this);
        server->setMaxPendingConnections(int(kMaxSessions));
        if (!server->listen(QHostAddress::LocalHost, port)) {
            Error = QStringLiteral("port %1: %2").arg(port).arg(server->errorString());
            delete server;
            for (QTcpServer* other : Servers)
                delete other;
            Servers.clear();
            return false;
        }
        connect(server, &QTcpServer::newConnection, this, [this, server] { accept(server); });
        Servers.push_back(server);
    }
    return true;
}

std::vector<quint16> DevServer::ports() const {
    std::vector<quint16> result;
    for (const QTcpServer* server : Servers)
        result.push_back(server->serverPort());
    return result;
}

bool DevServer::setRequiredVersion(const std::string& version) {
    if (version.size() != 2 || !AllOf(version, std::isdigit)) return false;
    Version = version;
    return true;
}

bool DevServer::setFixedKey(std::optional<std::string> key) {
    if (key && (key->size() < gr::kMinCipherKeyLength || key->size() > gr::kMaxCipherKeyLength ||
                !AllOf(*key, std::isalnum))) {
        return false;
    }
    FixedKey = std::move(key);
    return true;
}

std::string DevServer::sessionKey(int sessionId) const {
    const auto it = Sessions.find(sessionId);
    return it == Sessions.end() ? std::string() : it->second->Key;
}

std::string DevServer::sessionAddress(int sessionId) const {
    const auto it = Sessions.find(sessionId);
    if (it == Sessions.end() || !it->second->Socket) return {};
    const QHostAddress peer = it->second->Socket->peerAddress();
    bool isV4 = false;
    const quint32 v4 = peer.toIPv4Address(&isV4);
    return (isV4 ? QHostAddress(v4) : peer).toString().toStdString();
}

void DevServer::accept(QTcpServer* server) {
    while (QTcpSocket* socket = server->nextPendingConnection()) {
        if (Sessions.size() >= kMaxSessions) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        socket->setParent(this);
        socket->setReadBufferSize(kReadBytes);
        std::string key = FixedKey ? *FixedKey : MakeCipherKey(Random);
        const int id = NextSessionId++;
        Sessions.emplace(id, std::make_unique<Session>(Session{socket, key, ClientSplitter(key), {}}));
        connect(socket, &QTcpSocket::readyRead, this, [this, id] { readFrom(id); });
        connect(socket, &QTcpSocket::disconnected, this, [this, id] {
            readFrom(id);
            endSession(id, false);
        });
        send(id, {MakeKeycodeMessage(Version, key)}, false);
        onSessionOpened(id);
        if (hasSession(id)) emit sessionOpened(id);
    }
}

void DevServer::readFrom(int sessionId) {
    for (;;) {
        const auto it = Sessions.find(sessionId);
        if (it == Sessions.end()) return;
        Session& session = *it->second;
        const QByteArray bytes = session.Socket->read(kReadBytes);
        if (bytes.isEmpty()) return;
        const std::vector<std::string> messages =
            session.Splitter.Feed(std::string_view(bytes.constData(), std::size_t(bytes.size())));
        if (session.Splitter.Overflowed()) {
            endSession(sessionId, false); // flooding: no message is that long
            return;
        }
        for (const std::string& message : messages) {
            onMessage(sessionId, message);
            if (!hasSession(sessionId)) return;
            emit messageReceived(sessionId, QByteArray(message.data(), qsizetype(message.size())));
            if (!hasSession(sessionId)) return;
        }
    }
}

bool DevServer::send(int sessionId, const std::vector<std::string>& messages, bool compress) {
    const auto it = Sessions.find(sessionId);
    if (it == Sessions.end()) return false;
    Session& session = *it->second;
    std::string batch;
    try {
        batch = session.Batches.Make(messages, compress);
    } catch (const std::invalid_argument&) {
        return false;
    }
    QTcpSocket* socket = session.Socket;
    socket->write(batch.data(), qint64(batch.size()));
    if (socket->bytesToWrite() > kMaxUnsentBytes) {
        endSession(sessionId, false); // the client does not read
        return false;
    }
    return true;
}

void DevServer::closeSession(int sessionId) {
    endSession(sessionId, true);
}

void DevServer::endSession(int sessionId, bool graceful) {
    const auto it = Sessions.find(sessionId);
    if (it == Sessions.end()) return;
    QTcpSocket* socket = it->second->Socket;
    Sessions.erase(it);
    socket->disconnect(this);
    CloseSocket(socket, graceful, kCloseGraceMs);
    onSessionClosed(sessionId);
    emit sessionClosed(sessionId);
}

} // namespace gr::dev
