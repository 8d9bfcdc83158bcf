// The query text of "/google" and "/dictionary".
#include "input/WebQuery.h"

#include <gtest/gtest.h>

namespace gr {
namespace {

TEST(WebQuery, BlanksBecomePlusAndReservedCharactersAreEncoded) {
    struct Case {
        std::string_view typed; // wire bytes (the server's code page)
        std::string_view query;
    };
    const Case cases[] = {
        {"", ""},
        {"gloaming", "gloaming"},
        {"big cats", "big+cats"},
        {"  two  blanks ", "++two++blanks+"},
        {"AZaz09-._~", "AZaz09-._~"},
        {"a+b", "a%2Bb"}, // a typed plus is not a blank
        {"100% sure", "100%25+sure"},
        {"\"cats\"&dogs=1#top?x/y", "%22cats%22%26dogs%3D1%23top%3Fx%2Fy"},
        {":;,@!$'()*[]{}|\\^`<>", "%3A%3B%2C%40%21%24%27%28%29%2A%5B%5D%7B%7D%7C%5C%5E%60%3C%3E"},
        {"\t\r\n", "%09%0D%0A"},
        {"caf\xE9", "caf%C3%A9"}, // e acute, as UTF-8
        {"\x80", "%E2%82%AC"},    // the euro sign of the code page
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.query, WebQueryText(c.typed)) << c.typed;
}

} // namespace
} // namespace gr
