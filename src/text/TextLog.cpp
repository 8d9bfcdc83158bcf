#include "text/TextLog.h"

#include <cstdio>

#include "core/CodePage.h"
#include "core/SafeName.h"

namespace gr {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsControl(char16_t ch) {
    return (ch < 0x20 && ch != u'\t') || (ch >= 0x7F && ch <= 0x9F);
}

void AppendUtf8(std::string& out, char16_t ch) {
    // Every character of the code page (and the replacement) lies in the basic plane, outside the
    // surrogates: one to three bytes.
    if (ch < 0x80) {
        out += static_cast<char>(ch);
    } else if (ch < 0x800) {
        out += static_cast<char>(0xC0 | (ch >> 6));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (ch >> 12));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    }
}

void AppendText(std::string& out, std::string_view bytes, bool html) {
    for (const char c : bytes) {
        const char16_t ch = CharFromByte(static_cast<unsigned char>(c));
        if (html) {
            switch (ch) {
            case u'&':
                out += "&amp;";
                continue;
            case u'<':
                out += "&lt;";
                continue;
            case u'>':
                out += "&gt;";
                continue;
            case u'"':
                out += "&quot;";
                continue;
            case u'\'':
                out += "&#39;";
                continue;
            default:
                break;
            }
        }
        AppendUtf8(out, IsControl(ch) ? kReplacement : ch);
    }
}

// 0xBBGGRR as the page writes a colour: #rrggbb.
std::string CssColour(std::uint32_t bgr) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", unsigned(bgr & 0xFF), unsigned(bgr >> 8 & 0xFF),
                  unsigned(bgr >> 16 & 0xFF));
    return text;
}

// The inline style of one run. Only numbers and fixed words go into it, never the server's text.
std::string CssStyle(const TextStyle& style) {
    std::string css = "color:" + CssColour(style.Colour);
    if (style.Size != kDefaultTextSize) css += ";font-size:" + std::to_string(style.Size) + "pt";
    if (style.Italic) css += ";font-style:italic";
    if (style.Underline) css += ";text-decoration:underline";
    return css;
}

bool HasText(const std::vector<DrawOp>& ops) {
    for (const DrawOp& op : ops)
        if (op.What != DrawOp::Kind::EndOfLine) return true;
    return false;
}

} // namespace

std::string LogFileStem(std::string_view character, const LogDate& date) {
    if (!IsSafeFileNamePart(character)) return {};
    if (date.Year < 1 || date.Year > 9999 || date.Month < 1 || date.Month > 12 || date.Day < 1 ||
        date.Day > 31)
        return {};
    char day[16];
    std::snprintf(day, sizeof day, "-%04d-%02d-%02d", date.Year, date.Month, date.Day);
    std::string stem(kLogFolder);
    stem += '/';
    stem += character;
    stem += day;
    return stem;
}

std::string PlainLogLines(const std::vector<DrawOp>& ops) {
    std::string out;
    bool open = false; // a window line has begun and not yet ended
    for (const DrawOp& op : ops) {
        if (op.What == DrawOp::Kind::Text) {
            AppendText(out, op.Text, false);
            open = true;
        } else if (op.What == DrawOp::Kind::LineBreak) {
            out += '\n';
            open = false;
        }
    }
    if (open) out += '\n';
    return out;
}

std::string HtmlLogLines(const std::vector<DrawOp>& ops) {
    if (!HasText(ops)) return {};
    std::string out;
    bool open = false;
    for (const DrawOp& op : ops) {
        if (op.What == DrawOp::Kind::EndOfLine) continue;
        if (!open) out += "<div>";
        open = true;
        if (op.What == DrawOp::Kind::Text) {
            out += "<span style=\"" + CssStyle(op.Style) + "\">";
            AppendText(out, op.Text, true);
            out += "</span>";
        } else {
            out += "</div>\n";
            open = false;
        }
    }
    if (open) out += "</div>\n";
    return out;
}

std::string HtmlLogHeader(std::string_view character) {
    // The window's look: its dusk background, its light grey text and its font. An empty line keeps its
    // height, and runs of spaces stay as the window shows them.
    return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
           HtmlText(character) +
           " - game text</title>\n<style>\n"
           "body { background: " +
           CssColour(kTextBackgroundColour) + "; color: " + CssColour(kDefaultTextColour) +
           "; font: " + std::to_string(kDefaultTextSize) +
           "pt \"DejaVu Sans\", sans-serif; margin: 8px; }\n"
           "div { white-space: pre-wrap; overflow-wrap: anywhere; min-height: 1.2em; }\n"
           "div.note { color: " +
           CssColour(kCutMarkColour) +
           "; font-style: italic; border-top: 1px solid; margin-top: 0.5em; }\n"
           "</style>\n</head>\n<body>\n";
}

std::string PlainLogNote(std::string_view note) {
    return "--- " + LogText(note) + " ---\n";
}

std::string HtmlLogNote(std::string_view note) {
    return "<div class=\"note\">" + HtmlText(note) + "</div>\n";
}

std::string LogText(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    AppendText(out, bytes, false);
    return out;
}

std::string HtmlText(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    AppendText(out, bytes, true);
    return out;
}

} // namespace gr
