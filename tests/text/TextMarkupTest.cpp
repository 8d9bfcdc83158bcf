// The text markup of the game's lines and the link search of a click.
#include "text/TextMarkup.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/Random.h"
#include "core/BoundText.h"
#include "support/ScriptedRandom.h"

namespace gr {
namespace {

using Scripted = test::ScriptedRandom;

// The operations in short: "[text|bbggrr sN i u]" for text (size only when not 8), "/" for a line
// break, "$" for the end-of-line reset.
std::string Show(const std::vector<DrawOp>& ops) {
    std::string out;
    for (const DrawOp& op : ops) {
        if (op.What == DrawOp::Kind::LineBreak) {
            out += "/";
        } else if (op.What == DrawOp::Kind::EndOfLine) {
            out += "$";
        } else {
            char colour[8];
            std::snprintf(colour, sizeof colour, "%06x", static_cast<unsigned>(op.Style.Colour));
            out += "[" + op.Text + "|" + colour;
            if (op.Style.Size != 8) out += " s" + std::to_string(op.Style.Size);
            if (op.Style.Italic) out += " i";
            if (op.Style.Underline) out += " u";
            out += "]";
        }
    }
    return out;
}

std::string Draw(const std::string& line, MarkupState& state, int textSize = 8,
                 std::vector<int> draws = {7}) {
    Scripted random(std::move(draws));
    return Show(MarkupOps(line, state, textSize, random));
}

struct Case {
    const char* line;
    int textSize;
    const char* drawn;
};

TEST(TextMarkup, LinesDrawAsTheirTagsSay) {
    const Case cases[] = {
        {"{00c000{Hello", 8, "[Hello|00c000]/$"},
        {"{ff0000{Blue}{0000ff{Red", 8, "[Blue|ff0000]/[Red|0000ff]/$"},
        {"plain text without tags", 8, "/$"},
        {"", 8, "$"},
        {"}}{00c000{a}}", 8, "[a|00c000]/$"},                      // empty segments draw nothing
        {"hidden{00c000{a{0000ff{b", 8, "[a|00c000][b|0000ff]/$"}, // piece 0 is never shown
        {"{00c000{", 8, "/$"},                                     // a tag with an empty text piece
        {"{u{under{u{over", 8, "[under|c0c0c0 u][over|c0c0c0]/$"},
        {"{i{lean{u{both", 8, "[lean|c0c0c0 i][both|c0c0c0 i u]/$"},
        {"{FF00aa{x{{y", 8, "[x|ff00aa][y|000000]/$"}, // either case; an empty colour tag is black
        {"{s30{big", 8, "[big|c0c0c0 s30]/$"},
        {"{s4{small", 12, "[small|c0c0c0 s12]/$"},
        {"{s99{huge", 8, "[huge|c0c0c0 s50]/$"},
        {"{s-3{x{s 14{y", 8, "[x|c0c0c0][y|c0c0c0 s14]/$"},
        {"{ff8888{see http://x.org now", 8, "[see |ff8888][http://x.org|ff9c5c u][ now|ff8888]/$"},
        {"{u{ftp://a.b}{c{c", 8, "[ftp://a.b|ff9c5c u]/[c|00000c u]/$"},
        {"{ff8888{a  http://x", 8, "[a  |ff8888][http://x|ff9c5c u]/$"}, // split on single spaces
        {"{ff8888{see xhttp://a", 8, "[see xhttp://a|ff8888]/$"},        // not at a word start
    };
    for (const Case& c : cases) {
        MarkupState state;
        EXPECT_EQ(c.drawn, Draw(c.line, state, c.textSize)) << c.line;
        EXPECT_FALSE(state.Style.Italic || state.Style.Underline) << c.line;
    }
}

TEST(TextMarkup, PieceThatCannotBeInterpretedEndsTheLineThere) {
    const Case cases[] = {
        {"{00c000{ok{zz{never", 8, "[ok|00c000]"},      // not hexadecimal
        {"{00c000{ok{1000000{never", 8, "[ok|00c000]"}, // more than a colour holds
        {"{00c000{ok{U{never", 8, "[ok|00c000]"},       // tags are case-sensitive
        {"{s{x", 8, ""},                                // "s" without a number
        {"{s12abc{x", 8, ""},
        {"{00c000{a}{0000ff", 8, "[a|00c000]/"}, // a final tag with no text after it
        {"{00c000{a}{ff0000{b}{0000ff{c{s{d", 8, "[a|00c000]/[b|ff0000]/[c|0000ff]"},
    };
    for (const Case& c : cases) {
        MarkupState state;
        EXPECT_EQ(c.drawn, Draw(c.line, state, c.textSize)) << c.line;
    }
}

TEST(TextMarkup, FailedLineKeepsItsItalicsAndUnderlineForTheNext) {
    MarkupState state;
    EXPECT_EQ("[a|c0c0c0 i u]", Draw("{u{{i{a{s{b", state));
    EXPECT_EQ("[next|00c000 i u]/$", Draw("{00c000{next", state));
    EXPECT_EQ("[then|00c000]/$", Draw("{s8{then", state)); // the completed line reset them
}

TEST(TextMarkup, FinalTagIsAppliedBeforeTheLineFails) {
    MarkupState state;
    EXPECT_EQ("[a|00c000]/", Draw("{00c000{a}{0000ff", state));
    EXPECT_EQ(0x0000FFu, state.Style.Colour);
}

TEST(TextMarkup, ColourAndSizeCarryToTheNextLine) {
    MarkupState state;
    EXPECT_EQ("[red|0000ff s20 u]/$", Draw("{0000ff{{s20{{u{red", state));
    EXPECT_EQ("[still|0000ff s20]/$", Draw("{i{{i{still", state));
}

TEST(TextMarkup, RainbowDrawsAColourForEveryCharacterButSpaces) {
    MarkupState state;
    // a takes the first six draws, b the next six, c repeats the last; the space keeps b's colour.
    EXPECT_EQ("[x|00c000][a|345678][b |fedcba][c|aaaaaa][def|00c000]/$",
              Draw("{00c000{x{rc{ab c{rc{def", state, 8, {3, 4, 5, 6, 7, 8, 15, 14, 13, 12, 11, 10}));
    // Digits are drawn from 3 to F, or from 2 to F for words in a piece that holds a link; the link
    // itself restores the colour the piece started with.
    EXPECT_EQ("[ab|333333]/$", Draw("{rc{ab", state, 8, {0}));
    EXPECT_EQ("[ab|ffffff]/$", Draw("{rc{ab", state, 8, {99}));
    EXPECT_EQ("[ab |222222][http://x.y|ff9c5c u][ |00c000][cd|222222]/$",
              Draw("{00c000{{rc{ab http://x.y cd", state, 8, {0}));
    // An unpaired "rc" leaves the last random colour for the lines that follow, with rainbow off.
    EXPECT_EQ("[a|345678]/$", Draw("{rc{a", state, 8, {3, 4, 5, 6, 7, 8}));
    EXPECT_EQ("[plain|345678]/$", Draw("{u{{u{plain", state));
}

TEST(TextMarkup, OverlongLineIsCutWithAVisibleMark) {
    MarkupState state;
    // Draws that go round the range, so that every rainbow character differs from the one before.
    struct Cycling final : RandomSource {
        int Between(int lo, int hi) override { return lo + next++ % (hi - lo + 1); }
        int next = 0;
    } random;
    const DrawOp mark{DrawOp::Kind::Text, std::string(kCutMark), TextStyle{kCutMarkColour, 8, false, false}};
    // Too many bytes: the rest of the line is not read, not even its tags; the mark ends what is shown.
    const std::string longLine = "{00c000{" + std::string(kMaxMarkupLineBytes, 'x') + "{zz{lost";
    std::vector<DrawOp> ops = MarkupOps(longLine, state, 8, random);
    ASSERT_EQ(4u, ops.size());
    EXPECT_EQ(kMaxMarkupLineBytes - 8, ops[0].Text.size());
    EXPECT_EQ(mark, ops[1]);
    EXPECT_EQ(DrawOp::Kind::LineBreak, ops[2].What);
    EXPECT_EQ(DrawOp::Kind::EndOfLine, ops.back().What);
    // The bound cuts through a tag (its last four bytes are kept): that is no faulty tag, the line is
    // still shown and marked.
    const std::string ys(kMaxMarkupLineBytes - 4 - 9, 'y');
    for (const std::string tail : {"{00c000{more", "{zzzzz", "{{{{{{"}) {
        ops = MarkupOps("{ffffff{" + ys + "}" + tail, state, 8, random);
        EXPECT_EQ("[" + ys + "|ffffff]/[" + std::string(kCutMark) + "|a8a8a8]/$", Show(ops)) << tail;
    }
    // Too many runs: the line ends after the last run that fits, with the mark.
    const std::string manyRuns = "{u{{rc{" + std::string(2 * kMaxTextRuns, 'y') + "}{00c000{lost";
    ops = MarkupOps(manyRuns, state, 8, random);
    ASSERT_EQ(kMaxTextRuns + 3, ops.size());
    EXPECT_EQ(DrawOp::Kind::Text, ops[kMaxTextRuns - 1].What);
    EXPECT_EQ(mark, ops[kMaxTextRuns]);
    EXPECT_EQ(DrawOp::Kind::LineBreak, ops[kMaxTextRuns + 1].What);
    EXPECT_EQ(DrawOp::Kind::EndOfLine, ops.back().What);
    EXPECT_FALSE(state.Style.Underline);
    // Exactly at the bounds nothing is cut.
    ops = MarkupOps("{u{{rc{" + std::string(kMaxTextRuns, 'y'), state, 8, random);
    EXPECT_EQ(kMaxTextRuns + 2, ops.size());
    ops = MarkupOps("{00c000{" + std::string(kMaxMarkupLineBytes - 8, 'x'), state, 8, random);
    EXPECT_EQ(3u, ops.size());
}

TEST(TextMarkup, LinkAtFindsTheAddressAroundTheCaret) {
    struct LinkCase {
        const char* text;
        std::size_t caret;
        const char* address;
    };
    const LinkCase cases[] = {
        {"see http://x.org now", 8, "http://x.org"},
        {"see http://x.org now", 4, "http://x.org"},  // just before the address
        {"see http://x.org now", 16, "http://x.org"}, // just after it
        {"see http://x.org now", 2, ""},
        {"see http://x.org now", 19, ""},
        {"(http://x.org/a) more", 6, "http://x.org/a"},
        {"http://x.org", 0, ""},
        {"http://x.org", 3, "http://x.org"},
        {"http://x.org", 99, "http://x.org"}, // past the end counts as the end
        {"HTTP://X.org/A", 2, "HTTP://X.org/A"},
        {"at Ftp://files.x", 5, "Ftp://files.x"},
        {"say\r\nhttp://x.org\r\nmore", 8, "http://x.org"},
        {"say\nhttp://x.org\nmore", 8, "http://x.org"},
        {"mailto:a@x.org", 3, ""},
        {"", 0, ""},
    };
    for (const LinkCase& c : cases)
        EXPECT_EQ(c.address, LinkAt(c.text, c.caret)) << c.text << " @" << c.caret;
}

TEST(TextMarkup, LinkAtLooksBackAtMost200Characters) {
    for (const std::string& lead : {std::string(), std::string("go ")}) {
        const std::string reach = lead + "http://" + std::string(kMaxLinkReach - 7, 'a');
        EXPECT_EQ(reach.substr(lead.size()), LinkAt(reach, reach.size())) << lead;
        const std::string beyond = reach + "a";
        EXPECT_EQ("", LinkAt(beyond, beyond.size())) << lead;
        EXPECT_EQ(beyond.substr(lead.size()), LinkAt(beyond, beyond.size() - 1)) << lead;
    }
}

TEST(TextMarkup, ChatLinesAreToldFromOtherText) {
    const std::vector<std::pair<std::string, bool>> cases = {
        {"Tamsin says, \"meet me at the ferry\"", true},
        {"Old Corwen shouts, happy midwinter!", true},
        {"Brynn tells you, \"behind you\"", true},
        {"Aldric pages you: anyone for the crypt?", true},
        {"[Chat] Brynn: the map is at the mill", true},
        {"[OOC] Aldric: crypt run at 9?", true},
        {"The gloam wolf snarls and circles you.", false},
        {"The old grey wolf says, nothing", false}, // more than two words before the verb
        {"says, nothing", false},
        {"[no closing bracket: text", false},
        {"[Chat] no colon", false},
        {"", false},
    };
    for (const auto& [line, chat] : cases)
        EXPECT_EQ(chat, IsChatLine(line)) << line;
}

} // namespace
} // namespace gr
