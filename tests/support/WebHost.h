#pragma once
// A small web host for download tests, on a real socket: answers each GET with the raw bytes set for its
// path (a 404 page for any other path), or with an answer that never ends (ServeStream), counts the
// requests per path and keeps their heads. While Hold is set, requests wait unanswered until Release().
#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QImage>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace gr::test {

class WebHost {
public:
    WebHost() {
        EXPECT_TRUE(Server.listen(QHostAddress::LocalHost));
        QObject::connect(&Server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* socket = Server.nextPendingConnection()) {
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { Read(socket); });
                QObject::connect(socket, &QTcpSocket::disconnected, socket, [this, socket] {
                    Buffers.remove(socket);
                    socket->deleteLater();
                });
            }
        });
    }

    ~WebHost() {
        // Connections still open end with the server, after this object's tables: they must not call in.
        for (QTcpSocket* socket : Server.findChildren<QTcpSocket*>())
            QObject::disconnect(socket, nullptr, nullptr, nullptr);
    }

    // "127.0.0.1:port", as the deployment writes the web host.
    QString Address() const { return QStringLiteral("127.0.0.1:%1").arg(Server.serverPort()); }

    // A complete answer: status line, Content-Length, the body; the connection closes after it.
    static QByteArray Answer(int status, const QByteArray& body, const QByteArray& headers = "") {
        return "HTTP/1.1 " + QByteArray::number(status) +
               " X\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n" +
               headers + "\r\n" + body;
    }
    void Serve(const QByteArray& path, const QByteArray& raw) {
        Streams.remove(path);
        Responses[path] = raw;
    }
    // An answer that never ends: the head at once, then the piece every everyMs while the connection lasts
    // (an empty head and piece: silence). Writing pauses while a megabyte waits unread.
    void ServeStream(const QByteArray& path, const QByteArray& head, const QByteArray& piece, int everyMs) {
        Responses.remove(path);
        Streams[path] = {head, piece, everyMs};
    }

    int Requests(const QByteArray& path) const { return Counts.value(path); }
    int AllRequests() const {
        int n = 0;
        for (int c : Counts)
            n += c;
        return n;
    }
    int Waiting() const { return int(Held.size()); }
    void Release() {
        Hold = false;
        for (auto& [socket, path] : Held)
            if (socket) Respond(socket, path);
        Held.clear();
    }

    bool Hold = false;
    std::vector<QByteArray> Heads; // each request's head, as received

private:
    void Read(QTcpSocket* socket) {
        QByteArray& buffer = Buffers[socket];
        buffer += socket->readAll();
        const auto end = buffer.indexOf("\r\n\r\n");
        if (end < 0) return;
        const QByteArray head = buffer.left(end);
        Buffers.remove(socket);
        Heads.push_back(head);
        const QList<QByteArray> words = head.left(head.indexOf("\r\n")).split(' ');
        const QByteArray path = words.size() > 1 ? words[1] : QByteArray();
        ++Counts[path];
        if (Hold)
            Held.push_back({socket, path});
        else
            Respond(socket, path);
    }
    void Respond(QTcpSocket* socket, const QByteArray& path) {
        if (Streams.contains(path)) {
            const Stream stream = Streams.value(path);
            socket->write(stream.Head);
            auto* timer = new QTimer(socket);
            QObject::connect(timer, &QTimer::timeout, socket, [socket, stream] {
                if (socket->bytesToWrite() < (1 << 20)) socket->write(stream.Piece);
            });
            timer->start(stream.EveryMs);
            return;
        }
        socket->write(
            Responses.value(path, Answer(404, "<html>Not Found</html>", "Content-Type: text/html\r\n")));
        socket->disconnectFromHost();
    }

    struct Stream {
        QByteArray Head, Piece;
        int EveryMs = 0;
    };
    QTcpServer Server;
    QHash<QByteArray, QByteArray> Responses;
    QHash<QByteArray, Stream> Streams;
    QHash<QByteArray, int> Counts;
    QHash<QTcpSocket*, QByteArray> Buffers;
    std::vector<std::pair<QPointer<QTcpSocket>, QByteArray>> Held;
};

// A small JPEG of its own colour for each seed.
inline QByteArray Jpeg(int seed, int width = 16, int height = 16) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor::fromHsv(seed % 360, 200, 200));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return bytes;
}

// A file's bytes, or "(missing)".
inline QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

// Runs the event loop until done() holds or a few seconds have passed; done() at the end.
inline bool WaitFor(const std::function<bool()>& done, int ms = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

} // namespace gr::test
