#pragma once
// The server end of a connection, driven by a test: sends raw text and collects what the client sends.
#include <QTcpServer>
#include <QTcpSocket>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Cipher.h"
#include "devserver/ServerProtocol.h"

namespace gr::test {

class Peer {
public:
    Peer() {
        EXPECT_TRUE(Server.listen(QHostAddress::LocalHost));
        QObject::connect(&Server, &QTcpServer::newConnection, [this] {
            QTcpSocket* socket = Server.nextPendingConnection();
            Socket = socket;
            QObject::connect(socket, &QTcpSocket::readyRead, [this, socket] {
                // Only the newest connection counts; an older one is being closed by the test.
                const QByteArray bytes = socket->readAll();
                if (socket == Socket) Received += bytes.toStdString();
            });
            QObject::connect(socket, &QTcpSocket::disconnected, [this, socket] {
                if (socket == Socket) Closed = true;
            });
        });
    }
    void Send(const std::string& text) {
        Socket->write(text.data(), qint64(text.size()));
        Socket->flush();
    }
    // The messages received so far, deciphered with the key.
    std::vector<std::string> Messages(const std::string& key) const {
        CipherTables tables;
        BuildCipherTables(tables, key);
        std::vector<std::string> out;
        std::size_t start = 0;
        for (auto at = Received.find("%$"); at != std::string::npos; start = at + 2, at = Received.find("%$", start))
            out.push_back(dev::DecipherBytes(tables, key, std::string_view(Received).substr(start, at - start)));
        return out;
    }
    // Waits (up to a few seconds) until at least count messages have arrived, then a moment for any more.
    std::vector<std::string> WaitMessages(const std::string& key, std::size_t count) const {
        QElapsedTimer clock;
        clock.start();
        while (Messages(key).size() < count && clock.elapsed() < 3000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QTest::qWait(20);
        return Messages(key);
    }
    QTcpServer Server;
    QTcpSocket* Socket = nullptr;
    std::string Received;
    bool Closed = false;
};

} // namespace gr::test
