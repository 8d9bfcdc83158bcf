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

int WindowSize(std::string_view pixels, int screenTwips) {
    const int twips = std::abs(ToInt32(LeadingNumber(pixels) * kTwipsPerPixel));
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
            try {
                const int width = WindowSize(character[1], screenWidthTwips);
                const int height = WindowSize(character[2], screenHeightTwips);
                fields.StartWidth = width;
                fields.StartHeight = height;
            } catch (const RunTimeError&) {
            }
        }
    }
    if (parts.size() >= 5) fields.Skin = parts[4];
    return fields;
}

} // namespace gr
