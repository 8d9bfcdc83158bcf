// Whatever a player types, on every path that sends it, reaches the server without a message terminator
// inside: the server would cut the message there and take the rest as a message of its own.
#include <QLineEdit>

#include "login/AccountDialogs.h"
#include "support/GameFixture.h"

namespace gr::test {
namespace {

class TypedText : public GameFixture {};

TEST_F(TypedText, NoPathSendsATerminatorInsideAMessage) {
    // The log-in: name and password.
    Lodge& w = Make();
    w.Form_Load();
    w.SpecialPort->setText(QString::number(peer.Server.serverPort()));
    w.UserName->setText(QStringLiteral("b%$ob"));
    w.Password->setText(QStringLiteral("p%%$$w"));
    w.Login_Click(0);
    ASSERT_TRUE(WaitFor([&] { return peer.Socket != nullptr; }));
    peer.Send(std::string("KEYCODE 59") + kKey + "{[}]");
    EXPECT_EQ(std::vector<std::string>{"AccountLoadbob/pw"}, peer.WaitMessages(kKey, 1));
    peer.Received.clear();

    // An account dialog.
    ChangeEmailDialog email(*app);
    email.NewEmail->setText(QStringLiteral("a%{$b@%%$$c"));
    email.Submit();
    EXPECT_EQ(std::vector<std::string>{"AccountChangeEmaila%{$b@c"}, peer.WaitMessages(kKey, 1));

    // The game window's input line, with the "/s" prefix of the macros, on a connection of its own.
    peer.Socket = nullptr;
    peer.Received.clear();
    Entered();
    app->Session.Macros[12][0] = "/p Ann %$TMD";
    struct Case {
        const char* typed;
        std::string sent;
    };
    const std::vector<Case> cases = {
        {"hello %{$ there", "GeneralChathello  there"},
        {"%}{$%%$$", "GeneralChat"},
        {"/who %%{}$$x", "/who x"},
        {"/s hi%{$", "/p Ann TMDhi"},
        {"/p Ann see %{$you", "/p Ann see you"},
    };
    for (const auto& c : cases) {
        peer.Received.clear();
        Type(QString::fromLatin1(c.typed));
        EXPECT_EQ(std::vector<std::string>{c.sent}, peer.WaitMessages(kKey, 1)) << c.typed;
    }

    // A sysop may send a terminator on purpose.
    app->Session.SysopMode = true;
    peer.Received.clear();
    Type(QStringLiteral("/broadcast a%$b"));
    EXPECT_EQ(std::vector<std::string>{"/broadcast a%$b"}, peer.WaitMessages(kKey, 1));
}

} // namespace
} // namespace gr::test
