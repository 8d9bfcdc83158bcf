#pragma once
// The local server's connections: listens on loopback, hands each client its cipher key, splits and
// deciphers what clients send, and sends batches back. One thread: Qt's event loop delivers every socket
// event. Game behaviour (accounts, characters, the world) goes into a subclass through the virtual hooks,
// or into whatever listens to the signals.
#include <QByteArray>
#include <QObject>
#include <QString>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/Random.h"
#include "devserver/ServerProtocol.h"

class QTcpServer;
class QTcpSocket;

namespace gr::dev {

// Ports the client tries: the primary and the alternate.
constexpr quint16 kDefaultPort = 20000;
constexpr quint16 kDefaultAltPort = 20001;
// Client version that "KEYCODE" asks for.
constexpr std::string_view kDefaultClientVersion = "59";
// Connections served at once; more are closed on arrival so that a client opening connections in a loop
// cannot exhaust the server.
constexpr std::size_t kMaxSessions = 256;
// Bytes read from a socket at a time: bounds Qt's read buffer and what one Feed call gets.
constexpr qint64 kReadBytes = 64 * 1024;
// Bytes queued for a client that does not read: beyond this the session is closed instead of buffering
// without end.
constexpr qint64 kMaxUnsentBytes = 16 * 1024 * 1024;

class DevServer : public QObject {
    Q_OBJECT

  public:
    explicit DevServer(QObject* parent = nullptr);
    ~DevServer() override;

    // Listens on 127.0.0.1 on each port (0: any free port). On failure nothing listens and errorString()
    // tells why.
    bool listen(const std::vector<quint16>& ports = {kDefaultPort, kDefaultAltPort});
    // The ports actually listened on, in the order given to listen().
    std::vector<quint16> ports() const;
    QString errorString() const { return Error; }

    // The two digits that "KEYCODE" asks for. Returns false (keeping the old value) unless two digits.
    bool setRequiredVersion(const std::string& version);
    // A key given to every new connection instead of a random one (tests); nullopt for random keys. Returns
    // false (keeping the old setting) unless 2 to 32 letters and digits.
    bool setFixedKey(std::optional<std::string> key);

    // Sends the messages as one batch. False when the session does not exist or a message cannot be
    // framed (nothing is sent then).
    bool send(int sessionId, const std::vector<std::string>& messages, bool compress);
    // Closes the connection after what was sent has gone out; sessionClosed follows at once.
    void closeSession(int sessionId);
    bool hasSession(int sessionId) const { return Sessions.count(sessionId) != 0; }
    std::size_t sessionCount() const { return Sessions.size(); }
    // The cipher key of a session ("" when there is none).
    std::string sessionKey(int sessionId) const;
    // The address the session's client connects from ("" when there is no such session).
    std::string sessionAddress(int sessionId) const;

  signals:
    void sessionOpened(int sessionId);
    // A deciphered message; the bytes are wire bytes (one per character, Windows-1252).
    void messageReceived(int sessionId, QByteArray message);
    void sessionClosed(int sessionId);

  protected:
    // Hooks for game behaviour; each runs before the matching signal. The session may be closed from them.
    virtual void onSessionOpened(int sessionId) { (void)sessionId; }
    virtual void onMessage(int sessionId, const std::string& message) {
        (void)sessionId;
        (void)message;
    }
    virtual void onSessionClosed(int sessionId) { (void)sessionId; }

  private:
    struct Session {
        QTcpSocket* Socket = nullptr;
        std::string Key;
        ClientSplitter Splitter;
        BatchMaker Batches;
    };

    void accept(QTcpServer* server);
    void readFrom(int sessionId);
    // Forgets the session and lets its socket go; `graceful` lets queued bytes go out first.
    void endSession(int sessionId, bool graceful);

    std::vector<QTcpServer*> Servers;
    std::map<int, std::unique_ptr<Session>> Sessions;
    int NextSessionId = 1;
    std::string Version{kDefaultClientVersion};
    std::optional<std::string> FixedKey;
    gr::ClockSeededRandom Random;
    QString Error;
};

} // namespace gr::dev
