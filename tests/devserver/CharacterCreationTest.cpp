// Character creation on the local server: the rolls, the class rules, the reading of "AccountNewCrit", and
// the whole exchange over loopback sockets, with the accounts file across a restart.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <map>
#include <memory>

#include "TestClient.h"
#include "TestRandom.h"
#include "character/StatsIn.h"
#include "devserver/AccountServer.h"
#include "devserver/CharacterCreation.h"

namespace gr::dev {
namespace {

using test::AccountClient;
using test::SeededRandom;

TEST(CharacterCreation, RollsAreFairAndWithinTheRacesMaximum) {
    SeededRandom random(11);
    for (int race = 0; race < kRaceCount; ++race) {
        const StatValues& max = kMaxStats[std::size_t(race)];
        std::array<std::map<int, int>, kStatCount> seen;
        constexpr int kRolls = 4000;
        for (int n = 0; n < kRolls; ++n) {
            const StatsRoll roll = RollStats(random, race);
            for (int i = 0; i < kStatCount; ++i) {
                const int v = roll.Stats[std::size_t(i)];
                ASSERT_GE(v, kLowestStat) << race;
                ASSERT_LE(v, max[std::size_t(i)]) << race;
                ++seen[std::size_t(i)][v];
            }
            ASSERT_EQ(std::size_t(kNoiseCells), roll.Noise.size());
            for (int c = 0; c < kClassCount; ++c)
                ASSERT_EQ(ClassAllowed(c, roll.Stats), roll.Classes[std::size_t(c)]);
            ASSERT_EQ(roll, ParseStatsIn(StatsInText(roll))); // the client reads every roll
        }
        // Every value from the lowest to the maximum comes up, each about equally often.
        for (int i = 0; i < kStatCount; ++i) {
            const int values = max[std::size_t(i)] - kLowestStat + 1;
            ASSERT_EQ(std::size_t(values), seen[std::size_t(i)].size()) << race << " stat " << i;
            const double expected = double(kRolls) / values;
            for (const auto& [value, count] : seen[std::size_t(i)]) {
                EXPECT_GT(count, expected * 0.7) << race << " stat " << i << " value " << value;
                EXPECT_LT(count, expected * 1.3) << race << " stat " << i << " value " << value;
            }
        }
    }
}

TEST(CharacterCreation, ClassRules) {
    struct Case {
        StatValues stats;
        std::string allowed; // Cleric to Pacifist
    };
    const std::vector<Case> cases = {
        {{3, 3, 3, 3, 3, 3}, "000000001"},
        {{19, 19, 19, 19, 19, 19}, "111111111"},
        {{12, 3, 3, 3, 9, 12}, "101010001"},    // Paladin needs 12 and 12; Druid needs 10 in stat 4
        {{13, 11, 10, 10, 10, 7}, "101101101"}, // Druid needs 8 in stat 5; Berserker 11 in stat 2
    };
    for (const Case& c : cases) {
        std::string allowed;
        for (int k = 0; k < kClassCount; ++k)
            allowed += ClassAllowed(k, c.stats) ? '1' : '0';
        EXPECT_EQ(c.allowed, allowed) << StatsText(c.stats);
    }
    EXPECT_FALSE(ClassAllowed(-1, {19, 19, 19, 19, 19, 19}));
    EXPECT_FALSE(ClassAllowed(9, {19, 19, 19, 19, 19, 19}));
}

TEST(CharacterCreation, ReadsNewCharacterFields) {
    const auto made = ParseNewCharacter("Dark_Knight/F/Ranger/12");
    ASSERT_TRUE(made);
    EXPECT_EQ("Dark_Knight", made->Name);
    EXPECT_EQ("Female", made->Gender);
    EXPECT_EQ(5, made->Class);
    EXPECT_EQ(12, made->Portrait);
    ASSERT_TRUE(ParseNewCharacter("Bo/M/Pacifist/0"));
    for (const std::string bad :
         {"Dark_Knight/F/Ranger", "Dark_Knight/F/Ranger/12/", "dark_knight/F/Ranger/1",
          "Dark knight/F/Ranger/1", "Dark_Knight/X/Ranger/1", "Dark_Knight/F/ranger/1",
          "Dark_Knight/F/Ranger/40", "Dark_Knight/F/Ranger/-1", "Dark_Knight/F/Ranger/07",
          "Dark_Knight/F/Ranger/", "/F/Ranger/1", "A/F/Ranger/1", ""})
        EXPECT_FALSE(ParseNewCharacter(bad)) << bad;
}

struct Server {
    QTemporaryDir Dir;
    QString File = Dir.filePath(QStringLiteral("accounts.txt"));
    std::unique_ptr<AccountServer> Accounts;
    SeededRandom Random{3};
    Server() { Start(); }
    void Start() {
        Accounts.reset();
        Accounts = std::make_unique<AccountServer>(File);
        Accounts->setRandom(Random);
        EXPECT_TRUE(Accounts->loadAccounts());
        EXPECT_TRUE(Accounts->listen({0}));
    }
    quint16 Port() const { return Accounts->ports().at(0); }
};

TEST(CharacterCreation, NamesTakenOrBeingRolledAreRefused) {
    Server s;
    AccountClient ann(s.Port());
    ASSERT_TRUE(ann.Ask("AccountAdddann/pw").starts_with("Displayann/"));
    AccountClient bob(s.Port());
    ASSERT_TRUE(bob.Ask("AccountAdddbob/pw").starts_with("Displaybob/"));
    const std::string annsFirst = StarterCharacters("ann")[0].Name;
    const std::string accepted = "GenerateUserUsernameAccepted";
    const std::string refused = "GenerateUserUsernameNotAccepted";

    EXPECT_EQ(refused, bob.Ask("AccountGenerateUser" + annsFirst)); // another account's character
    EXPECT_EQ(accepted, ann.Ask("AccountGenerateUserDark_Knight"));
    EXPECT_EQ(refused, bob.Ask("AccountGenerateUserDark_Knight")); // being rolled on another connection
    EXPECT_EQ(refused, bob.Ask("AccountGenerateUserDARK_KNIGHT")); // whatever the letter case
    EXPECT_EQ(refused, bob.Ask("AccountGenerateUserdark knight")); // not a name the client makes
    EXPECT_EQ(refused, bob.Ask("AccountGenerateUser"));
    // Ann takes another name: the first is free again.
    EXPECT_EQ(accepted, ann.Ask("AccountGenerateUserSable"));
    EXPECT_EQ(accepted, bob.Ask("AccountGenerateUserDark_Knight"));
    // Not logged in: nothing to roll for.
    AccountClient stranger(s.Port());
    EXPECT_EQ("AccountMSGYou are not logged in.", stranger.Ask("AccountGenerateUserSomebody"));
}

TEST(CharacterCreation, RollThenFinishPutsTheCharacterOnTheAccount) {
    Server s;
    AccountClient ann(s.Port());
    ASSERT_TRUE(ann.Ask("AccountAdddann/pw").starts_with("Displayann/"));
    ASSERT_EQ("GenerateUserUsernameAccepted", ann.Ask("AccountGenerateUserDark_Knight"));
    // A race out of range is not answered: the next reply is the roll for the Half-Orc.
    ann.Send("AccountRol19");
    const std::string rolled = ann.Ask("AccountRol16");
    ASSERT_TRUE(rolled.starts_with("GenerateUserStatsIn")) << rolled;
    const auto roll = ParseStatsIn(std::string_view(rolled).substr(12));
    ASSERT_TRUE(roll) << rolled;
    for (int i = 0; i < kStatCount; ++i)
        EXPECT_LE(roll->Stats[std::size_t(i)], kMaxStats[6][std::size_t(i)]);

    int refusedClass = -1;
    for (int c = 0; c < kClassCount; ++c)
        if (!roll->Classes[std::size_t(c)]) refusedClass = c;
    ASSERT_GE(refusedClass, 0) << "the seeded roll allows every class: " << rolled;
    EXPECT_EQ("AccountMSGYour stats do not allow that class.",
                  ann.Ask("AccountNewCritDark_Knight/F/" +
                          std::string(kClassNames[std::size_t(refusedClass)]) + "/3"));
    EXPECT_EQ("AccountMSGThat character cannot be made: choose a name and roll first.",
              ann.Ask("AccountNewCritSomeone_Else/F/Pacifist/3"));
    EXPECT_EQ("Displayann//1/Dark_Knight:1:Half-Orc:Pacifist:Female:Never/",
              ann.Ask("AccountNewCritDark_Knight/F/Pacifist/17"));
    // Made once: the name is taken now, and the roll is gone with it.
    EXPECT_EQ("AccountMSGThat character cannot be made: choose a name and roll first.",
              ann.Ask("AccountNewCritDark_Knight/F/Pacifist/17"));
    EXPECT_EQ("GenerateUserUsernameNotAccepted", ann.Ask("AccountGenerateUserDark_Knight"));

    // Kept across a restart, with its portrait; the full list shows it after the starters.
    s.Start();
    const AccountRecord* account = s.Accounts->accounts().Find("ann");
    ASSERT_TRUE(account);
    const CharacterRecord* made = account->Find("Dark_Knight");
    ASSERT_TRUE(made);
    EXPECT_EQ(17, made->Portrait);
    EXPECT_EQ("Pacifist", made->Class);
    AccountClient again(s.Port());
    EXPECT_TRUE(again.Ask("AccountLoadann/pw").ends_with("/Dark_Knight:1:Half-Orc:Pacifist:Female:Never/"));

    // In the game, "/portrait" changes it.
    EXPECT_TRUE(again.Ask("AccountLoginGRDark_Knight/m").starts_with("CritInfoDark_Knight"));
    EXPECT_EQ("TMD{c0c0c0{Your portrait is now number 40.", again.Ask("/portrait 39"));
    EXPECT_EQ("TMD{c0c0c0{There is no such portrait.", again.Ask("/portrait 40"));
    EXPECT_EQ("TMD{c0c0c0{There is no such portrait.", again.Ask("/portrait -1"));
    EXPECT_EQ(39, s.Accounts->accounts().Find("ann")->Find("Dark_Knight")->Portrait);
}

} // namespace
} // namespace gr::dev
