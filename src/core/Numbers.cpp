#include "core/Numbers.h"

#include <cmath>
#include <limits>

#include "core/RunTimeError.h"

namespace gr {

namespace {
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Reads sign, digits and fraction from text[i]; returns the count of digits read.
int ReadNumber(std::string_view text, std::size_t& i, double& value) {
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int digits = 0;
    double v = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i, ++digits) v = v * 10 + (text[i] - '0');
    if (i < text.size() && text[i] == '.') {
        ++i;
        double scale = 0.1;
        for (; i < text.size() && IsDigit(text[i]); ++i, ++digits, scale /= 10) v += (text[i] - '0') * scale;
    }
    value = negative ? -v : v;
    return digits;
}
} // namespace

double LeadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    double value = 0;
    return ReadNumber(text, i, value) > 0 ? value : 0.0;
}

std::int32_t ToInt32(double value) {
    const double r = std::nearbyint(value); // the default rounding mode rounds half to even
    if (!(r >= std::numeric_limits<std::int32_t>::min() && r <= std::numeric_limits<std::int32_t>::max()))
        throw OverflowError("overflow");
    return static_cast<std::int32_t>(r);
}

std::optional<std::int32_t> WholeNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    double value = 0;
    if (ReadNumber(text, i, value) == 0) return std::nullopt;
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i != text.size()) return std::nullopt;
    try {
        return ToInt32(value);
    } catch (const RunTimeError&) {
        return std::nullopt;
    }
}

} // namespace gr
