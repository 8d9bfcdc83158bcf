// The races' maximum stats and the portraits' picture numbers.
#include <gtest/gtest.h>

#include "character/CharacterTables.h"

namespace gr {
namespace {

TEST(CharacterTables, MaximumStatsByRace) {
    const std::vector<std::pair<std::string_view, StatValues>> table = {
        {"Human", {19, 19, 19, 19, 19, 19}},      {"Elf", {18, 21, 19, 18, 20, 21}},
        {"Dwarf", {21, 18, 18, 21, 18, 17}},      {"Gnome", {17, 21, 20, 18, 19, 18}},
        {"Halfling", {18, 19, 21, 18, 18, 19}},   {"Half-Elf", {18, 20, 19, 19, 19, 20}},
        {"Half-Orc", {22, 15, 17, 22, 14, 15}},   {"Dark-Elf", {19, 20, 20, 17, 21, 16}},
        {"Half-Dwarf", {20, 19, 18, 20, 19, 18}},
    };
    ASSERT_EQ(std::size_t(kRaceCount), table.size());
    for (std::size_t race = 0; race < table.size(); ++race) {
        EXPECT_EQ(table[race].first, kRaceNames[race]);
        EXPECT_EQ(table[race].second, kMaxStats[race]) << table[race].first;
    }
    EXPECT_EQ("Dark-Elf", kRaceNames[std::size_t(kDarkElf)]);
}

TEST(CharacterTables, PortraitPictureNumbers) {
    const std::vector<std::pair<int, int>> table = {
        {0, 1149}, {19, 1168}, {20, 1248}, {29, 1257}, {30, 1264}, {39, 1273}, {-1, 0}, {40, 0},
    };
    for (const auto& [index, picture] : table)
        EXPECT_EQ(picture, PortraitPicture(index)) << index;
}

} // namespace
} // namespace gr
