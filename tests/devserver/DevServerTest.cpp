// The server over real loopback sockets, with the client's own cipher and receive path on the other end.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSignalSpy>

#include <algorithm>
#include <cctype>
#include <memory>
#include <string>
#include <vector>

#include "TestClient.h"
#include "TestRandom.h"
#include "core/Cipher.h"
#include "devserver/DevServer.h"

namespace gr::dev {
namespace {

using test::Client;
using test::kTimeoutMs;

// A listening server and the id of the session that the next connection opens.
struct Fixture {
    DevServer server;
    std::unique_ptr<QSignalSpy> opened = std::make_unique<QSignalSpy>(&server, &DevServer::sessionOpened);

    int WaitForSession() {
        if (opened->isEmpty()) opened->wait(kTimeoutMs);
        EXPECT_FALSE(opened->isEmpty()) << "no session opened";
        return opened->isEmpty() ? -1 : opened->takeFirst().at(0).toInt();
    }
};

bool IsKey(std::string_view key) {
    return key.size() >= 8 && key.size() <= 32 && std::all_of(key.begin(), key.end(), [](char c) {
               return std::isalnum(static_cast<unsigned char>(c));
           });
}

TEST(DevServer, HandsOutKeyAndDeciphersWhatTheClientSends) {
    Fixture f;
    ASSERT_TRUE(f.server.listen({0, 0})) << f.server.errorString().toStdString();
    const std::vector<quint16> ports = f.server.ports();
    ASSERT_EQ(ports.size(), 2u);
    EXPECT_NE(ports[0], 0);
    EXPECT_NE(ports[1], 0);
    EXPECT_NE(ports[0], ports[1]);

    Client client(ports[1]);
    const int id = f.WaitForSession();
    const std::vector<std::string> first = client.Receive(1);
    ASSERT_EQ(first.size(), 1u);
    const std::string& keycode = first[0];
    ASSERT_GE(keycode.size(), 10u);
    EXPECT_EQ(keycode.substr(0, 7), "KEYCODE");
    EXPECT_EQ(keycode.substr(8, 2), "59");
    const std::string key = keycode.substr(10);
    EXPECT_TRUE(IsKey(key)) << key;
    EXPECT_EQ(key, f.server.sessionKey(id));

    CipherTables tables;
    BuildCipherTables(tables, key);
    test::SeededRandom random(11);
    const std::string sent = EncipherBytes(tables, key, "AccountLoadbob/pw 1", random) + "%$";
    QSignalSpy received(&f.server, &DevServer::messageReceived);
    client.Write(std::string_view(sent).substr(0, 9));
    QCoreApplication::processEvents(); // the server sees the first part alone
    client.Write(std::string_view(sent).substr(9));
    ASSERT_TRUE(received.wait(kTimeoutMs));
    ASSERT_EQ(received.size(), 1);
    EXPECT_EQ(received.at(0).at(0).toInt(), id);
    EXPECT_EQ(received.at(0).at(1).toByteArray(), QByteArray("AccountLoadbob/pw 1"));
}

TEST(DevServer, VersionAndFixedKeyGoIntoKeycode) {
    Fixture f;
    EXPECT_FALSE(f.server.setRequiredVersion("6"));
    EXPECT_FALSE(f.server.setFixedKey("has space"));
    EXPECT_FALSE(f.server.setFixedKey("a"));
    ASSERT_TRUE(f.server.setRequiredVersion("61"));
    ASSERT_TRUE(f.server.setFixedKey("abcDEF12"));
    ASSERT_TRUE(f.server.listen({0}));
    Client client(f.server.ports()[0]);
    EXPECT_EQ(client.Receive(1), (std::vector<std::string>{"KEYCODE 61abcDEF12"}));
}

TEST(DevServer, SendsBatchesAndClosesAfterThem) {
    Fixture f;
    ASSERT_TRUE(f.server.listen({0}));
    Client client(f.server.ports()[0]);
    const int id = f.WaitForSession();
    ASSERT_EQ(client.Receive(1).size(), 1u); // KEYCODE

    std::vector<std::string> messages;
    for (int i = 0; i < 3000; ++i)
        messages.push_back("Line " + std::to_string(i) + " of a long room description.");
    EXPECT_FALSE(f.server.send(id, {"fine", "not%$framable"}, true));
    EXPECT_FALSE(f.server.send(id + 1000, {"nobody"}, true));
    ASSERT_TRUE(f.server.send(id, messages, true));
    ASSERT_TRUE(f.server.send(id, {"Goodbye."}, false));
    QSignalSpy closed(&f.server, &DevServer::sessionClosed);
    f.server.closeSession(id);
    EXPECT_EQ(closed.size(), 1);
    EXPECT_FALSE(f.server.hasSession(id));

    messages.push_back("Goodbye.");
    EXPECT_EQ(client.Receive(messages.size()), messages);
    EXPECT_TRUE(client.WaitForDisconnect());
}

TEST(DevServer, ClosesAFloodingClient) {
    Fixture f;
    ASSERT_TRUE(f.server.listen({0}));
    Client client(f.server.ports()[0]);
    const int id = f.WaitForSession();
    QSignalSpy closed(&f.server, &DevServer::sessionClosed);
    client.Write(std::string(kMaxPendingClientBytes + 1024, 'x')); // never a "%$"
    ASSERT_TRUE(closed.wait(kTimeoutMs));
    EXPECT_EQ(closed.at(0).at(0).toInt(), id);
    EXPECT_EQ(f.server.sessionCount(), 0u);
    EXPECT_TRUE(client.WaitForDisconnect());
}

} // namespace
} // namespace gr::dev

int main(int argc, char** argv) {
    // Test discovery runs this binary without the tests' environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
