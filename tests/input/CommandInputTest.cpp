#include "input/CommandInput.h"

#include <gtest/gtest.h>

#include "core/CodePage.h"

namespace gr {
namespace {

TEST(CommandInput, CleaningTheLine) {
    const std::vector<std::tuple<const char*, bool, const char*>> cases = {
        {"say {00c000{hi}%$", false, "say 00c000hi"},
        {"say {00c000{hi}%$", true, "say {00c000{hi}%$"},
        {"//who", false, "/who"},
        {"///who", false, "/who"},
        {"/", false, "/"},
        // No terminator survives, however the braces and the terminators are nested.
        {"%{$", false, ""},
        {"a%}{$b", false, "ab"},
        {"%%$$", false, ""},
        {"%%{$}$x", false, "x"},
        {"%{%$}$", false, ""},
        {"%{$", true, "%{$"}, // a sysop's line is left as typed
    };
    for (const auto& [typed, sysop, cleaned] : cases) EXPECT_EQ(cleaned, CleanCommandLine(typed, sysop)) << typed;
}

TEST(CommandInput, RowsInTableOrder) {
    const std::vector<std::pair<const char*, CommandRow>> cases = {
        {"n", CommandRow::DirectionOrChat},      {"", CommandRow::DirectionOrChat},
        {"/s hello", CommandRow::SpecialSay},     {"/cls", CommandRow::Cls},
        {"/clear", CommandRow::Cls},              {"/cls now", CommandRow::Other},
        {"/ping", CommandRow::Ping},              {"/google cats", CommandRow::Google},
        {"/dictionary word", CommandRow::Dictionary}, {"/forum", CommandRow::Forum},
        {"/voicechat ann", CommandRow::VoiceChat}, {"/voicechat", CommandRow::Other},
        {"/save", CommandRow::Save},              {"/macroset 2", CommandRow::Macro},
        {"/scroll", CommandRow::Scroll},          {"/manager", CommandRow::Manager},
        {"/load a b", CommandRow::Load},          {"/calc 1+1", CommandRow::Calc},
        {"/timer 5", CommandRow::Timer},          {"/version", CommandRow::Version},
        {"/taskbar", CommandRow::Taskbar},        {"/console", CommandRow::Console},
        {"/textbuffersize 5000", CommandRow::TextBufferSize}, {"/textsize 12", CommandRow::Other},
        {"/who", CommandRow::Other},
    };
    for (const auto& [command, row] : cases) EXPECT_EQ(row, ClassifyCommandLine(command)) << command;
}

TEST(CommandInput, DirectionsAndChat) {
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"N", "Dirnn"}, {"North", "Dirnn"}, {"n", "Dirnn"}, {"e", "Diree"}, {"South", "Dirss"}, {"w", "Dirww"},
        {"up", "Diruu"}, {"D", "Dirdd"}, {"n ", "GeneralChatn "}, {"Hello There", "GeneralChatHello There"},
        {"", "GeneralChat"},
    };
    for (const auto& [typed, sent] : cases) EXPECT_EQ(sent, DirectionOrChat(LowerCase(typed), typed)) << typed;
}

TEST(CommandInput, TextSettings) {
    const auto small = TextBufferSizeCommand("/textbuffersize 500", 40000);
    EXPECT_EQ(1000, small.Size);
    EXPECT_EQ((std::vector<std::string>{"Value must be greater than 1000 characters.",
                                        "The text buffer is currently set to 1000 characters"}),
              small.Print);
    const auto big = TextBufferSizeCommand("/textbuffersize 99999999999999", 40000);
    EXPECT_EQ(100000, big.Size);
    const auto none = TextBufferSizeCommand("/textbuffersize", 40000);
    EXPECT_FALSE(none.Size);
    EXPECT_EQ(std::vector<std::string>{"The text buffer is currently set to 40000 characters"}, none.Print);
    EXPECT_EQ(5000, TextBufferSizeCommand("/textbuffersize 5000", 40000).Size);
    EXPECT_EQ(12, TextSizeCommand("/textsize 12"));
    EXPECT_FALSE(TextSizeCommand("/textsize 9"));
    EXPECT_FALSE(TextSizeCommand("/textsize"));
    EXPECT_EQ("The text size is currently set to 8. It can be changed to 8,10,12,14,16,18", TextSizeLine(8));
    EXPECT_EQ((std::vector<std::string>{"bob", "", "ann"}), LoadNames("/load  bob  ann "));
}

TEST(CommandInput, HistoryAndRecentLines) {
    InputHistory h;
    EXPECT_EQ("", h.Up()); // two wraps over an empty history
    h.Finish("");          // an empty line while slot 0 is empty changes nothing
    EXPECT_EQ("", h.CommandHistory[0]);
    for (const char* line : {"one", "two", "two", "a%$b", "x"}) h.Finish(line);
    EXPECT_EQ((std::vector<std::string>{"x", "a%$b", "two", "one", ""}),
              std::vector<std::string>(h.CommandHistory.begin(), h.CommandHistory.begin() + 5));
    EXPECT_EQ("x", h.Up());
    EXPECT_EQ("a%$b", h.Up());
    h.HistoryPosition = -1;
    EXPECT_EQ("one", h.Down()); // Down starts from the oldest
    // Lines of two or more characters are logged, newest last, with "%$" as "NLC".
    EXPECT_EQ((std::vector<std::string>{"", "one", "two", "two", "aNLCb"}),
              std::vector<std::string>(h.RecentCommands.begin() + 10, h.RecentCommands.end()))
        << "x is too short to be logged";
    std::string nothing;
    for (int i = 0; i < 15; ++i) nothing += "NLC";
    EXPECT_EQ("Monitorabc/" + nothing, InputHistory().MonitorAnswer("abc"));
    // A huge requester name is not echoed whole.
    EXPECT_EQ("Monitor" + std::string(256, 'r') + "/" + nothing, InputHistory().MonitorAnswer(std::string(1 << 20, 'r')));
}

} // namespace
} // namespace gr
