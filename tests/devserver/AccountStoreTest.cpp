// The account store: its rules, the client's account messages built from it, and its file form.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "devserver/AccountStore.h"

namespace gr::dev {
namespace {

// Two accounts that both have an "Aldric", and one without characters.
constexpr std::string_view kFixture = "account\tann\tpw\t\n"
                                      "character\tann\tAldric\t3\tHuman\tWarrior\tMale\tNever\n"
                                      "character\tann\tBrynn\t5\tDwarf\tCleric\tFemale\t2024-01-02\n"
                                      "account\tbob\tpw\t\n"
                                      "character\tbob\tAldric\t7\tOrc\tRogue\tMale\tNever\n"
                                      "account\tcat\tpw\t\n";

std::vector<std::string> Names(const AccountRecord* account) {
    std::vector<std::string> names;
    if (account) {
        for (const CharacterRecord& c : account->Characters)
            names.push_back(c.Name);
    }
    return names;
}

std::size_t Skipped(const LoadReport& r) {
    return r.MalformedLines + r.LongLines + r.Duplicates + r.OrphanLines + r.OverBound;
}

// Every account of `a` equals that of `b` and they hold as many.
void ExpectSameStore(const AccountStore& a, const AccountStore& b, const std::vector<std::string>& names) {
    EXPECT_EQ(a.size(), b.size());
    for (const std::string& name : names) {
        ASSERT_TRUE(a.Find(name) && b.Find(name)) << name;
        EXPECT_EQ(*a.Find(name), *b.Find(name)) << name;
    }
}

TEST(AccountStore, StarterCharactersAreTwoDistinctFreshOnesPerName) {
    std::set<std::vector<std::string>> pairs;
    for (const std::string name : {"ann", "bob", "cat",
                                   "Ren\xE9"
                                   "e",
                                   "x", "a much longer account name"}) {
        const std::vector<CharacterRecord> starters = StarterCharacters(name);
        ASSERT_EQ(starters.size(), 2u) << name;
        EXPECT_NE(starters[0].Name, starters[1].Name) << name;
        for (const CharacterRecord& c : starters) {
            EXPECT_TRUE(IsFitName(c.Name) && IsFitName(c.Race) && IsFitName(c.Class)) << c.Name;
            EXPECT_GE(c.Level, 1);
            EXPECT_LE(c.Level, 12);
            EXPECT_TRUE(c.Gender == "Male" || c.Gender == "Female") << c.Gender;
            EXPECT_EQ(c.LastPlayed, "Never");
        }
        EXPECT_EQ(StarterCharacters(name), starters) << "not deterministic: " << name;
        pairs.insert({starters[0].Name, starters[1].Name});
    }
    EXPECT_GT(pairs.size(), 1u) << "every name gets the same starters";
}

TEST(AccountStore, CreateRefusesWhatCannotBeAnAccount) {
    AccountStore store;
    ASSERT_EQ(store.Create("bob", "pw"), StoreResult::Ok);
    struct Case {
        std::string name;
        std::string password;
        StoreResult expected;
    };
    const std::vector<Case> cases = {
        {"bob", "other", StoreResult::NameTaken},
        {"Bob", "pw", StoreResult::Ok}, // names are compared exactly
        {"", "pw", StoreResult::EmptyName},
        {"ann", "", StoreResult::EmptyPassword},
        {"a:b", "pw", StoreResult::UnfitName},
        {"a/b", "pw", StoreResult::UnfitName},
        {"a^%^b", "pw", StoreResult::UnfitName},
        {"a^b", "pw", StoreResult::UnfitName},
        {"a%$b", "pw", StoreResult::UnfitName},
        {"a%b", "pw", StoreResult::UnfitName},
        {"x&SYx", "pw", StoreResult::UnfitName},
        {"x{[}]", "pw", StoreResult::UnfitName},
        {"tab\tname", "pw", StoreResult::UnfitName},
        {std::string("zero\0byte", 9), "pw", StoreResult::UnfitName},
        {std::string(kMaxNameBytes + 1, 'n'), "pw", StoreResult::UnfitName},
        {std::string(kMaxNameBytes, 'n'), "pw", StoreResult::Ok},
        {"long", std::string(kMaxValueBytes + 1, 'p'), StoreResult::UnfitValue},
        {"Ren\xE9"
         "e  &S Y {[}",
         "p/w:%$^", StoreResult::Ok},
    };
    for (const Case& c : cases)
        EXPECT_EQ(store.Create(c.name, c.password), c.expected) << c.name;
    EXPECT_EQ(store.size(), 4u);

    const AccountRecord* bob = store.Find("bob");
    ASSERT_TRUE(bob);
    EXPECT_EQ(bob->Password, "pw");
    EXPECT_EQ(bob->Email, "");
    EXPECT_EQ(bob->Characters, StarterCharacters("bob"));
}

TEST(AccountStore, LogInNeedsTheExactNameAndPassword) {
    AccountStore store;
    ASSERT_EQ(store.Create("bob", "Secret"), StoreResult::Ok);
    EXPECT_EQ(store.LogIn("bob", "Secret"), store.Find("bob"));
    EXPECT_FALSE(store.LogIn("bob", "secret"));
    EXPECT_FALSE(store.LogIn("bob", "Secret "));
    EXPECT_FALSE(store.LogIn("bob", ""));
    EXPECT_FALSE(store.LogIn("BOB", "Secret"));
    EXPECT_FALSE(store.LogIn("nobody", "Secret"));
}

TEST(AccountStore, TransferMovesTheWholeRecordOnlyWhereItFits) {
    struct Case {
        std::string from, character, to;
        StoreResult expected;
    };
    const std::vector<Case> cases = {
        {"ann", "Brynn", "bob", StoreResult::Ok},          {"ann", "Brynn", "cat", StoreResult::Ok},
        {"ann", "Aldric", "bob", StoreResult::NameClash},  {"ann", "Brynn", "ann", StoreResult::SameAccount},
        {"ann", "Brynn", "nobody", StoreResult::NoTarget}, {"ann", "Brynn", "Bob", StoreResult::NoTarget},
        {"ann", "brynn", "cat", StoreResult::NoCharacter}, {"ann", "Fenn", "cat", StoreResult::NoCharacter},
        {"zed", "Brynn", "cat", StoreResult::NoAccount},
    };
    for (const Case& c : cases) {
        AccountStore store = AccountStore::Load(kFixture);
        const AccountRecord before = *store.Find("ann");
        EXPECT_EQ(store.Transfer(c.from, c.character, c.to), c.expected) << c.character << " to " << c.to;
        if (c.expected == StoreResult::Ok) {
            EXPECT_EQ(Names(store.Find("ann")), std::vector<std::string>{"Aldric"});
            const AccountRecord* to = store.Find(c.to);
            ASSERT_TRUE(to);
            ASSERT_TRUE(to->Find("Brynn"));
            EXPECT_EQ(*to->Find("Brynn"), *before.Find("Brynn"));
        } else {
            EXPECT_EQ(*store.Find("ann"), before) << c.character << " to " << c.to;
        }
    }
}

TEST(AccountStore, DeleteChangeAndMarkPlayed) {
    AccountStore store = AccountStore::Load(kFixture);
    EXPECT_EQ(store.DeleteCharacter("ann", "brynn"), StoreResult::NoCharacter);
    EXPECT_EQ(store.DeleteCharacter("zed", "Brynn"), StoreResult::NoAccount);
    EXPECT_EQ(store.DeleteCharacter("ann", "Brynn"), StoreResult::Ok);
    EXPECT_EQ(store.DeleteCharacter("ann", "Brynn"), StoreResult::NoCharacter);
    EXPECT_EQ(Names(store.Find("ann")), std::vector<std::string>{"Aldric"});
    EXPECT_EQ(Names(store.Find("bob")), std::vector<std::string>{"Aldric"});

    EXPECT_EQ(store.SetPassword("ann", ""), StoreResult::EmptyPassword);
    EXPECT_EQ(store.SetPassword("ann", std::string(kMaxValueBytes + 1, 'p')), StoreResult::UnfitValue);
    EXPECT_EQ(store.SetPassword("zed", "x"), StoreResult::NoAccount);
    EXPECT_EQ(store.SetPassword("ann", "new/pass"), StoreResult::Ok);
    EXPECT_FALSE(store.LogIn("ann", "pw"));
    EXPECT_TRUE(store.LogIn("ann", "new/pass"));

    for (const std::string& bad :
         std::vector<std::string>{"a/b", "a:b", "a%b", "a^b", "x&SY", std::string(kMaxValueBytes + 1, 'e')})
        EXPECT_EQ(store.SetEmail("ann", bad), StoreResult::UnfitValue) << bad;
    EXPECT_EQ(store.SetEmail("ann", "ann@example.org"), StoreResult::Ok);
    EXPECT_EQ(store.Find("ann")->Email, "ann@example.org");
    EXPECT_EQ(store.SetEmail("ann", ""), StoreResult::Ok);

    EXPECT_EQ(store.MarkPlayed("ann", "Aldric", "2030-05-06"), StoreResult::Ok);
    EXPECT_EQ(store.Find("ann")->Find("Aldric")->LastPlayed, "2030-05-06");
    EXPECT_EQ(store.Find("bob")->Find("Aldric")->LastPlayed, "Never");
    EXPECT_EQ(store.MarkPlayed("ann", "Aldric", "6 May 2030"), StoreResult::UnfitValue);
    EXPECT_EQ(store.MarkPlayed("ann", "Brynn", "2030-05-06"), StoreResult::NoCharacter);
    EXPECT_EQ(store.MarkPlayed("zed", "Aldric", "2030-05-06"), StoreResult::NoAccount);
}

TEST(AccountStore, MessagesForTheClient) {
    AccountStore store = AccountStore::Load(kFixture);
    ASSERT_EQ(store.SetEmail("ann", "ann@example.org"), StoreResult::Ok);
    EXPECT_EQ(DisplayMessage(*store.Find("ann")), "Displayann/ann@example.org/2/"
                                                  "Aldric:3:Human:Warrior:Male:Never/"
                                                  "Brynn:5:Dwarf:Cleric:Female:2024-01-02/");
    EXPECT_EQ(DisplayMessage(*store.Find("cat")), "Displaycat//0/");
    EXPECT_EQ(CritInfoMessage(*store.Find("ann")->Find("Brynn")),
              "CritInfoBrynn^%^5^%^Dwarf^%^Cleric^%^Female^%^2024-01-02");
}

TEST(AccountStore, SavedFormIsAsciiAndLoadsBackByteForByte) {
    AccountStore store = AccountStore::Load(kFixture);
    const std::string odd = "Ren\xE9"
                            "e x";
    ASSERT_EQ(store.Create(odd, std::string("p\tw/%41\xFF\n", 9)), StoreResult::Ok);
    ASSERT_EQ(store.SetEmail(odd, "r\xE9"
                                  "e@example.org"),
              StoreResult::Ok);
    ASSERT_EQ(store.MarkPlayed(odd, StarterCharacters(odd)[1].Name, "2030-05-06"), StoreResult::Ok);

    const std::string saved = store.Save();
    for (const char c : saved)
        ASSERT_TRUE((c >= 0x20 && c < 0x7F) || c == '\t' || c == '\n') << int(static_cast<unsigned char>(c));
    EXPECT_NE(saved.find("account\tRen%E9e%20x\tp%09w/%2541%FF%0A\tr%E9e@example.org\n"), std::string::npos)
        << saved;

    LoadReport report;
    const AccountStore loaded = AccountStore::Load(saved, &report);
    EXPECT_EQ(Skipped(report), 0u);
    ExpectSameStore(loaded, store, {"ann", "bob", "cat", odd});
    EXPECT_EQ(loaded.Save(), saved);
}

TEST(AccountStore, NewCharactersAndTheirPortraits) {
    AccountStore store = AccountStore::Load(kFixture);
    // A file from before portraits: every character has portrait 0.
    EXPECT_EQ(0, store.Find("ann")->Find("Brynn")->Portrait);
    // Names are the game's: taken on any account, whatever their letter case.
    EXPECT_TRUE(store.CharacterNameTaken("ALDRIC"));
    EXPECT_TRUE(store.CharacterNameTaken("brynn"));
    EXPECT_FALSE(store.CharacterNameTaken("Brynnx"));
    CharacterRecord made{"Sable_Wind", 1, "Dwarf", "Pacifist", "Female", "Never", 33};
    EXPECT_EQ(StoreResult::NameTaken,
              store.AddCharacter("cat", {"BRYNN", 1, "Elf", "Mage", "Male", "Never", 0}));
    EXPECT_EQ(StoreResult::NoAccount, store.AddCharacter("dan", made));
    CharacterRecord unfit = made;
    unfit.Portrait = 40;
    EXPECT_EQ(StoreResult::UnfitValue, store.AddCharacter("cat", unfit));
    unfit = made;
    unfit.Gender = "F";
    EXPECT_EQ(StoreResult::UnfitValue, store.AddCharacter("cat", unfit));
    ASSERT_EQ(StoreResult::Ok, store.AddCharacter("cat", made));
    EXPECT_EQ(StoreResult::NameTaken, store.AddCharacter("ann", made));
    EXPECT_EQ(StoreResult::Ok, store.SetPortrait("cat", "Sable_Wind", 39));
    EXPECT_EQ(StoreResult::UnfitValue, store.SetPortrait("cat", "Sable_Wind", 40));
    EXPECT_EQ(StoreResult::NoCharacter, store.SetPortrait("ann", "Sable_Wind", 3));
    // The portrait is saved with the character and read back.
    const std::string saved = store.Save();
    EXPECT_NE(saved.find("character\tcat\tSable_Wind\t1\tDwarf\tPacifist\tFemale\tNever\t39\n"),
              std::string::npos)
        << saved;
    EXPECT_EQ(39, AccountStore::Load(saved).Find("cat")->Find("Sable_Wind")->Portrait);
}

TEST(AccountStore, LoadSkipsEachBadLineAndKeepsTheRest) {
    const AccountStore good = AccountStore::Load(kFixture);
    const std::string longLine = "account\t" + std::string(kMaxLineBytes, 'n') + "\tpw\t";
    struct Case {
        std::string line;
        std::size_t LoadReport::*counter;
    };
    const std::vector<Case> cases = {
        {"account\tdan", &LoadReport::MalformedLines},
        {"account\tdan\tpw\t\textra", &LoadReport::MalformedLines},
        {"player\tdan\tpw\t", &LoadReport::MalformedLines},
        {"account\tdan%zz\tpw\t", &LoadReport::MalformedLines},
        {"account\tdan%4", &LoadReport::MalformedLines},
        {"account\tdan%\tpw\t", &LoadReport::MalformedLines},
        {"account\td:n\tpw\t", &LoadReport::MalformedLines},
        {"account\td%00n\tpw\t", &LoadReport::MalformedLines},
        {"account\tdan\t\t", &LoadReport::MalformedLines},
        {"account\tdan\tpw\ta/b", &LoadReport::MalformedLines},
        {"character\tann\tZed\t0\tHuman\tWarrior\tMale\tNever", &LoadReport::MalformedLines},
        {"character\tann\tZed\t1000\tHuman\tWarrior\tMale\tNever", &LoadReport::MalformedLines},
        {"character\tann\tZed\t-1\tHuman\tWarrior\tMale\tNever", &LoadReport::MalformedLines},
        {"character\tann\tZed\t3\t\tWarrior\tMale\tNever", &LoadReport::MalformedLines},
        {"character\tann\tZed\t3\tHuman\tWarrior\tmale\tNever", &LoadReport::MalformedLines},
        {"character\tann\tZed\t3\tHuman\tWarrior\tMale\t2024-1-02", &LoadReport::MalformedLines},
        {"character\tann\tZ/d\t3\tHuman\tWarrior\tMale\tNever", &LoadReport::MalformedLines},
        {"character\tann\tZed\t3\tHuman\tWarrior\tMale", &LoadReport::MalformedLines},
        {"character\tann\tZed\t3\tHuman\tWarrior\tMale\tNever\t40", &LoadReport::MalformedLines},
        {"character\tann\tZed\t3\tHuman\tWarrior\tMale\tNever\t-1", &LoadReport::MalformedLines},
        {"character\tann\tZed\t3\tHuman\tWarrior\tMale\tNever\t", &LoadReport::MalformedLines},
        {"character\tann\tZed\t3\tHuman\tWarrior\tMale\tNever\t007", &LoadReport::MalformedLines},
        {"character\tann\tZed\t3\tHuman\tWarrior\tMale\tNever\t1\t2", &LoadReport::MalformedLines},
        {"character\tnobody\tZed\t3\tHuman\tWarrior\tMale\tNever", &LoadReport::OrphanLines},
        {"character\tann\tBrynn\t9\tElf\tMage\tFemale\tNever", &LoadReport::Duplicates},
        {"account\tann\tother\t", &LoadReport::Duplicates},
        {longLine, &LoadReport::LongLines},
    };
    for (const Case& c : cases) {
        // Once between accounts and once as a last line without its newline.
        const std::size_t middle = kFixture.find("account\tbob");
        for (const std::string& text :
             {std::string(kFixture.substr(0, middle)) + c.line + "\n" + std::string(kFixture.substr(middle)),
              std::string(kFixture) + c.line}) {
            LoadReport report;
            const AccountStore loaded = AccountStore::Load(text, &report);
            EXPECT_EQ(report.*c.counter, 1u) << c.line;
            EXPECT_EQ(Skipped(report), 1u) << c.line;
            ExpectSameStore(loaded, good, {"ann", "bob", "cat"});
        }
    }
}

TEST(AccountStore, LoadTakesCommentsWindowsLineEndsAndRawBytes) {
    LoadReport report;
    const AccountStore store =
        AccountStore::Load("# a comment\n\n"
                           "account\tRen\xE9"
                           "e\tp%e9\tr%E9e@example.org\r\n"
                           "character\tRen%e9e\tZed\t12\tHuman\tMage\tFemale\tNever\r\n",
                           &report);
    EXPECT_EQ(Skipped(report), 0u);
    const AccountRecord* account = store.Find("Ren\xE9"
                                              "e");
    ASSERT_TRUE(account);
    EXPECT_EQ(account->Password, "p\xE9");
    EXPECT_EQ(account->Email, "r\xE9"
                              "e@example.org");
    EXPECT_EQ(account->Characters,
              (std::vector<CharacterRecord>{{"Zed", 12, "Human", "Mage", "Female", "Never"}}));
}

TEST(AccountStore, BoundsHoldWhenLoadingAndGrowing) {
    std::string text;
    for (std::size_t i = 0; i <= kMaxAccounts; ++i)
        text += "account\tu" + std::to_string(i) + "\tpw\t\n";
    for (std::size_t i = 0; i <= kMaxCharactersPerAccount; ++i)
        text += "character\tu0\tc" + std::to_string(i) + "\t1\tHuman\tMage\tMale\tNever\n";
    text += "character\tu1\textra\t1\tHuman\tMage\tMale\tNever\n";
    LoadReport report;
    AccountStore store = AccountStore::Load(text, &report);
    EXPECT_EQ(store.size(), kMaxAccounts);
    EXPECT_EQ(report.OverBound, 2u);
    EXPECT_EQ(report.OrphanLines, 0u);
    EXPECT_FALSE(store.Find("u" + std::to_string(kMaxAccounts)));
    EXPECT_EQ(store.Find("u0")->Characters.size(), kMaxCharactersPerAccount);

    EXPECT_EQ(store.Create("one more", "pw"), StoreResult::StoreFull);
    EXPECT_EQ(store.size(), kMaxAccounts);
    EXPECT_EQ(store.Transfer("u1", "extra", "u0"), StoreResult::TargetFull);
    EXPECT_EQ(store.Transfer("u0", "c0", "u1"), StoreResult::Ok);
    EXPECT_EQ(store.Transfer("u1", "extra", "u0"), StoreResult::Ok);
    EXPECT_EQ(store.Find("u0")->Characters.size(), kMaxCharactersPerAccount);
}

} // namespace
} // namespace gr::dev
