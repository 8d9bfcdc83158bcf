// The account manager's rules over the character list, and the login messages' keywords.
#include <gtest/gtest.h>

#include "core/CodePage.h"
#include "core/Numbers.h"
#include "core/RunTimeError.h"
#include "core/SafeName.h"
#include "login/AccountRecords.h"
#include "login/LoginMessages.h"

namespace gr {
namespace {

std::vector<std::string> Names(const CritGrid& grid, int rows) {
    std::vector<std::string> names;
    for (int r = 0; r < rows; ++r)
        names.push_back(grid[std::size_t(r)][0]);
    return names;
}

TEST(LoginMessages, KeywordsInTableOrder) {
    const std::vector<std::pair<std::string, LoginMessage>> cases = {
        {"GenerateUserStatsIn1/2", LoginMessage::GenerateUser},
        {"AccountMSGHello", LoginMessage::AccountMsg},
        {"AccountMSG", LoginMessage::AccountMsg},
        {"AccountEnableCrit", LoginMessage::AccountEnableCrit},
        {"AccountEnableCritX", LoginMessage::AccountEnableCrit},
        {"Account", LoginMessage::None},
        {"AccountMsgHello", LoginMessage::None}, // case-sensitive
        {"Password", LoginMessage::Password},
        {"PasswordWrong", LoginMessage::Password},
        {"password", LoginMessage::None},
        {"Displaybob/e/0/", LoginMessage::Display},
        {"CritInfoa^%^b", LoginMessage::CritInfo},
        {"InUse", LoginMessage::InUse},
        {"InUseNow", LoginMessage::None}, // exact
        {"DayBanRemove", LoginMessage::DayBanRemove},
        {"DayBanned", LoginMessage::DayBanned},
        {"DayBannedX", LoginMessage::None},
        {"SysMsgBanned", LoginMessage::SysMsgBanned},
        {"SysMsgBanned ", LoginMessage::None},
        {"KEYCODE 59key", LoginMessage::KeyCode},
        {"keycode 59key", LoginMessage::None},
        {"HPChange5", LoginMessage::None},
    };
    for (const auto& [message, expected] : cases)
        EXPECT_EQ(expected, ClassifyLoginMessage(message)) << message;
}

TEST(LoginMessages, KeyCodeFields) {
    EXPECT_EQ(59, KeyCodeVersion("KEYCODE 59abc"));
    EXPECT_EQ(7, KeyCodeVersion("KEYCODEx07abc"));
    EXPECT_EQ("abc", KeyCodeKey("KEYCODE 59abc"));
    EXPECT_EQ(std::string(32, 'k'), KeyCodeKey("KEYCODE 59" + std::string(40, 'k')));
    EXPECT_EQ("", KeyCodeKey("KEYCODE 5"));
    EXPECT_EQ(5, KeyCodeVersion("KEYCODE 5"));
    EXPECT_THROW(KeyCodeVersion("KEYCODE "), RunTimeError);
    EXPECT_THROW(KeyCodeVersion("KEYCODE xxkey"), RunTimeError);
    EXPECT_EQ("", TextFrom("abc", 5));
    EXPECT_EQ((std::vector<std::string_view>{"a", "", "b", ""}), SplitFields("a^%^^%^b^%^", "^%^"));
}

TEST(AccountRecords, DisplayListsAppendAfterTheRowsHeld) {
    EXPECT_FALSE(ParseDisplay("bob/mail"));
    const auto display =
        ParseDisplay("bob/bob@x/2/Aldric:3:Elf:Mage:Male:Never/Short:1:2:3:4/Brynn:1:Orc:Rogue:Female:Never/"
                     "Long:1:2:3:4:5:6/Corwen:9:Human:Cleric:Male:2026-12-01/");
    ASSERT_TRUE(display);
    EXPECT_EQ("bob", display->AccountName);
    EXPECT_EQ("bob@x", display->Email);
    CritGrid table = EmptyCritGrid();
    AppendCritRecords(table, display->Records);
    // Records of five or seven values leave their rows empty; later ones keep their own row numbers.
    EXPECT_EQ((std::vector<std::string>{"Aldric", "", "Brynn", "", "Corwen", ""}), Names(table, 6));
    EXPECT_EQ("Mage", table[0][3]);
    // A second list starts at the first unused row.
    AppendCritRecords(table, {"Dara:2:Elf:Ranger:Female:Never"});
    EXPECT_EQ((std::vector<std::string>{"Aldric", "Dara", "Brynn", "", "Corwen", ""}), Names(table, 6));
}

TEST(AccountRecords, ListBeyondTheLastRowIsIgnored) {
    CritGrid table = EmptyCritGrid();
    AppendCritRecords(table, std::vector<std::string>(kCritRows + 20, "X:1:a:b:c:d"));
    EXPECT_EQ(std::size_t(kCritRows), table.size());
    EXPECT_EQ("X", table.back()[0]);
}

TEST(AccountRecords, RemoveMovesTheRowsBelowUp) {
    CritGrid table = EmptyCritGrid();
    AppendCritRecords(table, {"A:1:a:a:a:a", "B:2:b:b:b:b", "C:3:c:c:c:c"});
    EXPECT_FALSE(RemoveCritRecord(table, "Z"));
    EXPECT_TRUE(RemoveCritRecord(table, "B"));
    EXPECT_EQ((std::vector<std::string>{"A", "C", ""}), Names(table, 3));
    EXPECT_EQ("3", table[1][1]);
    EXPECT_EQ(std::size_t(kCritRows), table.size());
}

TEST(AccountRecords, ViewFiltersAndSortsStably) {
    CritGrid table = EmptyCritGrid();
    AppendCritRecords(table, {"bram:12:Orc:Rogue:Male:Never", "Aldric:3:Elf:Mage:Male:Never", "",
                              "Brynn:9:Elf:Mage:Female:Never", "alma:3:Human:Cleric:Female:Never"});
    struct Case {
        const char* filter;
        int column;
        std::vector<std::string> names;
    };
    const std::vector<Case> cases = {
        {"", -1, {"bram", "Aldric", "", "Brynn", "alma"}}, // as listed, the unused row kept
        {"", 0, {"Aldric", "alma", "bram", "Brynn", ""}},  // names without regard to case
        {"", 1, {"Aldric", "alma", "Brynn", "bram", ""}},  // levels by value, ties keep their order
        {"", 3, {"alma", "Aldric", "Brynn", "bram", ""}},  // Cleric, Mage, Mage, Rogue
        {"BR", -1, {"bram", "Brynn", "", "", ""}},         // only names that begin with the text
        {"br", 1, {"Brynn", "bram", "", "", ""}},          {"zz", 0, {"", "", "", "", ""}},
    };
    for (const auto& c : cases) {
        const CritGrid view = BuildCritView(table, c.filter, c.column);
        EXPECT_EQ(std::size_t(kCritRows), view.size());
        EXPECT_EQ(c.names, Names(view, 5)) << c.filter << " " << c.column;
    }
    // A sorted record keeps its six fields together.
    const CritGrid byLevel = BuildCritView(table, "", 1);
    EXPECT_EQ((CritRecord{"bram", "12", "Orc", "Rogue", "Male", "Never"}), byLevel[3]);
    EXPECT_EQ("Brynn", TypedCharacter(BuildCritView(table, "bry", -1), "bry"));
    EXPECT_EQ("Nobody", TypedCharacter(BuildCritView(table, "Nobody", -1), "Nobody"));
}

TEST(AccountRecords, SortOverMixedColumnsIsOneOrder) {
    // Levels that mix numbers and text made the old pairwise comparison cycle ("9" < "10" by value,
    // "10" < "5a" and "5a" < "9" as text), which std::sort may not be given. Numbers come first by value
    // (equal values keep their order), then other text without regard to case, then the unused rows.
    CritGrid table = EmptyCritGrid();
    AppendCritRecords(table, {"e:5a:a:b:c:d", "", "a:10:a:b:c:d", "b:9:a:b:c:d", "", "c:X:a:b:c:d",
                              "d:9:a:b:c:d", "f:010:a:b:c:d", "g::a:b:c:d", "h:abc:a:b:c:d", "i:-3:a:b:c:d"});
    EXPECT_EQ((std::vector<std::string>{"i", "b", "d", "a", "f", "g", "e", "h", "c", "", ""}),
              Names(BuildCritView(table, "", 1), 11));

    // A longer list of such values: whatever order it comes in, the result is numbers ascending, then text
    // ascending, and equal keys in the order they were listed.
    const std::vector<std::string> levels = {"9", "10", "5a", "",   "x",  "010",
                                             "7", "b",  "B",  "-1", "5a", "100"};
    std::vector<std::string> records;
    for (int i = 0; i < 120; ++i)
        records.push_back("n" + std::to_string(i) + ":" + levels[std::size_t(i * 7 % 12)] + ":a:b:c:d");
    CritGrid many = EmptyCritGrid();
    AppendCritRecords(many, records);
    const CritGrid view = BuildCritView(many, "", 1);
    std::size_t r = 0;
    for (; r < 120 && WholeNumber(view[r][1]); ++r) {
        if (r == 0) continue;
        EXPECT_LE(*WholeNumber(view[r - 1][1]), *WholeNumber(view[r][1])) << r;
        if (*WholeNumber(view[r - 1][1]) == *WholeNumber(view[r][1])) {
            EXPECT_LT(std::stoi(view[r - 1][0].substr(1)), std::stoi(view[r][0].substr(1))) << r;
        }
    }
    EXPECT_EQ(std::size_t(60), r); // 9, 10, 010, 7, -1 and 100: six of every twelve
    for (++r; r < 120; ++r) {
        EXPECT_FALSE(WholeNumber(view[r][1])) << r;
        EXPECT_LE(LowerCase(view[r - 1][1]), LowerCase(view[r][1])) << r;
    }
    EXPECT_TRUE(view[120][0].empty());
}

TEST(AccountRecords, PasswordRules) {
    const std::vector<std::tuple<const char*, const char*, std::optional<std::string>>> cases = {
        {"abcdefgh12", "abcdefgh13", "Password's don't match"},
        {"abc12", "abc12", "AccountErrorPassword has to be at least 10 characters long."},
        {"abcdefghi1", "abcdefghi1", "AccountErrorPassword has to contain at least 2 numbers."},
        {"abcdefgh12", "abcdefgh12", std::nullopt},
        {"1234567890", "1234567890", std::nullopt},
    };
    for (const auto& [password, confirmation, refusal] : cases)
        EXPECT_EQ(refusal, PasswordRefusal(password, confirmation)) << password;
}

TEST(AccountRecords, OnlySafeNamesReachFileNames) {
    const std::string tooLong(kMaxSafeNameBytes + 1, 'a');
    for (const std::string& unsafe : {std::string(), std::string("../evil"), std::string("a/b"), std::string("a\\b"),
                                      std::string(".."), std::string("C:x"), std::string("tab\there"),
                                      std::string("nul\0x", 5), std::string("del\x7F"), tooLong}) {
        EXPECT_FALSE(IsSafeFileNamePart(unsafe)) << unsafe;
        EXPECT_TRUE(MacroFileNames(unsafe).empty()) << unsafe;
    }
    EXPECT_TRUE(IsSafeFileNamePart("Sir Aldric \xE9"));
    EXPECT_TRUE(IsSafeFileNamePart(std::string(kMaxSafeNameBytes, 'a')));
    EXPECT_EQ((std::vector<std::string>{"macros_Bo.txt", "macros_Bo_1.txt", "macros_Bo_2.txt",
                                        "macros_Bo_3.txt", "macros1_Bo.txt", "macros1_Bo_1.txt",
                                        "macros1_Bo_2.txt", "macros1_Bo_3.txt"}),
              MacroFileNames("Bo"));
    EXPECT_EQ((std::vector<std::string>{"LMB_Bo", "RMB_Bo", "SPR_Bo", "SPB_Bo", "SCR_Bo"}),
              CharacterSettingKeys("Bo"));
}

} // namespace
} // namespace gr
