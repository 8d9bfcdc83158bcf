#pragma once
// The markup of the game's text lines, turned into drawing operations for the text window, and the link
// search of a click on that window. Plain C++ over the server's bytes; the window draws what comes out.
//
// A line is made of segments separated by "}", each drawn as one line of the window. Inside a segment "{"
// separates pieces: piece 0 is never shown, then tag, text, tag, text. Tags: "u" toggles underline, "i"
// italics, "s"+number sets the font size, "rc" toggles the rainbow effect, anything else is a colour of
// hexadecimal digits in blue, green, red order.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace gr {

class RandomSource;

// Colours as the system writes them: 0xBBGGRR.
constexpr std::uint32_t kTrimmedTextColour = 0x888888; // text kept after trimming
// Links are blue, light enough to read on the window's dark background (the darker blue of old could not
// be read there). Every colour the client itself chooses for this window has a contrast of at least
// kMinTextContrast (game/Contrast.h) against kTextBackgroundColour.
constexpr std::uint32_t kLinkColour = 0xFF9C5C;       // #5c9cff
constexpr std::uint32_t kSystemTextColour = 0x00C000; // green
// Text before any colour tag; light grey, because the window's background is dark.
constexpr std::uint32_t kDefaultTextColour = 0xC0C0C0;
constexpr std::uint32_t kCutMarkColour = 0xA8A8A8;        // the mark of a line cut at its bounds
constexpr std::uint32_t kTextBackgroundColour = 0x14080B; // #0b0814, the window's dusk

constexpr int kDefaultTextSize = 8;
constexpr int kMaxFontSize = 50;

// The server decides how long its lines are and how often their style changes; the window lays out each
// run of one style on its own (some microseconds each, a whole line about one per character), so without
// bounds one message could hold the window for a second. A line is interpreted only up to
// kMaxMarkupLineBytes, a few screenfuls, and only until it has kMaxTextRuns runs of text, room for a line
// full of colours or a rainbow phrase of hundreds of characters; the rest of the line is dropped and the
// line ends there as if it had ended in the markup.
constexpr std::size_t kMaxMarkupLineBytes = 8 * 1024;
constexpr std::size_t kMaxTextRuns = 256;

// The style that inserted text receives.
struct TextStyle {
    std::uint32_t Colour = kDefaultTextColour;
    int Size = kDefaultTextSize; // points
    bool Italic = false;
    bool Underline = false;
    bool operator==(const TextStyle&) const = default;
};

// What carries from one line to the next. The caller owns it and passes it to every line.
struct MarkupState {
    TextStyle Style;
    // The colour in effect when rainbow mode last switched on; restored when it switches off.
    std::uint32_t RainbowColour = kDefaultTextColour;
};

struct DrawOp {
    enum class Kind {
        Text,      // insert Text (wire bytes) in Style
        LineBreak, // end of a segment
        EndOfLine, // the whole line was drawn: italics and underline are off from here
    };
    Kind What = Kind::Text;
    std::string Text;
    TextStyle Style;
    bool operator==(const DrawOp&) const = default;
};

// The operations that draw one line, in order. Neighbouring text in the same style is one operation (a
// run), and a line holds at most kMaxTextRuns of them, and the cut mark when the line was cut.
// textSize is the player's chosen size (8..18): a size tag is raised to it and lowered to kMaxFontSize.
// A piece that cannot be interpreted (a colour that is not hexadecimal, "s" without a whole number, a
// final tag with no text after it) ends the line there: the operations so far are kept and the line ends
// without EndOfLine, so italics and underline stay as they were for the next line.
std::vector<DrawOp> MarkupOps(std::string_view line, MarkupState& state, int textSize, RandomSource& random);

// The address a click opens, or "" when there is none. text is the window's text (bytes; a line break is
// CR, LF or both), caret the number of characters before the caret the click placed. The word around the
// caret starts after a space, "(" or line break at most kMaxLinkReach characters before the caret (or at
// the start of the text) and ends before the first space, line break or ")"; it is an address when it
// starts with "http://" or "ftp://" in any case.
constexpr std::size_t kMaxLinkReach = 200;
std::string LinkAt(std::string_view text, std::size_t caret);

// Whether a line of game text is chat: a player speaking ("Name says, ...", "Name shouts, ...", whispers,
// asks, exclaims, "Name tells you ...", "Name pages you ...") or a channel line ("[Chat] Name: ..."), by
// the text the line shows (without markup, wire bytes).
bool IsChatLine(std::string_view shown);

} // namespace gr
