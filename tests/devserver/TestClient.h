#pragma once
// One client connection for the network tests: a loopback socket and the client's own receive path.
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QSignalSpy>
#include <QTcpSocket>

#include <string>
#include <string_view>
#include <vector>

#include "core/Bzip2Api.h"
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

} // namespace gr::dev::test
