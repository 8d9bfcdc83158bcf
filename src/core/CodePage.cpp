#include "core/CodePage.h"

#include <array>

namespace gr {

namespace {
// Bytes 0x80 to 0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
} // namespace

char16_t CharFromByte(unsigned char byte) {
    return byte >= 0x80 && byte <= 0x9F ? kHigh[byte - 0x80] : char16_t(byte);
}

std::u16string TextFromBytes(std::string_view bytes) {
    std::u16string text(bytes.size(), u'\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) text[i] = CharFromByte(static_cast<unsigned char>(bytes[i]));
    return text;
}

unsigned char ByteFromChar(char16_t ch) {
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF)) return static_cast<unsigned char>(ch);
    for (std::size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == ch) return static_cast<unsigned char>(0x80 + i);
    return '?';
}

std::string BytesFromText(std::u16string_view text) {
    std::string bytes(text.size(), '\0');
    for (std::size_t i = 0; i < text.size(); ++i) bytes[i] = static_cast<char>(ByteFromChar(text[i]));
    return bytes;
}

std::string LowerCase(std::string_view bytes) {
    std::string lower(bytes);
    for (auto& c : lower) {
        const auto b = static_cast<unsigned char>(c);
        if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7)) c = static_cast<char>(b + 0x20);
        else if (b == 0x8A || b == 0x8C || b == 0x8E) c = static_cast<char>(b + 0x10); // Š Œ Ž
        else if (b == 0x9F) c = static_cast<char>(0xFF);                                // Ÿ
    }
    return lower;
}

} // namespace gr
