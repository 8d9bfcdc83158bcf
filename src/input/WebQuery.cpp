#include "input/WebQuery.h"

#include "core/CodePage.h"

namespace gr {

namespace {
bool Unreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

void AppendUtf8(std::string& out, char16_t ch) {
    if (ch < 0x80) {
        out += char(ch);
    } else if (ch < 0x800) {
        out += char(0xC0 | ch >> 6);
        out += char(0x80 | (ch & 0x3F));
    } else { // the code page's characters all lie in the basic plane
        out += char(0xE0 | ch >> 12);
        out += char(0x80 | (ch >> 6 & 0x3F));
        out += char(0x80 | (ch & 0x3F));
    }
}
} // namespace

std::string WebQueryText(std::string_view query) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string utf8;
    for (const char16_t ch : TextFromBytes(query))
        AppendUtf8(utf8, ch);
    std::string out;
    out.reserve(utf8.size());
    for (const char byte : utf8) {
        const auto c = static_cast<unsigned char>(byte);
        if (c == ' ') {
            out += '+';
        } else if (Unreserved(c)) {
            out += char(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        }
    }
    return out;
}

} // namespace gr
