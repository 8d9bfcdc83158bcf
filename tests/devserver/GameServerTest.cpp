// The demo world over real loopback sockets: log in with an account, enter the game, walk, talk and ping,
// with the client's cipher on the way in and the client's receive path on the way back.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <algorithm>
#include <string>
#include <vector>

#include "TestClient.h"
#include "devserver/GameServer.h"

namespace gr::dev {
namespace {

using Lines = std::vector<std::string>;

struct GameFixture {
    QTemporaryDir Dir;
    GameServer Server{Dir.filePath(QStringLiteral("accounts.txt"))};

    GameFixture() {
        Server.setKeepAliveInterval(0); // no "KBA" in the middle of the exchanges
        EXPECT_TRUE(Server.loadAccounts());
        EXPECT_TRUE(Server.listen({0})) << Server.errorString().toStdString();
    }
    quint16 Port() const { return Server.ports().at(0); }
};

// The last message of an entry or a room change: the status values follow the room's text and panels.
bool IsRoomEnd(const std::string& message) {
    return message.starts_with("MainArmorChange");
}

Lines Text(const Lines& messages) {
    Lines text;
    std::copy_if(messages.begin(), messages.end(), std::back_inserter(text),
                 [](const std::string& m) { return m.starts_with("TMD"); });
    return text;
}

bool Has(const Lines& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Makes the account, enters the game with the character and returns what came after "CritInfo", up to the
// room's panels and status values.
Lines EnterGame(test::AccountClient& client, const std::string& account, const std::string& character) {
    EXPECT_TRUE(client.Ask("AccountAddd" + account + "/pw").starts_with("Display" + account + "/"));
    client.Send("AccountLoginGR" + character + "/machine");
    Lines got = client.ReceiveUntil(IsRoomEnd);
    EXPECT_FALSE(got.empty());
    if (got.empty()) return got;
    EXPECT_TRUE(got[0].starts_with("CritInfo" + character + "^%^")) << got[0];
    got.erase(got.begin());
    return got;
}

TEST(GameServer, TwoPlayersEnterWalkTalkAndPing) {
    GameFixture f;
    const std::string ann = StarterCharacters("ann")[0].Name;
    std::string bob;
    for (const CharacterRecord& c : StarterCharacters("bob")) {
        if (bob.empty() && c.Name != ann) bob = c.Name;
    }

    test::AccountClient annClient(f.Port());
    const Lines annRoom = EnterGame(annClient, "ann", ann);
    ASSERT_GE(annRoom.size(), 5u);
    EXPECT_EQ(annRoom[0], "TMD{00ffff{Welcome to Gloamrest, " + ann + "!");
    EXPECT_TRUE(Has(annRoom, "TMD{s12{{80ffff{Lamplit Square"));
    EXPECT_TRUE(Has(annRoom, "MainCommandsLook Around/Deposit Gold/Withdraw Gold/"));

    test::AccountClient bobClient(f.Port());
    const Lines bobRoom = EnterGame(bobClient, "bob", bob);
    EXPECT_TRUE(Has(bobRoom, "TMD{ff8888{Also here: " + ann + "."));
    EXPECT_EQ(annClient.Receive(1), Lines{"TMD{c0c0c0{" + bob + " has entered the game."});
    EXPECT_EQ(f.Server.world().PlayerCount(), 2u);

    bobClient.Send("GeneralChatHello {0000ff{there}");
    const Lines said = {"TMD{ffff80{" + bob + " says, \"Hello 0000ffthere\""};
    EXPECT_EQ(bobClient.Receive(1), said);
    EXPECT_EQ(annClient.Receive(1), said);

    annClient.Send("Dirnn");
    const Lines library = annClient.ReceiveUntil(IsRoomEnd);
    ASSERT_FALSE(library.empty());
    EXPECT_EQ(library[0], "TMD{s12{{80ffff{The Old Library");
    EXPECT_EQ(bobClient.Receive(1), Lines{"TMD{c0c0c0{" + ann + " leaves north."});

    annClient.Send("PING");
    EXPECT_EQ(annClient.Receive(1), Lines{"PING"});

    annClient.Send("Dirss");
    EXPECT_EQ(Text(annClient.ReceiveUntil(IsRoomEnd)).back(), "TMD{ff8888{Also here: " + bob + ".");
    EXPECT_EQ(bobClient.Receive(1), Lines{"TMD{c0c0c0{" + ann + " arrives from the north."});

    bobClient.Socket.disconnectFromHost();
    EXPECT_EQ(annClient.Receive(1), Lines{"TMD{c0c0c0{" + bob + " has left the game."});
    EXPECT_EQ(f.Server.world().PlayerCount(), 1u);
}

TEST(GameServer, AsksPlayersKeepAliveOnItsInterval) {
    GameFixture f;
    test::AccountClient client(f.Port());
    test::AccountClient notPlaying(f.Port());
    EnterGame(client, "ann", StarterCharacters("ann")[0].Name);
    f.Server.setKeepAliveInterval(50);
    EXPECT_EQ(client.Receive(1), Lines{"KBA"});
    client.Send("Update1"); // the client's answer needs none
    EXPECT_EQ(client.Receive(1), Lines{"KBA"});
    f.Server.setKeepAliveInterval(0);
    // Only players are asked: the first thing the other connection gets is the answer to its request.
    EXPECT_EQ(notPlaying.Ask("AccountEmailann"),
              "AccountMSGThe password has been sent to the account's e-mail address.");
}

} // namespace
} // namespace gr::dev
