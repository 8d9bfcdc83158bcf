#include "devserver/WebHost.h"
#include "devserver/CloseSocket.h"
#include "devserver/Music.h"
#include "devserver/Skins.h"
#include "devserver/Sounds.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace gr::dev {

namespace {

QByteArray ReasonOf(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 400:
        return "Bad Request";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 431:
        return "Request Header Fields Too Large";
    case 505:
        return "HTTP Version Not Supported";
    default:
        return "Internal Server Error";
    }
}

QByteArray Page(int status) {
    return QByteArray::number(status) + ' ' + ReasonOf(status) + '\n';
}

// Text from a request as the log shows it: printable ASCII only, cut to a line's worth.
QString Loggable(QByteArrayView text) {
    QString shown;
    for (const char c : text.first(std::min<qsizetype>(text.size(), 200)))
        shown += (c >= 0x20 && c < 0x7f) ? QChar::fromLatin1(c) : QChar(u'?');
    return shown;
}

// The value of a header (name compared without case), or an empty view.
QByteArray HeaderValue(const QList<QByteArray>& lines, QByteArrayView name) {
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        const qsizetype colon = line.indexOf(':');
        if (colon < 0) continue;
        if (line.left(colon).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return line.mid(colon + 1).trimmed();
    }
    return {};
}

// The name between `prefix` and `suffix` in the path when it is one of `names`, or an empty view.
template <std::size_t N>
std::string_view NameIn(QByteArrayView path, QByteArrayView prefix, QByteArrayView suffix,
                        const std::array<std::string_view, N>& names) {
    if (!path.startsWith(prefix) || !path.endsWith(suffix) || path.size() < prefix.size() + suffix.size())
        return {};
    const QByteArrayView name = path.sliced(prefix.size(), path.size() - prefix.size() - suffix.size());
    for (const std::string_view known : names) {
        if (name == QByteArrayView(known.data(), qsizetype(known.size()))) return known;
    }
    return {};
}

} // namespace

WebHost::WebHost(QObject* parent) : QObject(parent) {}

WebHost::~WebHost() {
    for (auto& [socket, connection] : Connections) {
        socket->disconnect(this);
        socket->abort();
        delete socket;
    }
}

bool WebHost::listen(quint16 port) {
    auto* server = new QTcpServer(this);
    if (!server->listen(QHostAddress::LocalHost, port)) {
        Error = QStringLiteral("web port %1: %2").arg(port).arg(server->errorString());
        delete server;
        return false;
    }
    delete Server;
    Server = server;
    connect(Server, &QTcpServer::newConnection, this, &WebHost::accept);
    return true;
}

quint16 WebHost::port() const {
    return Server ? Server->serverPort() : 0;
}

std::optional<int> WebHost::PictureNumber(QByteArrayView path) {
    constexpr QByteArrayView kPrefix = "/grpics/";
    constexpr QByteArrayView kSuffix = ".jpg";
    if (!path.startsWith(kPrefix) || !path.endsWith(kSuffix)) return std::nullopt;
    const QByteArrayView digits = path.sliced(kPrefix.size(), path.size() - kPrefix.size() - kSuffix.size());
    if (digits.size() != 4 || digits.front() == '0') return std::nullopt;
    int number = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        number = number * 10 + (c - '0');
    }
    if (number < kFirstPicture || number > kLastPicture) return std::nullopt;
    return number;
}

std::string_view WebHost::SoundName(QByteArrayView path) {
    return NameIn(path, "/grsounds/", ".wav", kSoundNames);
}

std::string_view WebHost::MusicName(QByteArrayView path) {
    return NameIn(path, "/grmusic/", ".mid", kMusicNames);
}

std::string_view WebHost::SkinFileName(QByteArrayView path) {
    return NameIn(path, "/grskins/", ".skn", kSkinNames);
}

std::string_view WebHost::SkinPictureName(QByteArrayView path) {
    return NameIn(path, "/grskins/", ".jpg", kSkinNames);
}

void WebHost::accept() {
    while (QTcpSocket* socket = Server->nextPendingConnection()) {
        if (Connections.size() >= kMaxWebConnections) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        socket->setParent(this);
        socket->setReadBufferSize(kMaxRequestBytes);
        auto* idle = new QTimer(socket);
        idle->setSingleShot(true);
        idle->start(kWebIdleMs);
        Connections.emplace(socket, Connection{socket, idle, {}});
        connect(idle, &QTimer::timeout, this, [this, socket] { drop(socket, false); });
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readFrom(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] { drop(socket, false); });
    }
}

void WebHost::readFrom(QTcpSocket* socket) {
    for (;;) {
        const auto it = Connections.find(socket);
        if (it == Connections.end()) return;
        Connection& connection = it->second;
        connection.Idle->start(kWebIdleMs);
        const QByteArray bytes = socket->read(kMaxRequestBytes);
        if (bytes.isEmpty()) break;
        connection.Pending += bytes;
        // Answer every complete request in order (a client may send the next before the first answer).
        while (answerOne(socket, connection)) {
            if (!Connections.count(socket)) return;
        }
        if (!Connections.count(socket)) return;
    }
}

