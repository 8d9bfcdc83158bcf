// The server's roll: its parser with well-formed and malformed texts, and the digit picture.
#include <gtest/gtest.h>

#include "character/StatsIn.h"

namespace gr {
namespace {

TEST(StatsIn, ReadsARoll) {
    const auto roll = ParseStatsIn("StatsIn17/12/15/9/18/11/111011101/5,400,836/");
    ASSERT_TRUE(roll);
    EXPECT_EQ((StatValues{17, 12, 15, 9, 18, 11}), roll->Stats);
    EXPECT_EQ((std::array<bool, 9>{true, true, true, false, true, true, true, false, true}), roll->Classes);
    EXPECT_EQ((std::vector<int>{5, 400, 836}), roll->Noise);
    const auto quiet = ParseStatsIn("StatsIn1/99/3/4/5/6/000000000//");
    ASSERT_TRUE(quiet);
    EXPECT_TRUE(quiet->Noise.empty());
    EXPECT_EQ(99, quiet->Stats[1]);
}

TEST(StatsIn, RefusesWhatIsNotARoll) {
    const std::string noise64 = [] {
        std::string s;
        for (int i = 0; i < 64; ++i)
            s += (i ? "," : "") + std::to_string(i);
        return s;
    }();
    ASSERT_TRUE(ParseStatsIn("StatsIn1/2/3/4/5/6/111111111/" + noise64 + "/"));
    const std::vector<std::string> bad = {
        "",
        "StatsIn",
        "Statsin1/2/3/4/5/6/111111111//",
        "StatsIn1/2/3/4/5/111111111//",     // five values
        "StatsIn1/2/3/4/5/6/7/111111111//", // seven values
        "StatsIn1/2/3/4/5/6/111111111/",    // no noise field
        "StatsIn1/2/3/4/5/6/111111111//x",  // something after the last "/"
        "StatsIn1/2/3/4/5/6/111111111///",  // an extra field
        "StatsIn0/2/3/4/5/6/111111111//",   // a value of 0
        "StatsIn100/2/3/4/5/6/111111111//", // three digits
        "StatsIn07/2/3/4/5/6/111111111//",  // a leading zero
        "StatsIn-1/2/3/4/5/6/111111111//",  // a sign
        "StatsIn+1/2/3/4/5/6/111111111//",
        "StatsIn 1/2/3/4/5/6/111111111//",    // a space
        "StatsIn/2/3/4/5/6/111111111//",      // an empty value
        "StatsIn1/2/3/4/5/6/11111111//",      // eight classes
        "StatsIn1/2/3/4/5/6/1111111111//",    // ten classes
        "StatsIn1/2/3/4/5/6/11111111x//",     // a class that is neither 0 nor 1
        "StatsIn1/2/3/4/5/6/111111111/837/",  // a cell past the picture
        "StatsIn1/2/3/4/5/6/111111111/1,,2/", // an empty cell
        "StatsIn1/2/3/4/5/6/111111111/,1/",
        "StatsIn1/2/3/4/5/6/111111111/1,/",
        "StatsIn1/2/3/4/5/6/111111111/01/",                   // a leading zero in a cell
        "StatsIn1/2/3/4/5/6/111111111/99999999999999999999/", // would overflow a naive reader
        "StatsIn1/2/3/4/5/6/111111111/" + noise64 + ",64/",   // 65 cells
        "StatsIn1/2/3/4/5/6/111111111/" + std::string(std::size_t(kMaxStatsInBytes), '1') + "/",
        std::string("StatsIn1/2/3/4/5/6/111111111/\0/", 31),
    };
    for (const std::string& text : bad)
        EXPECT_FALSE(ParseStatsIn(text)) << text;
}

TEST(StatsIn, WritingAndReadingAgreeOnTheRoll) {
    StatsRoll roll;
    roll.Stats = {3, 22, 10, 9, 14, 99};
    roll.Classes = {true, false, true, false, true, false, true, false, true};
    roll.Noise = {0, 92, 836};
    EXPECT_EQ("StatsIn3/22/10/9/14/99/101010101/0,92,836/", StatsInText(roll));
    EXPECT_EQ(roll, ParseStatsIn(StatsInText(roll)));
}

TEST(StatsIn, DigitGlyphsSitAtTheirFlatPlaces) {
    const DigitGlyphTable glyphs = MakeDigitGlyphs();
    // Digit 1, row 0 is "...##.": columns 3 and 4 filled, at 1 + 90 * 3 and 1 + 90 * 4.
    EXPECT_EQ(1, glyphs[1 + 90 * 3]);
    EXPECT_EQ(1, glyphs[1 + 90 * 4]);
    EXPECT_EQ(0, glyphs[1 + 90 * 2]);
    // Digit 2, row 8 is "######"; digit 9, row 7 is "##..#.".
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(1, DigitGlyph(glyphs, 2, 8, c));
    EXPECT_EQ((std::vector<int>{1, 1, 0, 0, 1, 0}), ([&] {
                  std::vector<int> row;
                  for (int c = 0; c < 6; ++c)
                      row.push_back(DigitGlyph(glyphs, 9, 7, c));
                  return row;
              }()));
    EXPECT_EQ(0, DigitGlyph(glyphs, 10, 0, 0));
    EXPECT_EQ(0, DigitGlyph(glyphs, 0, 9, 0));
}

TEST(StatsIn, PictureDrawsEachValueInItsPlaceAndFlipsTheNoise) {
    const DigitGlyphTable glyphs = MakeDigitGlyphs();
    StatsRoll roll;
    roll.Stats = {7, 18, 1, 1, 1, 1};
    const auto clean = StatsPicture(glyphs, roll);
    ASSERT_EQ(std::size_t(kStatsPictureCells), clean.size());
    auto cell = [&](const std::vector<std::uint8_t>& p, int row, int column) {
        return int(p[std::size_t(row * kStatsPictureColumns + column)]);
    };
    // 7 has no tens digit: its first six columns stay blank; its units digit starts at column 7.
    for (int r = 0; r < kGlyphRows; ++r)
        for (int c = 0; c < kGlyphColumns; ++c)
            EXPECT_EQ(0, cell(clean, r, c));
    for (int c = 0; c < kGlyphColumns; ++c)
        EXPECT_EQ(1, cell(clean, 0, 7 + c)); // "######"
    // 18 starts at column 16: a "1" then an "8".
    EXPECT_EQ(16, StatColumn(1));
    for (int r = 0; r < kGlyphRows; ++r)
        for (int c = 0; c < kGlyphColumns; ++c) {
            EXPECT_EQ(DigitGlyph(glyphs, 1, r, c), cell(clean, r, 16 + c));
            EXPECT_EQ(DigitGlyph(glyphs, 8, r, c), cell(clean, r, 23 + c));
        }
    roll.Noise = {0, 7};
    const auto noisy = StatsPicture(glyphs, roll);
    EXPECT_EQ(1, cell(noisy, 0, 0));
    EXPECT_EQ(0, cell(noisy, 0, 7));
    EXPECT_EQ("7, 18, 1, 1, 1, 1", StatsText(roll.Stats));
}

} // namespace
} // namespace gr
