#pragma once
// One client connection for the network tests: a loopback socket and the client's own receive path.
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QSignalSpy>
#include <QTcpSocket>

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "TestRandom.h"
#include "core/Bzip2Api.h"
#include "core/Cipher.h"
#include "core/ReceivePath.h"

namespace gr::dev::test {

constexpr int kTimeoutMs = 5000;

// One client connection: a socket and the client's receive path.
class Client {
  public:
    explicit Client(quint16 port) : Assembler(Bzip2Api::Linked()) {
        QSignalSpy connected(&Socket, &QTcpSocket::connected);
        Socket.connectToHost(QHostAddress::LocalHost, port);
        EXPECT_TRUE(connected.wait(kTimeoutMs));
    }

    // Waits until `count` messages have arrived (or the time is up) and returns them.
    std::vector<std::string> Receive(std::size_t count) {
        std::vector<std::string> messages;
        const QDeadlineTimer deadline(kTimeoutMs);
        while (messages.size() < count && !deadline.hasExpired()) {
            if (Socket.bytesAvailable() == 0) {
                QSignalSpy ready(&Socket, &QTcpSocket::readyRead);
                if (!ready.wait(int(deadline.remainingTime()))) break;
            }
            const QByteArray bytes = Socket.readAll();
            for (std::string& m :
                 Assembler.Feed(std::string_view(bytes.constData(), std::size_t(bytes.size())))) {
                messages.push_back(std::move(m));
            }
        }
        return messages;
    }

    // Receives until a message satisfies `last` (or the time is up); returns every message received.
    template <typename Predicate> std::vector<std::string> ReceiveUntil(Predicate last) {
        std::vector<std::string> messages;
        while (std::none_of(messages.begin(), messages.end(), last)) {
            const std::vector<std::string> more = Receive(1);
            if (more.empty()) break;
            messages.insert(messages.end(), more.begin(), more.end());
        }
        return messages;
    }

    void Write(std::string_view bytes) {
        Socket.write(bytes.data(), qint64(bytes.size()));
        Socket.flush();
    }

    bool WaitForDisconnect() {
        if (Socket.state() == QAbstractSocket::UnconnectedState) return true;
        QSignalSpy gone(&Socket, &QTcpSocket::disconnected);
        return gone.wait(kTimeoutMs);
    }

    QTcpSocket Socket;
    ReceiveAssembler Assembler;
};

// A client past "KEYCODE" that enciphers what it sends with the key it was given.
class AccountClient : public Client {
  public:
    explicit AccountClient(quint16 port) : Client(port), Random(7) {
        const std::vector<std::string> first = Receive(1);
        if (first.size() == 1 && first[0].starts_with("KEYCODE") && first[0].size() > 10)
            Key = first[0].substr(10);
        EXPECT_FALSE(Key.empty()) << "no KEYCODE";
        BuildCipherTables(*Tables, Key.empty() ? "xx" : Key);
    }

    void Send(std::string_view message) { Write(EncipherBytes(*Tables, Key, message, Random) + "%$"); }

    // Sends a request and returns the one reply ("" when none came).
    std::string Ask(std::string_view request) {
        Send(request);
        const std::vector<std::string> replies = Receive(1);
        EXPECT_EQ(replies.size(), 1u) << request;
        return replies.empty() ? std::string() : replies[0];
    }

  private:
    std::string Key;
    std::unique_ptr<CipherTables> Tables = std::make_unique<CipherTables>();
    SeededRandom Random;
};

} // namespace gr::dev::test
