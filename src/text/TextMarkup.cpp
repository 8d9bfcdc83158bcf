#include "text/TextMarkup.h"

#include <algorithm>
#include <optional>

#include "core/BoundText.h"
#include "core/Numbers.h"
#include "core/Random.h"

namespace gr {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A colour tag: hexadecimal digits in blue, green, red order, read as "&h00" + tag would be (an empty tag
// is black). Nothing when a character is not a hexadecimal digit or the value is not a colour.
std::optional<std::uint32_t> ColourTag(std::string_view tag) {
    std::uint32_t value = 0;
    for (char c : tag) {
        const int digit = HexDigit(c);
        if (digit < 0) return std::nullopt;
        value = value << 4 | static_cast<std::uint32_t>(digit);
        if (value > 0xFFFFFF) return std::nullopt; // checked per digit, so a long tag cannot overflow
    }
    return value;
}

// Six hexadecimal digits, each drawn uniformly from lowest to F, most significant first.
std::uint32_t RandomColour(RandomSource& random, int lowest) {
    std::uint32_t colour = 0;
    for (int i = 0; i < 6; ++i)
        colour = colour << 4 | (static_cast<std::uint32_t>(random.Between(lowest, 15)) & 0xF);
    return colour;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool StartsWithNoCase(std::string_view text, std::string_view lowerPrefix) {
    if (text.size() < lowerPrefix.size()) return false;
    for (std::size_t i = 0; i < lowerPrefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != lowerPrefix[i]) return false;
    }
    return true;
}

// One line's drawing: the operations so far, the carried state and the line's rainbow mode.
class LineDrawer {
  public:
    LineDrawer(MarkupState& state, int textSize, RandomSource& random)
        : state(state), style(state.Style), textSize(textSize), random(random) {}

    // Applies a tag; false when it cannot be interpreted.
    bool Tag(std::string_view tag) {
        if (tag == "u") {
            style.Underline = !style.Underline;
        } else if (tag == "i") {
            style.Italic = !style.Italic;
        } else if (!tag.empty() && tag[0] == 's') {
            const std::optional<std::int32_t> size = WholeNumber(tag.substr(1));
            if (!size) return false;
            style.Size = *size < textSize ? textSize : (*size > kMaxFontSize ? kMaxFontSize : *size);
        } else if (tag == "rc") {
            rainbow = !rainbow;
            if (rainbow)
                state.RainbowColour = style.Colour;
            else
                style.Colour = state.RainbowColour;
        } else {
            const std::optional<std::uint32_t> colour = ColourTag(tag);
            if (!colour) return false;
            style.Colour = *colour;
        }
        return true;
    }

    // A text piece: addresses as links, the rest plain or in rainbow colours.
    void Piece(std::string_view piece) {
        if (piece.find("http://") == std::string_view::npos &&
            piece.find("ftp://") == std::string_view::npos) {
            Plain(piece, 3);
            return;
        }
        const std::uint32_t colour = style.Colour;
        const bool underline = style.Underline;
        for (std::size_t at = 0;;) {
            const std::size_t space = piece.find(' ', at);
            const std::string_view word =
                piece.substr(at, space == std::string_view::npos ? piece.size() : space - at);
            if (StartsWith(word, "ftp://") || StartsWith(word, "http://")) {
                style.Colour = kLinkColour;
                style.Underline = true;
                Insert(word);
                style.Colour = colour;
                style.Underline = underline;
            } else {
                Plain(word, 2);
            }
            if (space == std::string_view::npos) break;
            Insert(" ");
            at = space + 1;
        }
    }

    void Add(DrawOp::Kind kind) { ops.push_back(DrawOp{kind, {}, style}); }

    // No room for another run of text: what comes later in the line is cut.
    bool Full() const { return runs >= kMaxTextRuns; }

    // Ends a cut line with the cut mark, before the line break of its last segment.
    void MarkCut() {
        TextStyle mark = style;
        mark.Colour = kCutMarkColour;
        mark.Italic = mark.Underline = false;
        const DrawOp op{DrawOp::Kind::Text, std::string(kCutMark), mark};
        if (!ops.empty() && ops.back().What == DrawOp::Kind::LineBreak) {
            ops.insert(ops.end() - 1, op);
        } else {
            ops.push_back(op);
            Add(DrawOp::Kind::LineBreak);
        }
    }

    std::vector<DrawOp> ops;
    bool Dropped = false; // text was left out for want of runs

  private:
    // In rainbow mode every character but a space gets a fresh colour (its digits drawn from lowest to F).
    void Plain(std::string_view text, int lowest) {
        if (!rainbow) {
            Insert(text);
            return;
        }
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] != ' ') style.Colour = RandomColour(random, lowest);
            Insert(text.substr(i, 1));
        }
    }

    void Insert(std::string_view text) {
        if (text.empty()) return;
        if (!ops.empty() && ops.back().What == DrawOp::Kind::Text && ops.back().Style == style) {
            ops.back().Text += text;
        } else if (!Full()) {
            ops.push_back(DrawOp{DrawOp::Kind::Text, std::string(text), style});
            ++runs;
        } else {
            Dropped = true;
        }
    }

    MarkupState& state;
    TextStyle& style;
    const int textSize;
    RandomSource& random;
    bool rainbow = false; // starts off for every line
    std::size_t runs = 0;
};

} // namespace

