#include "input/Macros.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/RunTimeError.h"
#include "login/AccountRecords.h"

namespace gr {
namespace {

TEST(Macros, MacroCommand) {
    enum class Outcome { Defined, Refused, Failure, Overflow };
    struct Case {
        const char* typed;
        Outcome outcome;
        std::size_t row = 0;
        const char* text = "";
        std::optional<std::string> flag = std::nullopt;
    };
    const std::vector<Case> cases = {
        {"/macro 1 say hi^1", Outcome::Defined, 0, "say hi", "1"},
        {"/macro special /tell bob ^0", Outcome::Defined, 12, "/tell bob ", "0"},
        {"/macro SPECIAL x", Outcome::Defined, 12, "x"},
        {"/macro 13 x", Outcome::Defined, 12, "x"},
        {"/macro 12 x", Outcome::Defined, 11, "x"},
        {"/macro 1.0 x", Outcome::Defined, 0, "x"},
        {"/macro +3 x", Outcome::Defined, 2, "x"},
        {"/macro 1e1 x", Outcome::Defined, 9, "x"},
        {"/macro 2 Two  Blanks ", Outcome::Defined, 1, "Two  Blanks "},
        {"/macro 1 ", Outcome::Defined, 0, ""}, // a number and an empty text: the macro is emptied
        // The endings: "^0" is taken off first, then "^1".
        {"/macro 1 a^1^0", Outcome::Defined, 0, "a", "1"},
        {"/macro 1 a^0^1", Outcome::Defined, 0, "a^0", "1"},
        {"/macro 1 a^0", Outcome::Defined, 0, "a", "0"},
        {"/macro 1 ^1", Outcome::Defined, 0, "", "1"},
        {"/macro 1 a^2", Outcome::Defined, 0, "a^2"},
        {"/macro 1 a ^ 1", Outcome::Defined, 0, "a ^ 1"},
        // A line break would split the file's rows: it becomes a blank.
        {"/macro 4 one\r\ntwo\nthree", Outcome::Defined, 3, "one  two three"},
        // Refused without a word.
        {"/macro 14 x", Outcome::Refused},
        {"/macro 2.5 x", Outcome::Refused},
        {"/macro -1 x", Outcome::Refused},
        {"/macro 99999999999999999999 x", Outcome::Refused},
        {"/macro 1", Outcome::Refused},
        {"/macro", Outcome::Refused},
        {"/macroset", Outcome::Refused},
        // Run-time failures: the line stays typed.
        {"/macro  1 x", Outcome::Failure}, // the number part is empty
        {"/macro abc x", Outcome::Failure},
        {"/macro 0 x", Outcome::Failure},
        {"/macro -0 x", Outcome::Failure},
        {"/macro 1x x", Outcome::Failure},
        {"/macro inf x", Outcome::Failure},
        {"/macro nan x", Outcome::Failure},
        {"/macro 0x1 x", Outcome::Failure},
        {"/macro - x", Outcome::Failure},
        {"/macro 1e x", Outcome::Failure},
        {"/macro +-1 x", Outcome::Failure},
        {"/macroset2 x", Outcome::Failure},
        {"/macro 1e400 x", Outcome::Overflow},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        switch (c.outcome) {
        case Outcome::Defined: {
            const auto definition = MacroCommand(c.typed);
            ASSERT_TRUE(definition);
            EXPECT_EQ(c.row, definition->Row);
            EXPECT_EQ(c.text, definition->Text);
            EXPECT_EQ(c.flag, definition->Flag);
            break;
        }
        case Outcome::Refused:
            EXPECT_FALSE(MacroCommand(c.typed));
            break;
        case Outcome::Failure:
            try {
                (void)MacroCommand(c.typed);
                ADD_FAILURE() << "no failure";
            } catch (const OverflowError&) {
                ADD_FAILURE() << "an overflow";
            } catch (const RunTimeError&) {
            }
            break;
        case Outcome::Overflow:
            EXPECT_THROW((void)MacroCommand(c.typed), OverflowError);
            break;
        }
    }
}

TEST(Macros, MacroSetCommand) {
    const std::vector<std::pair<const char*, std::optional<int>>> cases = {
        {"/macroset 1", 0},
        {"/macroset 2", 1},
        {"/macroset 4", 3},
        {"/macroset  3", 2},
        {"/macroset 3abc", 2},
        {"/macroset 2.0", 1},
        {"/macroset 5", std::nullopt},
        {"/macroset 0", std::nullopt},
        {"/macroset -1", std::nullopt},
        {"/macroset 2.5", std::nullopt},
        {"/macroset x", std::nullopt},
        {"/macroset ", std::nullopt},
    };
    for (const auto& [command, set] : cases)
        EXPECT_EQ(set, MacroSetCommand(command)) << command;
}

TEST(Macros, FlagsAndNames) {
    // Both forms a file may hold (the command's "1", the editor's " 1 ") mean the same.
    for (const char* set : {"1", " 1 ", "1.0", "01", "1abc", "+1"})
        EXPECT_TRUE(MacroFlagSet(set)) << set;
    for (const char* clear : {"0", " 0 ", "", "2", "-1", "1.5", "x1"})
        EXPECT_FALSE(MacroFlagSet(clear)) << clear;

    EXPECT_EQ("macros_Bo", MacroFilePrefix("Bo", 0));
    EXPECT_EQ("macros1_Bo", MacroFilePrefix("Bo", 1));
    EXPECT_EQ("macros1_Bo", MacroFilePrefix("Bo", 3));
    for (const std::string& unsafe :
         std::vector<std::string>{"", "../Bo", "a/b", "a\\b", "c:b", "a\nb", std::string(65, 'a')})
        EXPECT_FALSE(MacroFilePrefix(unsafe, 0)) << unsafe;

    const std::vector<std::string> suffixes = {MacroSetSuffix(0), MacroSetSuffix(1), MacroSetSuffix(2),
                                               MacroSetSuffix(3)};
    EXPECT_EQ((std::vector<std::string>{"", "_1", "_2", "_3"}), suffixes);
    for (int set = 0; set < kMacroSets; ++set)
        EXPECT_EQ(set, MacroSetOf(MacroSetSuffix(set)));

    // Every file the game writes for a character is one the account manager removes with it.
    const std::vector<std::string> removed = MacroFileNames("Bo");
    for (int server : {0, 1})
        for (int set = 0; set < kMacroSets; ++set) {
            const std::string name = MacroFileName(*MacroFilePrefix("Bo", server), MacroSetSuffix(set));
            EXPECT_NE(removed.end(), std::find(removed.begin(), removed.end(), name)) << name;
        }
}

MacroTable Filled(const std::string& tag) {
    MacroTable table;
    for (std::size_t r = 0; r < kMacroRows; ++r)
        table[r] = {tag + std::to_string(r), r % 2 ? "1" : "0"};
    return table;
}

TEST(Macros, FileWritingAndRoundTrip) {
    MacroTable table;
    table[0] = {"n", "1"};
    table[12] = {"/tell bob ", "0"};
    std::string expected = "n\r\n1\r\n";
    for (int r = 1; r < 12; ++r)
        expected += "\r\n\r\n";
    expected += "/tell bob \r\n0\r\n";
    EXPECT_EQ(expected, MacroFileText(table));

    // Texts of the code page, blanks at either end, both flag forms: read back as written.
    MacroTable rich = Filled("t");
    rich[1] = {" caf\xE9 \x80 ", EditorFlag(true)};
    rich[2] = {"", EditorFlag(false)};
    rich[3] = {"^1", "whatever the flag held"};
    MacroTable back;
    EXPECT_EQ(kMacroRows, ReadMacroFile(MacroFileText(rich), back));
    EXPECT_EQ(rich, back);
    EXPECT_EQ(" 1 ", EditorFlag(true));
    EXPECT_EQ(" 0 ", EditorFlag(false));

    // A line break in a table never shifts the rows after it.
    MacroTable broken = Filled("b");
    broken[0][0] = "one\r\ntwo";
    broken[5][1] = "1\n";
    ASSERT_EQ(kMacroRows, ReadMacroFile(MacroFileText(broken), back));
    EXPECT_EQ("one  two", back[0][0]);
    EXPECT_EQ("1 ", back[5][1]);
    EXPECT_EQ(broken[12], back[12]);
}

TEST(Macros, FileReading) {
    struct Case {
        std::string bytes;
        std::size_t reached;
        std::vector<std::array<std::string, 2>> rows; // the first rows read
    };
    std::string thirty;
    for (int i = 0; i < 30; ++i)
        thirty += "L" + std::to_string(i) + "\r\n";
    const std::vector<Case> cases = {
        {"", 0, {}},
        {"a\r\n1\r\n", 1, {{"a", "1"}}},
        {"a\r\n1", 1, {{"a", "1"}}}, // no line end after the last line
        {"a\r\n", 1, {{"a", ""}}},   // a text without its flag line
        {"a\r\n1\r\nb", 2, {{"a", "1"}, {"b", ""}}},
        {"a\n1\nb\n 1 \n", 2, {{"a", "1"}, {"b", " 1 "}}}, // line feeds alone
        {"a\r1\rb\r0", 2, {{"a", "1"}, {"b", "0"}}},       // carriage returns alone
        {"\r\n\r\n\r\n", 2, {{"", ""}, {"", ""}}},
        {thirty, 13, {{"L0", "L1"}, {"L2", "L3"}}}, // lines beyond the 26th are not read
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        MacroTable table = Filled("old");
        EXPECT_EQ(c.reached, ReadMacroFile(c.bytes, table));
        for (std::size_t r = 0; r < c.rows.size(); ++r)
            EXPECT_EQ(c.rows[r], table[r]) << r;
        // Rows the file does not reach keep what they held.
        for (std::size_t r = c.reached; r < kMacroRows; ++r)
            EXPECT_EQ(Filled("old")[r], table[r]) << r;
    }
    MacroTable table = Filled("x");
    ReadMacroFile(thirty, table);
    EXPECT_EQ("L24", table[12][0]);
    EXPECT_EQ("L25", table[12][1]);

    // A line longer than any macro is cut; the next line is still the next row's.
    const std::string longLine(kMaxMacroTextBytes + 50, 'z');
    table = {};
    EXPECT_EQ(2u, ReadMacroFile(longLine + "\r\n1\r\nnext\r\n0\r\n", table));
    EXPECT_EQ(kMaxMacroTextBytes, table[0][0].size());
    EXPECT_EQ("next", table[1][0]);
}

} // namespace
} // namespace gr
