#include "core/CommandLine.h"

#include <cmath>
#include <vector>

#include "core/CodePage.h"
#include "core/Numbers.h"
#include "core/RunTimeError.h"

namespace gr {

namespace {
constexpr int kTwipsPerPixel = 15;
constexpr int kScreenMargin = 1500;

std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const auto at = text.find(separator, start);
        parts.emplace_back(text.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start));
        if (at == std::string_view::npos) return parts;
        start = at + 1;
    }
}

int WindowSize(const std::string& pixels, int screenTwips) {
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
    const auto parts = Split(line, '/');
    if (parts.size() >= 3) {
        fields.UserName = parts[0];
        fields.Password = parts[1];
        try {
            fields.ServerIndex = ToInt32(LeadingNumber(parts[2]));
        } catch (const RunTimeError&) {
        }
    }
    if (parts.size() >= 4) {
        const auto character = Split(parts[3], '\'');
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
