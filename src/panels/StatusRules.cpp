#include "panels/StatusRules.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

#include "core/Numbers.h"
#include "core/RunTimeError.h"
#include "core/TextFields.h"

namespace gr {

const std::array<std::string_view, kStatusValueCount> kStatusCaptions = {
    "Strength", "Intelligence", "Dexterity",  "Constitution", "Wisdom", "Charisma",  "Level", "Armor",
    "Gold",     "Bank",         "Experience", "Stamina",      "HP/Max", "Magic/Max", ""};

namespace {
std::vector<std::string_view> Fields(std::string_view value) {
    return SplitFields(value, "/");
}

std::string_view Field(const std::vector<std::string_view>& fields, std::size_t index, const char* message) {
    if (index >= fields.size())
        throw RunTimeError(std::string(message) + " lacks field " + std::to_string(index));
    return fields[index];
}

// A field's leading number. Hundreds of digits overflow a double; such a number fails like a field that
// is missing, so no infinity reaches a bar.
double NumberField(const std::vector<std::string_view>& fields, std::size_t index, const char* message) {
    const double n = LeadingNumber(Field(fields, index, message));
    if (!std::isfinite(n))
        throw OverflowError(std::string(message) + " field " + std::to_string(index) + " overflows");
    return n;
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
} // namespace

std::string FormatThousands(std::string_view text) {
    std::string s(text);
    for (std::size_t keep : {3u, 7u, 11u})
        if (s.size() > keep) s.insert(s.size() - keep, 1, ',');
    return s;
}

std::optional<std::uint32_t> ParseColourValue(std::string_view text) {
    if (!(text.starts_with("&H") || text.starts_with("&h"))) return std::nullopt;
    text.remove_prefix(2);
    if (text.ends_with('&')) text.remove_suffix(1);
    if (text.empty() || text.size() > 8) return std::nullopt;
    std::uint32_t v = 0;
    for (char c : text) {
        if (!IsHexDigit(c)) return std::nullopt;
        const int digit = c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
        v = v << 4 | std::uint32_t(digit);
    }
    return v & 0xFFFFFF;
}

std::string DecimalText(double value) {
    if (value == 0) return "0"; // and never "-0"
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    return buffer;
}

StatChange ParseStatChange(std::string_view value) {
    const auto fields = Fields(value);
    const int index = ToInt32(NumberField(fields, 0, "StChg"));
    const std::string_view text = Field(fields, 1, "StChg");
    if (index < 0 || index >= kStatusValueCount) throw RunTimeError("StChg index out of range");
    return {index, std::string(text)};
}

int BarWidth(double fraction, int referenceWidth) {
    const double width = std::trunc(double(referenceWidth) * fraction);
    if (!(width >= 0 && width <= std::numeric_limits<int>::max()))
        throw OverflowError("bar width out of range");
    return int(width);
}

double StaminaFraction(std::string_view value) {
    const auto fields = Fields(value);
    const double current = NumberField(fields, 0, "Stamina");
    if (current < 1) return 0;
    const double maximum = NumberField(fields, 1, "Stamina");
    return maximum != 0 ? current / maximum : 0;
}

PointsBar PointsBarFor(std::string_view value, bool hitPoints, std::uint32_t normalColour) {
    const auto fields = Fields(value);
    double current = NumberField(fields, 0, "HPChange");
    const double maximum = NumberField(fields, 1, "HPChange");
    PointsBar bar;
    if (current < 1 || maximum == 0) {
        bar.Empty = true;
        return bar;
    }
    if (current > maximum) current = maximum;
    bar.Fraction = current / maximum;
    if (bar.Fraction < kLowFraction) {
        bar.Low = true;
        bar.Colour = kLowBarColour;
    } else if (bar.Fraction < kHalfFraction) {
        bar.Colour = hitPoints ? kHitPointsLowColour : kMagicLowColour;
    } else if (bar.Fraction < kHighFraction) {
        bar.Colour = hitPoints ? kHitPointsHalfColour : kMagicHalfColour;
    } else {
        bar.Colour = normalColour;
    }
    return bar;
}

Experience ParseExperience(std::string_view value) {
    const auto fields = Fields(value);
    return {NumberField(fields, 0, "XPChange"), NumberField(fields, 1, "XPChange"),
            NumberField(fields, 2, "XPChange")};
}

std::string ExperienceText(const Experience& xp, bool enhanced) {
    const std::string current = FormatThousands(DecimalText(xp.Current));
    if (!enhanced) return current;
    const double percentage = std::trunc(xp.Fraction * 10000) / 100;
    return DecimalText(percentage) + "%\r\n" + current + "/" + FormatThousands(DecimalText(xp.Target));
}

ExperienceBar ExperienceBarFor(Experience& xp) {
    if (xp.Fraction >= 1) return {1, kExperienceFullColour};
    if (xp.Fraction < 0) xp.Fraction = 0;
    return {xp.Fraction, kExperienceColour};
}

bool BlinksWhenSwitchedOn(int valueWidth, int referenceWidth, bool magic) {
    if (magic && valueWidth == 1) return false;
    if (referenceWidth <= 0) return false; // no length to compare with
    return double(valueWidth) / referenceWidth < kLowFraction;
}

} // namespace gr
