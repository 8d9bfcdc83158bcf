// The server with accounts over real loopback sockets: the client's cipher on the way in, the client's
// receive path on the way back, and the accounts file across a restart.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <memory>
#include <string>
#include <vector>

#include "TestClient.h"
#include "devserver/AccountServer.h"

namespace gr::dev {
namespace {

constexpr std::string_view kToday = "2030-05-06";
const std::string kNotOnAccount = "AccountMSGThat character is not on this account.";
const std::string kNotLoggedIn = "AccountMSGYou are not logged in.";

using test::AccountClient;

// A listening server whose accounts file lives in a fresh folder.
struct Fixture {
    QTemporaryDir Dir;
    QString File = Dir.filePath(QStringLiteral("accounts.txt"));
    std::unique_ptr<AccountServer> Server;

    Fixture() { Start(); }
    void Start() {
        Server.reset(); // the file is read after the old server is gone
        Server = std::make_unique<AccountServer>(File);
        Server->setToday([] { return std::string(kToday); });
        EXPECT_TRUE(Server->loadAccounts()) << Server->accountsError().toStdString();
        EXPECT_TRUE(Server->listen({0})) << Server->errorString().toStdString();
    }
    quint16 Port() const { return Server->ports().at(0); }
};

std::vector<std::string> Split(std::string_view text, std::string_view separator) {
    std::vector<std::string> parts;
    for (;;) {
        const std::size_t at = text.find(separator);
        parts.emplace_back(text.substr(0, at));
        if (at == std::string_view::npos) return parts;
        text.remove_prefix(at + separator.size());
    }
}

// The character records of a "Display" message for the account, each split into its values; the message
// must start with the account's name, e-mail and number of characters and end with "/".
std::vector<std::vector<std::string>> DisplayRecords(const std::string& display, const std::string& account,
                                                     const std::string& email) {
    const std::string head = "Display" + account + "/" + email + "/";
    EXPECT_TRUE(display.starts_with(head)) << display;
    EXPECT_TRUE(display.ends_with("/")) << display;
    if (!display.starts_with(head) || !display.ends_with("/")) return {};
    std::vector<std::string> fields = Split(std::string_view(display).substr(head.size()), "/");
    fields.pop_back(); // after the last "/"
    EXPECT_EQ(fields.at(0), std::to_string(fields.size() - 1)) << display;
    std::vector<std::vector<std::string>> records;
    for (std::size_t i = 1; i < fields.size(); ++i)
        records.push_back(Split(fields[i], ":"));
    return records;
}

std::vector<std::string> StarterValues(const CharacterRecord& c) {
    return {c.Name, std::to_string(c.Level), c.Race, c.Class, c.Gender, c.LastPlayed};
}

std::vector<std::string> Column(const std::vector<std::vector<std::string>>& records, std::size_t column) {
    std::vector<std::string> values;
    for (const auto& record : records)
        values.push_back(record.size() > column ? record[column] : std::string("(missing)"));
    return values;
}

struct Exchange {
    std::string request;
    std::string reply;
};

void Expect(AccountClient& client, const std::vector<Exchange>& exchanges) {
    for (const Exchange& e : exchanges)
        EXPECT_EQ(client.Ask(e.request), e.reply) << e.request;
}

TEST(AccountServer, NewAccountLogInAndPlay) {
    Fixture f;
    const std::vector<CharacterRecord> starters = StarterCharacters("ann");
    const std::string first = starters[0].Name;

    AccountClient maker(f.Port());
    const std::string display = maker.Ask("AccountAdddann/pw");
    const std::vector<std::vector<std::string>> records = DisplayRecords(display, "ann", "");
    ASSERT_EQ(records.size(), 2u) << display;
    EXPECT_EQ(records[0], StarterValues(starters[0]));
    EXPECT_EQ(records[1], StarterValues(starters[1]));
    EXPECT_TRUE(QFile::exists(f.File));

    AccountClient player(f.Port());
    Expect(player,
           {
               {"AccountLoginGR" + first + "/machine", kNotOnAccount},
               {"AccountLoadann/wrong", "Password"},
               {"AccountLoadann/PW", "Password"},
               {"AccountLoadAnn/pw", "Password"},
               {"AccountLoadnobody/pw", "Password"},
               {"AccountLoadann", "Password"},
               {"AccountLoginGR" + first + "/machine", kNotOnAccount}, // a failed log-in logs out
               {"AccountLoadann/pw", display},
               {"AccountLoginGRNobody/machine", kNotOnAccount},
               {"AccountLoginGR" + first, "CritInfo" + first + "^%^" + std::to_string(starters[0].Level) +
                                              "^%^" + starters[0].Race + "^%^" + starters[0].Class + "^%^" +
                                              starters[0].Gender + "^%^" + std::string(kToday)},
           });
    const std::string critInfo = player.Ask("AccountLoginGR" + first + "/A1B2-C3D4");
    ASSERT_TRUE(critInfo.starts_with("CritInfo")) << critInfo;
    const std::vector<std::string> parts = Split(std::string_view(critInfo).substr(8), "^%^");
    ASSERT_EQ(parts.size(), 6u) << critInfo;
    EXPECT_EQ(parts[0], first);
    EXPECT_EQ(parts[5], kToday);

    // The next log-in shows when the character was played.
    AccountClient later(f.Port());
    const std::vector<std::vector<std::string>> after =
        DisplayRecords(later.Ask("AccountLoadann/pw"), "ann", "");
    EXPECT_EQ(Column(after, 5), (std::vector<std::string>{std::string(kToday), "Never"}));
}

TEST(AccountServer, RefusalsNoticesAndRequestsItDoesNotKnow) {
    Fixture f;
    AccountClient owner(f.Port());
    ASSERT_TRUE(owner.Ask("AccountAdddann/pw").starts_with("Displayann/"));

    const std::string unfit = "AccountMSGThat account name cannot be used: it is too long or holds a "
                              "character that is not allowed.";
    const std::string mailed = "AccountMSGThe password has been sent to the account's e-mail address.";
    AccountClient client(f.Port());
    client.Send("Look around"); // not an account request: no reply, and the replies below stay in order
    client.Send("AccountUnknownRequest");
    Expect(client, {
                       {"AccountAdddann/other", "AccountMSGThat account name is already taken."},
                       {"AccountAddd/pw", "AccountMSGPlease enter an account name."},
                       {"AccountAdddzed/", "AccountMSGPlease enter a password."},
                       {"AccountAdddzed", "AccountMSGPlease enter a password."},
                       {"AccountAdddz:d/pw", unfit},
                       {"AccountAdddz^%^d/pw", unfit},
                       {"AccountAddd" + std::string(kMaxNameBytes + 1, 'z') + "/pw", unfit},
                       {"AccountEmailann", mailed},
                       {"AccountEmailnobody", mailed},
                       {"AccountChangePassx", kNotLoggedIn},
                       {"AccountChangeEmailx@example.org", kNotLoggedIn},
                       {"AccountTransferCritx/ann", kNotLoggedIn},
                       {"AccountDeleteCritx", kNotLoggedIn},
                   });
    // A name may hold "/" after the first: the password is everything after it.
    EXPECT_TRUE(client.Ask("AccountAdddbob/p/w").starts_with("Displaybob/"));
    AccountClient again(f.Port());
    EXPECT_EQ(again.Ask("AccountLoadbob/p"), "Password");
    EXPECT_TRUE(again.Ask("AccountLoadbob/p/w").starts_with("Displaybob/"));
}

TEST(AccountServer, TransferMovesACharacterToAnotherAccount) {
    Fixture f;
    // "ann" and "bob" share one starter name; ann's other one can move.
    const std::vector<CharacterRecord> anns = StarterCharacters("ann");
    const std::vector<CharacterRecord> bobs = StarterCharacters("bob");
    std::string moving, shared;
    for (const CharacterRecord& c : anns)
        ((c.Name == bobs[0].Name || c.Name == bobs[1].Name) ? shared : moving) = c.Name;
    ASSERT_FALSE(moving.empty());
    ASSERT_FALSE(shared.empty()) << "pick two account names whose starters share a name";

    AccountClient bob(f.Port());
    ASSERT_TRUE(bob.Ask("AccountAdddbob/pw").starts_with("Displaybob/"));
    AccountClient ann(f.Port());
    ASSERT_TRUE(ann.Ask("AccountAdddann/pw").starts_with("Displayann/"));
    Expect(
        ann,
        {
            {"AccountTransferCrit" + moving + "/nobody", "AccountMSGThere is no account of that name."},
            {"AccountTransferCrit" + moving + "/ann", "AccountMSGThat character is already on this account."},
            {"AccountTransferCrit" + shared + "/bob",
             "AccountMSGThat account already has a character of that name."},
            {"AccountTransferCrit" + moving + "/bob", "AccountEnableCrit"},
            {"AccountTransferCrit" + moving + "/bob", kNotOnAccount},
            {"AccountLoginGR" + moving + "/machine", kNotOnAccount},
        });

    AccountClient bobAgain(f.Port());
    const std::vector<std::vector<std::string>> records =
        DisplayRecords(bobAgain.Ask("AccountLoadbob/pw"), "bob", "");
    EXPECT_EQ(Column(records, 0), (std::vector<std::string>{bobs[0].Name, bobs[1].Name, moving}));
    EXPECT_TRUE(
        bobAgain.Ask("AccountLoginGR" + moving + "/machine").starts_with("CritInfo" + moving + "^%^"));
    AccountClient annAgain(f.Port());
    EXPECT_EQ(Column(DisplayRecords(annAgain.Ask("AccountLoadann/pw"), "ann", ""), 0),
              std::vector<std::string>{shared});
}

TEST(AccountServer, ChangesSurviveARestartByteForByte) {
    Fixture f;
    const std::string name = "Ren\xE9"
                             "e";
    const std::string email = "r\xE9"
                              "e@example.org";
    const std::string first = StarterCharacters(name)[0].Name;
    {
        AccountClient client(f.Port());
        ASSERT_TRUE(client.Ask("AccountAddd" + name + "/pw").starts_with("Display" + name + "//2/"));
        Expect(client, {
                           {"AccountChangeEmaila/b", "AccountMSGThat e-mail address cannot be used."},
                           {"AccountChangeEmail" + email, "AccountMSGYour e-mail address has been changed."},
                           {"AccountChangePass", "AccountMSGPlease enter a password."},
                           {"AccountChangePassnew pass\xE9", "AccountMSGYour password has been changed."},
                       });
        EXPECT_TRUE(client.Ask("AccountLoginGR" + first + "/machine").starts_with("CritInfo"));
    }
    f.Start();
    EXPECT_EQ(f.Server->accounts().size(), 1u);
    AccountClient client(f.Port());
    EXPECT_EQ(client.Ask("AccountLoad" + name + "/pw"), "Password");
    const std::vector<std::vector<std::string>> records =
        DisplayRecords(client.Ask("AccountLoad" + name + "/new pass\xE9"), name, email);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0],
              (std::vector<std::string>{first, std::to_string(StarterCharacters(name)[0].Level),
                                        StarterCharacters(name)[0].Race, StarterCharacters(name)[0].Class,
                                        StarterCharacters(name)[0].Gender, std::string(kToday)}));
}

