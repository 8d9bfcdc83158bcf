#pragma once
// Server text that reaches labels, titles, message boxes, address lines and the page viewer is shown only
// up to a bound: text laid out by the window costs time for every character, and a server that sends megabytes
// of it would hold the window for minutes. What passes the bound is cut, and the cut is marked, so that
// nothing is lost without the player seeing it.
#include <cstddef>
#include <string>
#include <string_view>

namespace gr {

// Follows the kept part of a cut text.
inline constexpr std::string_view kCutMark = " [...]";

// The bounds of the game window, in bytes of the server's text. Laying out text costs about half a
// millisecond per KiB of ordinary words, and more for a long run without a blank (some 20 ms for 16 KiB
// of one word, growing with the square of its length); each bound keeps a text to some milliseconds.
constexpr std::size_t kMaxTitleBytes = 200;      // a window title: one line in the title bar
constexpr std::size_t kMaxAddressBytes = 2048;   // an address in the viewer's address line or an error line
constexpr std::size_t kMaxLabelBytes = 4 * 1024; // a label of a page or two (the About text)
constexpr std::size_t kMaxPageBytes = 16 * 1024; // a page in the viewer: a news item or a help page

// text when it holds at most limit bytes; otherwise its first limit bytes followed by kCutMark.
std::string BoundText(std::string_view text, std::size_t limit);

} // namespace gr
