#pragma once
// The words of "/google" and "/dictionary" as the query part of an address: blanks become "+", letters,
// digits and "-", ".", "_", "~" stay, and every other character is percent-encoded as its UTF-8 bytes, so
// that no typed character can change the meaning of the address.
#include <string>
#include <string_view>

namespace gr {

// query: the typed words in the server's code page (wire bytes).
std::string WebQueryText(std::string_view query);

} // namespace gr
