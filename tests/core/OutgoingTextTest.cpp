// Text on its way to the server: no terminator survives, and server fields go back bounded.
#include "core/OutgoingText.h"

#include <gtest/gtest.h>

#include <vector>

namespace gr {
namespace {

TEST(OutgoingText, NoTerminatorSurvives) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"plain", "plain"},     {"a%$b", "ab"},
        {"%$%$", ""},           {"%%$$", ""}, // removing the inner one joins the outer two
        {"%%%$$$", ""},         {"$%$%", "$%"},
        {"100% $5", "100% $5"}, {"%", "%"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(expected, WithoutTerminators(text)) << text;
        EXPECT_EQ(std::string::npos, WithoutTerminators(text).find("%$")) << text;
    }
}

TEST(OutgoingText, EchoIsBoundedAndClean) {
    EXPECT_EQ("Ann", Echo("Ann"));
    EXPECT_EQ(std::string(kMaxEchoBytes, 'x'), Echo(std::string(1 << 20, 'x')));
    EXPECT_EQ("ab", Echo("a%%$$b"));
}

} // namespace
} // namespace gr
