#pragma once
// The local web host: plain HTTP/1.0 and HTTP/1.1 on loopback, enough for the client's downloads. It serves
// "/grpics/N.jpg" for every picture number N from 1000 to 4000 (made by PictureCache), the sound effects as
// "/grsounds/<name>.wav", the music as "/grmusic/<name>.mid" and the skins as "/grskins/skins.ini",
// "/grskins/<name>.skn" and "/grskins/<name>.jpg" (all made in code), and answers 404 to anything else. GET
// and HEAD only; keep-alive as the request's version and "Connection" header ask.
#include <QByteArray>
#include <QObject>
#include <QString>

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "devserver/Pictures.h"

class QTcpServer;
class QTcpSocket;
class QTimer;

namespace gr::dev {

// The client's deployment default for its web host is 127.0.0.1:8080.
constexpr quint16 kDefaultWebPort = 8080;
// Connections served at once; more are closed on arrival.
constexpr std::size_t kMaxWebConnections = 64;
// Bytes a request line and its headers may take; a longer request is answered 431 and closed.
constexpr qsizetype kMaxRequestBytes = 8 * 1024;
// Answers queued for a client that does not read; beyond this the connection is closed.
constexpr qint64 kMaxUnsentWebBytes = 4 * 1024 * 1024;
// A connection that sends nothing for this long is closed.
constexpr int kWebIdleMs = 30000;

// One answered request, for the log.
struct WebRequest {
    QString Method;
    QString Target;
    int Status = 0;
    qsizetype BodyBytes = 0;
};

class WebHost : public QObject {
    Q_OBJECT

  public:
    explicit WebHost(QObject* parent = nullptr);
    ~WebHost() override;

    // Listens on 127.0.0.1 (0: any free port). On failure errorString() tells why.
    bool listen(quint16 port = kDefaultWebPort);
    quint16 port() const;
    QString errorString() const { return Error; }
    std::size_t connectionCount() const { return Connections.size(); }

    // The picture number that a request path names ("/grpics/1234.jpg"), or nullopt: digits only, no
    // leading zero, 1000 to 4000.
    static std::optional<int> PictureNumber(QByteArrayView path);
    // The effect ("/grsounds/door.wav") or piece ("/grmusic/town.mid") that a request path names, or an empty
    // view: one of the known names spelled exactly, so nothing else (no "..", no escapes) ever matches.
    static std::string_view SoundName(QByteArrayView path);
    static std::string_view MusicName(QByteArrayView path);
    // The skin whose file ("/grskins/dusk.skn") or picture ("/grskins/dusk.jpg") a request path names, or an
    // empty view; spelled exactly as SoundName asks.
    static std::string_view SkinFileName(QByteArrayView path);
    static std::string_view SkinPictureName(QByteArrayView path);

  signals:
    void served(const WebRequest& request);

  private:
    struct Connection {
        QTcpSocket* Socket = nullptr;
        QTimer* Idle = nullptr;
        QByteArray Pending; // received, not yet answered
    };

    void accept();
    void readFrom(QTcpSocket* socket);
    // Answers the first complete request of the connection's pending bytes; false when none is complete
    // yet or the connection was closed.
    bool answerOne(QTcpSocket* socket, Connection& connection);
    void respond(QTcpSocket* socket, const QByteArray& version, int status, const QByteArray& type,
                 const QByteArray& body, bool withBody, bool keepAlive);
    void drop(QTcpSocket* socket, bool graceful);

    QTcpServer* Server = nullptr;
    std::map<QTcpSocket*, Connection> Connections;
    PictureCache Pictures;
    std::map<std::string, QByteArray> Audio; // effects and pieces made so far, by request path
    std::map<std::string, QByteArray> Skins; // skin files, pictures and the list made so far, by request path
    QString Error;
};

} // namespace gr::dev
