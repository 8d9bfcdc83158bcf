// Server lines through the game text log: each line ("%$" between them) is drawn by the text markup, state
// carrying over, and the operations written as the plain and the page form of the log. Both are UTF-8 with
// no control character but tab and line break, and the page holds no markup but the log's own elements.
// The file name made from a character's name stays one file in the logs folder.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "Targets.h"
#include "core/Random.h"
#include "core/TextFields.h"
#include "text/TextLog.h"
#include "text/TextMarkup.h"

namespace {

using gr::fuzz::Check;

// Well-formed UTF-8 with no control character other than those allowed.
bool CleanUtf8(std::string_view text, std::string_view allowedControls) {
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            if ((c < 0x20 || c == 0x7F) && allowedControls.find(char(c)) == std::string_view::npos)
                return false;
            ++i;
            continue;
        }
        const std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 ? 2 : 0;
        if (length == 0 || c > 0xF4 || i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        i += length;
    }
    return true;
}

// The page's text with the log's own tags taken out holds no markup.
bool OnlyLogTags(std::string_view page) {
    static constexpr std::string_view kTags[] = {"<div>", "</div>", "</span>"};
    for (std::size_t at = page.find('<'); at != std::string_view::npos; at = page.find('<', at + 1)) {
        const std::string_view rest = page.substr(at);
        bool known = false;
        for (std::string_view tag : kTags)
            known |= rest.starts_with(tag);
        if (rest.starts_with("<span style=\"")) {
            const std::size_t end = rest.find("\">");
            if (end == std::string_view::npos) return false;
            const std::string_view style = rest.substr(13, end - 13);
            if (style.find_first_of("<>\"&") != std::string_view::npos) return false;
            known = true;
        }
        if (!known) return false;
    }
    return true;
}

} // namespace

int gr::fuzz::TextLog(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    gr::MarkupState state;
    gr::fuzz::CountingRandom random;
    for (const std::string_view line : gr::SplitFields(input, "%$")) {
        const auto ops = gr::MarkupOps(line, state, 12, random);
        const std::string plain = gr::PlainLogLines(ops);
        Check(CleanUtf8(plain, "\t\n"));
        Check(plain.empty() || plain.back() == '\n');
        const std::string page = gr::HtmlLogLines(ops);
        Check(CleanUtf8(page, "\t\n"));
        Check(OnlyLogTags(page));
    }
    const std::string text = gr::LogText(input);
    Check(CleanUtf8(text, "\t"));
    const std::string html = gr::HtmlText(input);
    Check(CleanUtf8(html, "\t") && html.find_first_of("<>\"'") == std::string::npos);
    Check(CleanUtf8(gr::PlainLogNote(input), "\t\n"));
    Check(OnlyLogTags(gr::HtmlLogNote(input).substr(std::string_view("<div class=\"note\">").size())));
    const std::string header = gr::HtmlLogHeader(input);
    const std::size_t title = header.find("<title>") + 7;
    const std::size_t titleEnd = header.find("</title>");
    Check(titleEnd != std::string::npos &&
          header.substr(title, titleEnd - title).find('<') == std::string::npos);
    const std::string stem = gr::LogFileStem(input, {2026, 12, 11});
    if (!stem.empty()) {
        Check(stem.starts_with("logs/"));
        Check(stem.find_first_of(std::string_view("/\\\0", 3), 5) == std::string::npos);
        Check(stem.ends_with("-2026-12-11"));
    }
    return 0;
}

GLOAMREST_FUZZ_ENTRY(gr::fuzz::TextLog)