bool WebHost::answerOne(QTcpSocket* socket, Connection& connection) {
    QByteArray& pending = connection.Pending;
    qsizetype end = pending.indexOf("\r\n\r\n");
    qsizetype endLength = 4;
    const qsizetype bare = pending.indexOf("\n\n");
    if (bare >= 0 && (end < 0 || bare < end)) {
        end = bare;
        endLength = 2;
    }
    if (end < 0) {
        if (pending.size() > kMaxRequestBytes) {
            respond(socket, "HTTP/1.1", 431, "text/plain", Page(431), true, false);
            emit served({QStringLiteral("-"), QStringLiteral("(request too long)"), 431, Page(431).size()});
        }
        return false;
    }
    const QByteArray head = pending.left(end);
    pending.remove(0, end + endLength);

    QList<QByteArray> lines = head.split('\n');
    for (QByteArray& line : lines) {
        if (line.endsWith('\r')) line.chop(1);
    }
    const QList<QByteArray> parts = lines.value(0).split(' ');
    const bool wellFormed = parts.size() == 3 && !parts[0].isEmpty() && parts[1].startsWith('/');
    const QByteArray version = wellFormed ? parts[2] : QByteArray("HTTP/1.1");
    WebRequest logged{wellFormed ? Loggable(parts[0]) : QStringLiteral("-"),
                      Loggable(wellFormed ? parts[1] : lines.value(0)), 0, 0};
    auto answer = [&](int status, const QByteArray& type, const QByteArray& body, bool withBody,
                      bool keepAlive) {
        respond(socket, version, status, type, body, withBody, keepAlive);
        logged.Status = status;
        logged.BodyBytes = withBody ? body.size() : 0;
        emit served(logged);
        return keepAlive && Connections.count(socket) != 0;
    };
    if (!wellFormed || !version.startsWith("HTTP/")) return answer(400, "text/plain", Page(400), true, false);
    if (version != "HTTP/1.0" && version != "HTTP/1.1")
        return answer(505, "text/plain", Page(505), true, false);
    // Requests here carry no body; one that announces a body cannot be told from the next request.
    if (!HeaderValue(lines, "Transfer-Encoding").isEmpty() ||
        HeaderValue(lines, "Content-Length").toLongLong() != 0) {
        return answer(400, "text/plain", Page(400), true, false);
    }
    const QByteArray connectionHeader = HeaderValue(lines, "Connection").toLower();
    const bool keepAlive =
        version == "HTTP/1.1" ? !connectionHeader.contains("close") : connectionHeader.contains("keep-alive");
    const QByteArray& method = parts[0];
    const bool isHead = method == "HEAD";
    if (method != "GET" && !isHead) return answer(405, "text/plain", Page(405), true, keepAlive);

    QByteArray path = parts[1];
    const qsizetype query = path.indexOf('?');
    if (query >= 0) path.truncate(query);
    if (const std::optional<int> number = PictureNumber(path)) {
        const QByteArray& picture = Pictures.Picture(*number);
        if (picture.isEmpty()) return answer(500, "text/plain", Page(500), !isHead, keepAlive);
        return answer(200, "image/jpeg", picture, !isHead, keepAlive);
    }
    const std::string_view sound = SoundName(path);
    const std::string_view music = sound.empty() ? MusicName(path) : std::string_view();
    if (!sound.empty() || !music.empty()) {
        QByteArray& made = Audio[path.toStdString()];
        if (made.isEmpty())
            made = QByteArray::fromStdString(sound.empty() ? MakeMusic(music) : MakeSound(sound));
        return answer(200, sound.empty() ? "audio/midi" : "audio/wav", made, !isHead, keepAlive);
    }
    const std::string_view skinFile = SkinFileName(path);
    const std::string_view skinPicture = skinFile.empty() ? SkinPictureName(path) : std::string_view();
    if (path == "/grskins/skins.ini" || !skinFile.empty() || !skinPicture.empty()) {
        QByteArray& made = Skins[path.toStdString()];
        if (made.isEmpty()) {
            made = !skinPicture.empty() ? MakeSkinPicture(skinPicture)
                   : !skinFile.empty()  ? QByteArray::fromStdString(MakeSkinFile(skinFile))
                                        : QByteArray::fromStdString(MakeSkinList());
        }
        if (made.isEmpty()) return answer(500, "text/plain", Page(500), !isHead, keepAlive);
        return answer(200, skinPicture.empty() ? "text/plain; charset=windows-1252" : "image/jpeg", made,
                      !isHead, keepAlive);
    }
    return answer(404, "text/plain", Page(404), !isHead, keepAlive);
}

void WebHost::respond(QTcpSocket* socket, const QByteArray& version, int status, const QByteArray& type,
                      const QByteArray& body, bool withBody, bool keepAlive) {
    QByteArray reply = version + ' ' + QByteArray::number(status) + ' ' + ReasonOf(status) + "\r\n";
    reply += "Content-Type: " + type + "\r\n";
    reply += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    reply += keepAlive ? "Connection: keep-alive\r\n" : "Connection: close\r\n";
    reply += "\r\n";
    if (withBody) reply += body;
    socket->write(reply);
    if (!keepAlive) {
        drop(socket, true);
    } else if (socket->bytesToWrite() > kMaxUnsentWebBytes) {
        drop(socket, false); // asks and asks but does not read
    }
}

void WebHost::drop(QTcpSocket* socket, bool graceful) {
    if (Connections.erase(socket) == 0) return;
    socket->disconnect(this);
    CloseSocket(socket, graceful, kWebIdleMs);
}

} // namespace gr::dev
