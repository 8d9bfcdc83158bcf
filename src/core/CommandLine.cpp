#include "core/CommandLine.h"

#include <cmath>

#include "core/CodePage.h"
#include "core/Numbers.h"
#include "core/RunTimeError.h"
#include "core/TextFields.h"

namespace gr {

namespace {
constexpr int kTwipsPerPixel = 15;
constexpr int kScreenMargin = 1500;
// No screen is this wide; a larger size is a mistake or a hostile line, and it is ignored.
constexpr double kMaxPixels = 1'000'000;

// The window size in twips from a pixel count, or nothing when the text does not start with a number or
// the number is beyond the bound (which also keeps the sign removal and the twips inside 32 bits).
std::optional<int> WindowSize(std::string_view pixels, int screenTwips) {
    std::size_t at = pixels.find_first_not_of(" \t");
    if (at != std::string_view::npos && (pixels[at] == '-' || pixels[at] == '+')) ++at;
    if (at < pixels.size() && pixels[at] == '.') ++at;
    if (at >= pixels.size() || pixels[at] < '0' || pixels[at] > '9') return std::nullopt;
    const double size = std::fabs(LeadingNumber(pixels));
    if (!(size <= kMaxPixels)) return std::nullopt;
    const int twips = ToInt32(size) * kTwipsPerPixel;
    return screenTwips < twips ? screenTwips - kScreenMargin : twips;
}
} // namespace

std::string JoinArguments(const std::vector<std::string>& arguments) {
    std::string line;
    for (const auto& argument : arguments) {
        if (!line.empty() || &argument != &arguments.front()) line += ' ';
        line += argument;
    }
    return line;
}

CommandLineFields ParseCommandLine(std::string_view line, int screenWidthTwips, int screenHeightTwips) {
    CommandLineFields fields;
    const auto parts = SplitFields(line, "/");
    if (parts.size() >= 3) {
        fields.UserName = parts[0];
        fields.Password = parts[1];
        try {
            fields.ServerIndex = ToInt32(LeadingNumber(parts[2]));
        } catch (const RunTimeError&) {
        }
    }
    if (parts.size() >= 4) {
        const auto character = SplitFields(parts[3], "'");
        fields.AutoPlayCharacter = LowerCase(character[0]);
        if (character.size() == 3) {
            // A size needs both values; either one unreadable or out of bounds leaves the size unset.
            const auto width = WindowSize(character[1], screenWidthTwips);
            const auto height = WindowSize(character[2], screenHeightTwips);
            if (width && height) {
                fields.StartWidth = width;
                fields.StartHeight = height;
            }
        }
    }
    if (parts.size() >= 5) fields.Skin = parts[4];
    return fields;
}

} // namespace gr
