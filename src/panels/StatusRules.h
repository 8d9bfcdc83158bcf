#pragma once
// The rules of the status panel: what each status message from the server means for the captioned values
// and the four bars (experience, stamina, hit points, magic), the thousands separators, the bar lengths and
// colours, the enhanced experience text and when a low bar blinks. Plain functions over the message text;
// a field that is missing or a number that cannot be used throws RunTimeError, and the dispatcher drops the
// rest of its tick.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace gr {

// The captioned values, by index; the caption of each pairs with its value.
constexpr int kStatusValueCount = 15;
constexpr int kLevelValue = 6;
constexpr int kArmourValue = 7;
constexpr int kGoldValue = 8;
constexpr int kBankValue = 9;
constexpr int kExperienceValue = 10;
constexpr int kStaminaValue = 11;
constexpr int kHitPointsValue = 12;
constexpr int kMagicValue = 13;
extern const std::array<std::string_view, kStatusValueCount> kStatusCaptions;

// The bars come in pairs: the even one shows the value over the odd one, the reference, whose width is
// the full length.
constexpr int kStatusBarCount = 8;
constexpr int kExperienceBar = 0;
constexpr int kStaminaBar = 2;
constexpr int kHitPointsBar = 4;
constexpr int kMagicBar = 6;

// A value label holds a number or a short word or two; server text beyond this is cut (and marked).
constexpr std::size_t kMaxStatusBytes = 64;

// Colours as the system writes them: 0xBBGGRR.
constexpr std::uint32_t kLowBarColour = 0x0000FF;           // red, under a fifth
constexpr std::uint32_t kHitPointsHalfColour = 0x00FFFF;    // yellow, a half to under four fifths
constexpr std::uint32_t kHitPointsLowColour = 0x0080FF;     // orange, a fifth to under a half
constexpr std::uint32_t kMagicHalfColour = 0xFF0080;        // a half to under four fifths
constexpr std::uint32_t kMagicLowColour = 0x8000C0;         // a fifth to under a half
constexpr std::uint32_t kExperienceColour = 0x00C0C0;       // below a full level
constexpr std::uint32_t kExperienceFullColour = 255;        // a full level or more: red
constexpr std::uint32_t kDefaultHitPointsColour = 0x00C000; // without a skin
constexpr std::uint32_t kDefaultMagicColour = 0xFF0000;     // without a skin
// Fractions at which the points bars change.
constexpr double kLowFraction = 0.2;
constexpr double kHalfFraction = 0.5;
constexpr double kHighFraction = 0.8;

// Inserts "," before the last 3 characters of a text longer than 3, then before the last 7 of a result
// longer than 7, then before the last 11 of one longer than 11: "1234567" gives "1,234,567". At most three
// separators; the text is not checked for being digits.
std::string FormatThousands(std::string_view text);

// A colour value as skins write it: "&H" and up to eight hexadecimal digits (blue, green, red), an
// optional trailing "&". Nothing when the text is not one.
std::optional<std::uint32_t> ParseColourValue(std::string_view text);

// A number as a value label shows it: up to 15 significant digits, no trailing zeros, an exponent from
// 1E+15 on and below 1E-04 ("12345", "45.67", "1E+15").
std::string DecimalText(double value);

// "StChg": index/text. The index must be 0 to 14.
struct StatChange {
    int Index = 0;
    std::string Text;
};
StatChange ParseStatChange(std::string_view value);

// The value bar's length as a fraction of its reference bar's, and the bar's integer width for a
// reference of the given width (the integer part of the product). A width that does not fit an int, or
// is negative, throws.
int BarWidth(double fraction, int referenceWidth);

// "Stamina": current/maximum. Below 1 the bar is empty (maximum not read); a zero maximum empties it too.
// Not capped: more than the maximum makes the bar longer than its reference.
double StaminaFraction(std::string_view value);

// "HPChange" and "MGChange": current/maximum. Empty when current is below 1 or maximum is 0 (the colour
// and the blinking then stay as they are); otherwise the fraction (capped at 1), whether it is low
// (blinks), and the bar's colour.
struct PointsBar {
    bool Empty = false;
    double Fraction = 0;
    bool Low = false;
    std::uint32_t Colour = 0;
};
PointsBar PointsBarFor(std::string_view value, bool hitPoints, std::uint32_t normalColour);

// "XPChange": current/target/fraction of the level, all three needed.
struct Experience {
    double Current = 0;
    double Target = 0;
    double Fraction = 0;
};
Experience ParseExperience(std::string_view value);

// The experience value: "12,345", or with the enhanced text "45.67%\r\n12,345/50,000" (the percentage
// cut, not rounded, to two decimals).
std::string ExperienceText(const Experience& xp, bool enhanced);

// The experience bar: below a full level its fraction (a negative one stored as 0) in kExperienceColour,
// otherwise full length in kExperienceFullColour.
struct ExperienceBar {
    double Fraction = 0;
    std::uint32_t Colour = kExperienceColour;
};
ExperienceBar ExperienceBarFor(Experience& xp);

// Whether switching blinking on starts a points bar's blink, from the widths the bars have now. The magic
// bar does not blink at a width of exactly 1.
bool BlinksWhenSwitchedOn(int valueWidth, int referenceWidth, bool magic);

} // namespace gr
