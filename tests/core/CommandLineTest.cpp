#include "core/CommandLine.h"

#include <gtest/gtest.h>

namespace gr {
namespace {

constexpr int kScreenW = 1920 * 15;
constexpr int kScreenH = 1080 * 15;

TEST(CommandLine, FieldsApplyByCount) {
    struct Case {
        const char* line;
        std::optional<std::string> user, password;
        std::optional<int> server;
        std::optional<std::string> character;
        std::optional<int> width, height;
        std::optional<std::string> skin;
    };
    const std::vector<Case> cases = {
        {"", {}, {}, {}, {}, {}, {}, {}},
        {"bob/secret", {}, {}, {}, {}, {}, {}, {}}, // two fields change nothing
        {"bob/secret/1", "bob", "secret", 1, {}, {}, {}, {}},
        {"bob/secret/x", "bob", "secret", 0, {}, {}, {}, {}},
        {"bob/secret/1z/Ranger", "bob", "secret", 1, "ranger", {}, {}, {}},
        {"bob/secret/0/Ranger'800'600", "bob", "secret", 0, "ranger", 12000, 9000, {}},
        {"bob/secret/0/Ranger'-800'600", "bob", "secret", 0, "ranger", 12000, 9000, {}},
        {"bob/secret/0/Ranger'4000'3000", "bob", "secret", 0, "ranger", kScreenW - 1500, kScreenH - 1500, {}},
        {"bob/secret/0/Ranger'800", "bob", "secret", 0, "ranger", {}, {}, {}},
        {"bob/secret/0/Ranger'800'600'1", "bob", "secret", 0, "ranger", {}, {}, {}},
        {"bob/secret/0/Ranger'99999999999'600", "bob", "secret", 0, "ranger", {}, {}, {}},
        // Sizes are read with bounds: a value that is not a number or beyond 1,000,000 pixels leaves both
        // unset.
        {"bob/secret/0/Ranger'-2147483648'600", "bob", "secret", 0, "ranger", {}, {}, {}},
        {"bob/secret/0/Ranger'800'-2147483648", "bob", "secret", 0, "ranger", {}, {}, {}},
        {"bob/secret/0/Ranger'-143165576.5333333'600", "bob", "secret", 0, "ranger", {}, {}, {}},
        {"bob/secret/0/Ranger'1000001'600", "bob", "secret", 0, "ranger", {}, {}, {}},
        {"bob/secret/0/Ranger'1000000'-1000000",
         "bob",
         "secret",
         0,
         "ranger",
         kScreenW - 1500,
         kScreenH - 1500,
         {}},
        {"bob/secret/0/Ranger'wide'600", "bob", "secret", 0, "ranger", {}, {}, {}},
        {"bob/secret/0/Ranger''600", "bob", "secret", 0, "ranger", {}, {}, {}},
        {"bob/secret/0/Ranger'-'600", "bob", "secret", 0, "ranger", {}, {}, {}},
        {"bob/secret/0/Ranger' 640px'0", "bob", "secret", 0, "ranger", 9600, 0, {}},
        {"bob/secret/0//Dusk", "bob", "secret", 0, "", {}, {}, "Dusk"},
        {"My Name/pass word/1/\xC9LAN/Dark Skin", "My Name", "pass word", 1, "\xE9lan", {}, {}, "Dark Skin"},
    };
    for (const auto& c : cases) {
        const auto f = ParseCommandLine(c.line, kScreenW, kScreenH);
        EXPECT_EQ(c.user, f.UserName) << c.line;
        EXPECT_EQ(c.password, f.Password) << c.line;
        EXPECT_EQ(c.server, f.ServerIndex) << c.line;
        EXPECT_EQ(c.character, f.AutoPlayCharacter) << c.line;
        EXPECT_EQ(c.width, f.StartWidth) << c.line;
        EXPECT_EQ(c.height, f.StartHeight) << c.line;
        EXPECT_EQ(c.skin, f.Skin) << c.line;
    }
}

TEST(CommandLine, ArgumentsJoinWithSingleBlanks) {
    EXPECT_EQ("My Name/pw/0", JoinArguments({"My", "Name/pw/0"}));
    EXPECT_EQ("a  b", JoinArguments({"a", "", "b"}));
    EXPECT_EQ("", JoinArguments({}));
}

} // namespace
} // namespace gr