std::vector<DrawOp> MarkupOps(std::string_view line, MarkupState& state, int textSize, RandomSource& random) {
    LineDrawer drawer(state, textSize, random);
    const bool overlong = line.size() > kMaxMarkupLineBytes;
    bool cut = overlong;
    line = line.substr(0, kMaxMarkupLineBytes);
    for (std::size_t from = 0; from <= line.size();) {
        const std::size_t end = std::min(line.find('}', from), line.size());
        const std::string_view segment = line.substr(from, end - from);
        from = end + 1;
        if (segment.empty()) continue;
        if (drawer.Full()) {
            cut = true;
            break;
        }
        // Piece 0 (up to the first "{") is never shown; then tag, text, tag, text.
        std::size_t at = segment.find('{');
        while (at != std::string_view::npos) {
            const std::size_t tagEnd = segment.find('{', at + 1);
            // The last piece of an overlong line may be a tag the bound cut through: the line ends before it.
            if (overlong && tagEnd == std::string_view::npos && from > line.size()) break;
            const std::string_view tag = segment.substr(
                at + 1, tagEnd == std::string_view::npos ? std::string_view::npos : tagEnd - at - 1);
            if (!drawer.Tag(tag)) return std::move(drawer.ops);
            if (tagEnd == std::string_view::npos) return std::move(drawer.ops); // a final tag with no text
            const std::size_t textEnd = segment.find('{', tagEnd + 1);
            drawer.Piece(segment.substr(tagEnd + 1, textEnd == std::string_view::npos
                                                        ? std::string_view::npos
                                                        : textEnd - tagEnd - 1));
            if (drawer.Full() && textEnd != std::string_view::npos) {
                cut = true;
                break;
            }
            at = textEnd;
        }
        drawer.Add(DrawOp::Kind::LineBreak);
    }
    if (cut || drawer.Dropped) drawer.MarkCut();
    state.Style.Italic = false;
    state.Style.Underline = false;
    drawer.Add(DrawOp::Kind::EndOfLine);
    return std::move(drawer.ops);
}

std::string LinkAt(std::string_view text, std::size_t caret) {
    caret = std::min(caret, text.size());
    if (caret == 0) return {};
    // Back to the start of the word: after a space, "(" or line break, or the start of the text. A line
    // break counts as well, so that an address at the start of a line can be opened.
    const auto isWordStart = [](char c) { return c == ' ' || c == '(' || c == '\r' || c == '\n'; };
    std::size_t start = caret;
    while (start > 0 && !isWordStart(text[start - 1])) {
        if (caret - start == kMaxLinkReach) return {};
        --start;
    }
    const std::size_t end = text.find_first_of(" \r\n)", start);
    const std::string_view word =
        text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (StartsWithNoCase(word, "http://") || StartsWithNoCase(word, "ftp://")) return std::string(word);
    return {};
}

bool IsChatLine(std::string_view shown) {
    // A channel line: "[Channel] Name: text".
    if (shown.starts_with('[')) {
        const std::size_t close = shown.find(']');
        return close != std::string_view::npos && close <= 32 &&
               shown.find(':', close) != std::string_view::npos;
    }
    // "Name says, ..." and the like: at most two words of name before the verb.
    static constexpr std::string_view kVerbs[] = {" says,",     " shouts,",   " whispers,", " asks,",
                                                  " exclaims,", " tells you", " pages you"};
    const std::string_view head = shown.substr(0, 64);
    for (std::string_view verb : kVerbs) {
        const std::size_t at = head.find(verb);
        if (at == std::string_view::npos || at == 0) continue;
        const std::string_view name = head.substr(0, at);
        if (std::count(name.begin(), name.end(), ' ') <= 1) return true;
    }
    return false;
}

} // namespace gr
