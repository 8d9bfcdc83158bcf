#pragma once
// The game text log: what the text window draws, as plain text and as a page with the colours, one pair of
// files per character and day in the data folder:
//
//   logs/<Character>-<YYYY-MM-DD>.txt    the text, one window line per file line
//   logs/<Character>-<YYYY-MM-DD>.html   the same lines in their colours, sizes, italics and underline
//
// The day is the local date of the line. A day's files are appended to by every session of that day; each
// session starts with a note line that names the character and the time.
//
// Both files are UTF-8 (the server's code page converted), so any editor, browser or search tool reads them
// as they are. What the server sends is text and never more: in the page every character that could
// start markup is written as an entity, and in both files control characters (which could steer a terminal
// that shows the plain file, or break the page) are written as U+FFFD.
//
// The page is valid whenever it is read: its head is written once, when the file is made, and every line
// after it is one complete element. The end tags of body and html may be left out of a page, so a day's
// page needs no ending and a later session simply appends to it.
#include <string>
#include <string_view>
#include <vector>

#include "text/TextMarkup.h"

namespace gr {

// The folder inside the data folder, and the endings of the two files.
inline constexpr std::string_view kLogFolder = "logs";
inline constexpr std::string_view kPlainLogSuffix = ".txt";
inline constexpr std::string_view kHtmlLogSuffix = ".html";

struct LogDate {
    int Year = 0;
    int Month = 0; // 1..12
    int Day = 0;   // 1..31
    bool operator==(const LogDate&) const = default;
};

// "logs/<character>-<YYYY-MM-DD>" (wire bytes) to which the suffixes are added; "" when the character's
// name is not safe as part of a file name (see core/SafeName.h) or the date is not a date.
std::string LogFileStem(std::string_view character, const LogDate& date);

// One drawn line (the operations the text window drew for it) as log text: each window line it makes ends
// with a line break. A line whose drawing stopped in the middle of a window line (markup that could not be
// read) is ended there too, so that every entry of the log stands on its own; the window continues the
// next line's text on that window line instead. A line that draws nothing gives "".
std::string PlainLogLines(const std::vector<DrawOp>& ops);
// The same as the page's elements: one <div> per window line, each text run a <span> with its style inline.
std::string HtmlLogLines(const std::vector<DrawOp>& ops);

// The head of a new page, titled with the character's name.
std::string HtmlLogHeader(std::string_view character);

// A line of the log's own (a session's start, lines that could not be logged), set apart from game text.
// note is wire bytes.
std::string PlainLogNote(std::string_view note);
std::string HtmlLogNote(std::string_view note);

// Wire bytes as UTF-8, control characters (other than tab) as U+FFFD.
std::string LogText(std::string_view bytes);
// LogText with &, <, >, " and ' written as entities.
std::string HtmlText(std::string_view bytes);

} // namespace gr
