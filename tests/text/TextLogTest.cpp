// The game text log's contents: a drawn line as plain text and as the page's elements, and the files' names.
#include "text/TextLog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/BoundText.h"
#include "core/SafeName.h"
#include "support/ScriptedRandom.h"

namespace gr {
namespace {

// The operations the text window draws for a markup line, from the start of a session.
std::vector<DrawOp> Drawn(const std::string& line, int textSize = kDefaultTextSize) {
    MarkupState state;
    state.Style.Size = textSize;
    test::ScriptedRandom random;
    return MarkupOps(line, state, textSize, random);
}

std::string Span(const char* style, const std::string& text) {
    return "<span style=\"" + std::string(style) + "\">" + text + "</span>";
}

TEST(TextLog, DrawnLinesAsPlainTextAndAsThePage) {
    struct Case {
        const char* what;
        std::string line;
        std::string plain;
        std::string html;
    };
    const Case cases[] = {
        {"a colour in bbggrr order becomes #rrggbb", "{00c000{Hello", "Hello\n",
         "<div>" + Span("color:#00c000", "Hello") + "</div>\n"},
        {"blue and red stay apart", "{ff0000{Blue}{0000ff{Red", "Blue\nRed\n",
         "<div>" + Span("color:#0000ff", "Blue") + "</div>\n<div>" + Span("color:#ff0000", "Red") +
             "</div>\n"},
        {"size, italics and underline", "{s20{{i{big}{u{under", "big\nunder\n",
         "<div>" + Span("color:#c0c0c0;font-size:20pt;font-style:italic", "big") + "</div>\n<div>" +
             Span("color:#c0c0c0;font-size:20pt;font-style:italic;text-decoration:underline", "under") +
             "</div>\n"},
        {"markup characters of the server's text are text", "{ffffff{<b>\"Tom\" & 'Jo'</b>",
         "<b>\"Tom\" & 'Jo'</b>\n",
         "<div>" + Span("color:#ffffff", "&lt;b&gt;&quot;Tom&quot; &amp; &#39;Jo&#39;&lt;/b&gt;") +
             "</div>\n"},
        {"a would-be element in a style cannot leave its attribute", "{ffffff{\"><script>x</script>",
         "\"><script>x</script>\n",
         "<div>" + Span("color:#ffffff", "&quot;&gt;&lt;script&gt;x&lt;/script&gt;") + "</div>\n"},
        {"a line of plain text is an empty window line", "no tags", "\n", "<div></div>\n"},
        {"a tag without text is an empty line", "{ffffff{", "\n", "<div></div>\n"},
        {"empty segments draw nothing", "}}", "", ""},
        {"nothing at all", "", "", ""},
        {"line breaks and control characters inside the text are not written as such",
         "{ffffff{a\rb\nc\x1b[2Jd\te",
         "a\xef\xbf\xbd"
         "b\xef\xbf\xbd"
         "c\xef\xbf\xbd[2Jd\te\n",
         "<div>" +
             Span("color:#ffffff", "a\xef\xbf\xbd"
                                   "b\xef\xbf\xbd"
                                   "c\xef\xbf\xbd[2Jd\te") +
             "</div>\n"},
        {"the code page's characters become UTF-8", "{ffffff{caf\xe9 \x80 \x85",
         "caf\xc3\xa9 \xe2\x82\xac \xe2\x80\xa6\n",
         "<div>" + Span("color:#ffffff", "caf\xc3\xa9 \xe2\x82\xac \xe2\x80\xa6") + "</div>\n"},
        {"a line whose markup breaks off is ended in the log", "{ffffff{kept{zz{lost", "kept\n",
         "<div>" + Span("color:#ffffff", "kept") + "</div>\n"},
        {"a link keeps its colour and underline", "{ffffff{see http://a.b/?x=1&y=2 now",
         "see http://a.b/?x=1&y=2 now\n",
         "<div>" + Span("color:#ffffff", "see ") +
             Span("color:#5c9cff;text-decoration:underline", "http://a.b/?x=1&amp;y=2") +
             Span("color:#ffffff", " now") + "</div>\n"},
        {"text before any colour is the window's grey", "{u{plain", "plain\n",
         "<div>" + Span("color:#c0c0c0;text-decoration:underline", "plain") + "</div>\n"},
    };
    for (const Case& c : cases) {
        const std::vector<DrawOp> ops = Drawn(c.line);
        EXPECT_EQ(c.plain, PlainLogLines(ops)) << c.what;
        EXPECT_EQ(c.html, HtmlLogLines(ops)) << c.what;
    }
}

TEST(TextLog, ACutLineEndsWithItsMarkOnItsOwnLine) {
    // Longer than the window draws: the log keeps what the window shows, the cut mark included, and ends
    // the line there.
    const std::string line = "{ffffff{" + std::string(kMaxMarkupLineBytes, 'x') + "}{ffffff{never";
    const std::string plain = PlainLogLines(Drawn(line));
    ASSERT_GT(plain.size(), kCutMark.size() + 1);
    EXPECT_EQ(std::string(kCutMark) + "\n", plain.substr(plain.size() - kCutMark.size() - 1));
    EXPECT_EQ(1, std::count(plain.begin(), plain.end(), '\n'));
    EXPECT_EQ(std::string::npos, plain.find("never"));
    const std::string html = HtmlLogLines(Drawn(line));
    EXPECT_NE(std::string::npos, html.find(Span("color:#a8a8a8", HtmlText(kCutMark)) + "</div>\n"));
    EXPECT_EQ(0u, html.find("<div>"));
    EXPECT_EQ(1, std::count(html.begin(), html.end(), '\n'));
}

TEST(TextLog, NotesAndThePageHeadNeverCarryMarkup) {
    EXPECT_EQ("--- 3 lines <dropped> ---\n", PlainLogNote("3 lines <dropped>"));
    EXPECT_EQ("<div class=\"note\">3 lines &lt;dropped&gt;</div>\n", HtmlLogNote("3 lines <dropped>"));
    const std::string head = HtmlLogHeader("Al<i>");
    EXPECT_EQ(0u, head.find("<!DOCTYPE html>\n"));
    EXPECT_NE(std::string::npos, head.find("<meta charset=\"utf-8\">"));
    EXPECT_NE(std::string::npos, head.find("<title>Al&lt;i&gt; - game text</title>"));
    EXPECT_EQ(std::string::npos, head.find("<i>"));
    // The page's lines follow the opened body directly.
    EXPECT_EQ(head.size() - 7, head.rfind("<body>\n"));
}

TEST(TextLog, FilesAreNamedAfterTheCharacterAndTheDay) {
    struct Case {
        std::string character;
        LogDate date;
        std::string stem;
    };
    const Case cases[] = {
        {"Aldric", {2026, 12, 11}, "logs/Aldric-2026-12-11"},
        {"Anne-Marie", {987, 1, 2}, "logs/Anne-Marie-0987-01-02"},
        {"J\xe9r\xf4me", {2027, 1, 1}, "logs/J\xe9r\xf4me-2027-01-01"},
        // No file for a name that is no safe file name, nor for a date that is no date.
        {"../etc", {2026, 12, 11}, ""},
        {"a/b", {2026, 12, 11}, ""},
        {"", {2026, 12, 11}, ""},
        {std::string(kMaxSafeNameBytes + 1, 'a'), {2026, 12, 11}, ""},
        {"Aldric", {2026, 13, 1}, ""},
        {"Aldric", {2026, 1, 0}, ""},
        {"Aldric", {10000, 1, 1}, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.stem, LogFileStem(c.character, c.date)) << c.character;
}

} // namespace
} // namespace gr
