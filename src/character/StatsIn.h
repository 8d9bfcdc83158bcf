#pragma once
// The rolled stats as the server sends them ("GenerateUser" + "StatsIn" ...), and the digit picture the
// character-creation window draws from them.
//
// The text after "GenerateUser" is
//   "StatsIn" s0 "/" s1 "/" s2 "/" s3 "/" s4 "/" s5 "/" classes "/" noise "/"
// - s0 to s5: the six rolled values, decimal, 1 to 99, no leading zero;
// - classes: nine characters "0" or "1", one per class in the order Cleric, Druid, Fighter, Mage, Paladin,
//   Ranger, Thief, Berserker, Pacifist: "1" when the roll allows the class;
// - noise: zero to kMaxNoiseCells cell numbers of the digit picture, separated by ",", each decimal below
//   kStatsPictureCells with no leading zero; each named cell is flipped when the picture is drawn.
// Anything else (a missing or extra field, a sign, a space, a value out of range, a longer text than
// kMaxStatsInBytes) is not a roll.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "character/CharacterTables.h"

namespace gr {

// Each digit is a 6-column, 9-row grid of squares.
constexpr int kGlyphColumns = 6;
constexpr int kGlyphRows = 9;
// DigitGlyphs: element (digit d, row r, column c) at d + 10 r + 90 c, 1 for a filled square.
using DigitGlyphTable = std::array<std::uint8_t, 10 * kGlyphRows * kGlyphColumns>;
DigitGlyphTable MakeDigitGlyphs();
// 0 or 1; 0 outside the glyphs.
int DigitGlyph(const DigitGlyphTable& glyphs, int digit, int row, int column);

// The picture: the six values side by side, each two glyphs wide with one blank column between the digits
// (a value below 10 leaves its tens place blank) and three blank columns between values.
constexpr int kStatColumns = 2 * kGlyphColumns + 1;
constexpr int kStatGap = 3;
constexpr int kStatsPictureColumns = kStatCount * kStatColumns + (kStatCount - 1) * kStatGap;
constexpr int kStatsPictureRows = kGlyphRows;
constexpr int kStatsPictureCells = kStatsPictureColumns * kStatsPictureRows;
// The first column of stat i's two digits.
constexpr int StatColumn(int i) {
    return i * (kStatColumns + kStatGap);
}

// Bounds on what the server controls: a roll is a short message, and the noise a sprinkle, not a flood.
constexpr std::size_t kMaxStatsInBytes = 512;
constexpr std::size_t kMaxNoiseCells = 64;
constexpr int kMaxStatValue = 99;

struct StatsRoll {
    StatValues Stats{};
    std::array<bool, kClassCount> Classes{};
    std::vector<int> Noise;
    bool operator==(const StatsRoll&) const = default;
};

// The roll in the text after "GenerateUser" (starting "StatsIn"); nullopt when it is not a roll.
std::optional<StatsRoll> ParseStatsIn(std::string_view text);
// The text after "GenerateUser" for a roll: what ParseStatsIn reads back. Values and cells out of range
// are the caller's fault and are clamped.
std::string StatsInText(const StatsRoll& roll);

// The cells of the picture, row by row (kStatsPictureColumns per row): 1 for a filled square.
std::vector<std::uint8_t> StatsPicture(const DigitGlyphTable& glyphs, const StatsRoll& roll);

// The values as text for reading: "17, 12, 15, 9, 18, 11".
std::string StatsText(const StatValues& stats);

} // namespace gr
