// Server text cut at a bound with a visible mark.
#include "core/BoundText.h"

#include <gtest/gtest.h>

namespace gr {
namespace {

TEST(BoundText, CutsOnlyWhatPassesTheBound) {
    struct Case {
        std::string_view text;
        std::size_t limit;
        std::string_view shown;
    };
    const Case cases[] = {
        {"", 0, ""},
        {"abc", 3, "abc"},
        {"abcd", 3, "abc [...]"},
        {"abcd", 0, " [...]"},
        {std::string_view("a\0b\xff", 4), 2, std::string_view("a\0 [...]", 8)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.shown, BoundText(c.text, c.limit)) << c.text;
}

} // namespace
} // namespace gr
