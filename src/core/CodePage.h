#pragma once
// The server's code page, Windows-1252: one byte per character on the wire, in macro files and in skin
// files. The window layer converts at its edge with these two functions and nowhere else.
#include <string>
#include <string_view>

namespace gr {

// The Unicode character of one byte. The five bytes the code page leaves undefined map to the control
// characters of the same value, so every byte survives a round trip.
char16_t CharFromByte(unsigned char byte);
std::u16string TextFromBytes(std::string_view bytes);

// The byte of one character, or '?' when the code page has no such character.
unsigned char ByteFromChar(char16_t ch);
std::string BytesFromText(std::u16string_view text);

// Lower case of the code page's letters (A-Z and the accented capitals), other bytes unchanged.
std::string LowerCase(std::string_view bytes);

} // namespace gr
