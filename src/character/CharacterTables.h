#pragma once
// The fixed choices of character creation: the nine races with their maximum stats, the nine classes,
// and the forty portraits with their picture numbers.
#include <array>
#include <string_view>

namespace gr {

constexpr int kRaceCount = 9;
constexpr int kClassCount = 9;
constexpr int kStatCount = 6;
constexpr int kPortraitCount = 40;
constexpr int kDarkElf = 7;

using StatValues = std::array<int, kStatCount>;

// "Human", "Elf", ... "Half-Dwarf", by race index.
constexpr std::array<std::string_view, kRaceCount> kRaceNames = {
    "Human", "Elf", "Dwarf", "Gnome", "Halfling", "Half-Elf", "Half-Orc", "Dark-Elf", "Half-Dwarf"};
// "Cleric" ... "Pacifist", by class index; the caption is what "AccountNewCrit" carries.
constexpr std::array<std::string_view, kClassCount> kClassNames = {
    "Cleric", "Druid", "Fighter", "Mage", "Paladin", "Ranger", "Thief", "Berserker", "Pacifist"};

// The six maximum stat values of a race (index 0 to 8, in the order of the six rolled stats).
constexpr std::array<StatValues, kRaceCount> kMaxStats = {{
    {19, 19, 19, 19, 19, 19}, // Human
    {18, 21, 19, 18, 20, 21}, // Elf
    {21, 18, 18, 21, 18, 17}, // Dwarf
    {17, 21, 20, 18, 19, 18}, // Gnome
    {18, 19, 21, 18, 18, 19}, // Halfling
    {18, 20, 19, 19, 19, 20}, // Half-Elf
    {22, 15, 17, 22, 14, 15}, // Half-Orc
    {19, 20, 20, 17, 21, 16}, // Dark-Elf
    {20, 19, 18, 20, 19, 18}, // Half-Dwarf
}};

constexpr std::string_view kDarkElfNote = "Note: Dark Elves are considerably more challenging to train than "
                                          "other races and are recommended only for "
                                          "experienced players. Proceed with caution!";

// The picture number of portrait index 0 to 39: 1149-1168, 1248-1257, 1264-1273; 0 for any other index.
constexpr int PortraitPicture(int index) {
    if (index < 0 || index >= kPortraitCount) return 0;
    if (index < 20) return 1149 + index;
    if (index < 30) return 1228 + index;
    return 1234 + index;
}

} // namespace gr
