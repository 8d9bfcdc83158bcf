#include "character/StatsIn.h"

#include <algorithm>

namespace gr {

namespace {

// Rows from top to bottom, "#" for a filled square.
constexpr std::array<std::array<std::string_view, kGlyphRows>, 10> kGlyphRowsText = {{
    {".####.", "##..##", "##..##", "##..##", "##..##", "##..##", "##..##", "##..##", ".####."},
    {"...##.", "..###.", ".####.", ".#.##.", "...##.", "...##.", "...##.", "...##.", "...##."},
    {".####.", "##..##", "....##", "....##", "...##.", "..##..", ".##...", "##....", "######"},
    {".####.", "##..##", "....##", "..###.", "....##", "....##", "....##", "##..##", ".####."},
    {"...##.", "..###.", "..###.", ".#.##.", ".#.##.", "#..##.", "######", "...##.", "...##."},
    {".#####", ".##...", "##....", "#####.", "##..##", "....##", "....##", "##..##", ".####."},
    {"..###.", ".#..##", "##....", "#####.", "##..##", "##..##", "##..##", "##..##", ".####."},
    {"######", "....##", "...##.", "...##.", "..##..", "..##..", ".##...", ".##...", ".##..."},
    {".####.", "##..##", "##..##", "##..##", ".####.", "##..##", "##..##", "##..##", ".####."},
    {".####.", "##..##", "##..##", "##..##", "##..##", ".#####", "....##", "##..#.", ".###.."},
}};

// A decimal number of 1 to maxDigits digits with no leading zero (a lone "0" is allowed).
std::optional<int> Decimal(std::string_view text, std::size_t maxDigits) {
    if (text.empty() || text.size() > maxDigits) return std::nullopt;
    if (text.size() > 1 && text[0] == '0') return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// The next "/"-ended field of text from `at` on; nullopt when there is no "/".
std::optional<std::string_view> Field(std::string_view text, std::size_t& at) {
    const std::size_t slash = text.find('/', at);
    if (slash == std::string_view::npos) return std::nullopt;
    const std::string_view field = text.substr(at, slash - at);
    at = slash + 1;
    return field;
}

} // namespace

DigitGlyphTable MakeDigitGlyphs() {
    DigitGlyphTable glyphs{};
    for (int d = 0; d < 10; ++d)
        for (int r = 0; r < kGlyphRows; ++r)
            for (int c = 0; c < kGlyphColumns; ++c)
                glyphs[std::size_t(d + 10 * r + 90 * c)] =
                    kGlyphRowsText[std::size_t(d)][std::size_t(r)][std::size_t(c)] == '#' ? 1 : 0;
    return glyphs;
}

int DigitGlyph(const DigitGlyphTable& glyphs, int digit, int row, int column) {
    if (digit < 0 || digit > 9 || row < 0 || row >= kGlyphRows || column < 0 || column >= kGlyphColumns)
        return 0;
    return glyphs[std::size_t(digit + 10 * row + 90 * column)];
}

std::optional<StatsRoll> ParseStatsIn(std::string_view text) {
    constexpr std::string_view kKeyword = "StatsIn";
    if (text.size() > kMaxStatsInBytes || !text.starts_with(kKeyword)) return std::nullopt;
    StatsRoll roll;
    std::size_t at = kKeyword.size();
    for (int& stat : roll.Stats) {
        const auto field = Field(text, at);
        if (!field) return std::nullopt;
        const auto value = Decimal(*field, 2);
        if (!value || *value < 1) return std::nullopt;
        stat = *value;
    }
    const auto classes = Field(text, at);
    if (!classes || classes->size() != std::size_t(kClassCount)) return std::nullopt;
    for (std::size_t i = 0; i < roll.Classes.size(); ++i) {
        const char c = (*classes)[i];
        if (c != '0' && c != '1') return std::nullopt;
        roll.Classes[i] = c == '1';
    }
    const auto noise = Field(text, at);
    if (!noise || at != text.size()) return std::nullopt;
    if (!noise->empty()) {
        std::size_t start = 0;
        while (true) {
            const std::size_t comma = noise->find(',', start);
            const std::string_view cell = noise->substr(
                start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
            const auto value = Decimal(cell, 3);
            if (!value || *value >= kStatsPictureCells || roll.Noise.size() >= kMaxNoiseCells)
                return std::nullopt;
            roll.Noise.push_back(*value);
            if (comma == std::string_view::npos) break;
            start = comma + 1;
        }
    }
    return roll;
}

std::string StatsInText(const StatsRoll& roll) {
    std::string text = "StatsIn";
    for (int stat : roll.Stats)
        text += std::to_string(std::clamp(stat, 1, kMaxStatValue)) + "/";
    for (bool allowed : roll.Classes)
        text += allowed ? '1' : '0';
    text += '/';
    const std::size_t cells = std::min(roll.Noise.size(), kMaxNoiseCells);
    for (std::size_t i = 0; i < cells; ++i) {
        if (i > 0) text += ',';
        text += std::to_string(std::clamp(roll.Noise[i], 0, kStatsPictureCells - 1));
    }
    text += '/';
    return text;
}

std::vector<std::uint8_t> StatsPicture(const DigitGlyphTable& glyphs, const StatsRoll& roll) {
    std::vector<std::uint8_t> cells(std::size_t(kStatsPictureCells), 0);
    auto draw = [&](int digit, int left) {
        for (int r = 0; r < kGlyphRows; ++r)
            for (int c = 0; c < kGlyphColumns; ++c)
                cells[std::size_t(r * kStatsPictureColumns + left + c)] =
                    std::uint8_t(DigitGlyph(glyphs, digit, r, c));
    };
    for (int i = 0; i < kStatCount; ++i) {
        const int value = std::clamp(roll.Stats[std::size_t(i)], 0, kMaxStatValue);
        if (value >= 10) draw(value / 10, StatColumn(i));
        draw(value % 10, StatColumn(i) + kGlyphColumns + 1);
    }
    for (int cell : roll.Noise)
        if (cell >= 0 && cell < kStatsPictureCells) cells[std::size_t(cell)] ^= 1;
    return cells;
}

std::string StatsText(const StatValues& stats) {
    std::string text;
    for (std::size_t i = 0; i < stats.size(); ++i) {
        if (i > 0) text += ", ";
        text += std::to_string(stats[i]);
    }
    return text;
}

} // namespace gr
