#pragma once
// Cutting message and command text into its fields.
#include <string_view>
#include <vector>

namespace gr {

// The fields between separators, empty ones included ("a//b/" gives "a", "", "b", ""). The views point
// into text.
std::vector<std::string_view> SplitFields(std::string_view text, std::string_view separator);

// The text from a 1-based character position on ("" when the text is shorter).
std::string_view TextFrom(std::string_view text, std::size_t position);

// The text without the blanks and tabs at either end.
std::string_view TrimBlanks(std::string_view text);

} // namespace gr