TEST(AccountServer, DeletingACharacterClosesTheConnection) {
    Fixture f;
    const std::vector<CharacterRecord> starters = StarterCharacters("ann");
    AccountClient client(f.Port());
    ASSERT_TRUE(client.Ask("AccountAdddann/pw").starts_with("Displayann/"));
    EXPECT_EQ(client.Ask("AccountDeleteCritNobody"), kNotOnAccount);
    client.Send("AccountDeleteCrit" + starters[0].Name);
    EXPECT_TRUE(client.WaitForDisconnect());
    EXPECT_EQ(client.Socket.bytesAvailable(), 0);

    AccountClient again(f.Port());
    EXPECT_EQ(Column(DisplayRecords(again.Ask("AccountLoadann/pw"), "ann", ""), 0),
              std::vector<std::string>{starters[1].Name});
}

TEST(AccountServer, RefusesAnAccountsFileItCannotRead) {
    QTemporaryDir dir;
    AccountServer server(dir.path()); // a folder, not a file
    EXPECT_FALSE(server.loadAccounts());
    EXPECT_FALSE(server.accountsError().isEmpty());

    AccountServer missing(dir.filePath(QStringLiteral("none.txt")));
    EXPECT_TRUE(missing.loadAccounts());
    EXPECT_EQ(missing.accounts().size(), 0u);
}

} // namespace
} // namespace gr::dev
