#pragma once
// Number reading as the game's texts expect it.
#include <cstdint>
#include <optional>
#include <string_view>

namespace gr {

// The number at the start of a text: leading blanks skipped, an optional sign, digits, an optional
// fraction; 0 when no number starts the text ("12abc" is 12, "abc" is 0).
double LeadingNumber(std::string_view text);

// A whole decimal number that fills the text (blanks around it allowed), rounded half to even when it has
// a fraction; nothing when the text is empty, not a number, or outside the 32-bit range.
std::optional<std::int32_t> WholeNumber(std::string_view text);

// value rounded half to even into 32 bits; throws RunTimeError when it does not fit.
std::int32_t ToInt32(double value);

} // namespace gr
