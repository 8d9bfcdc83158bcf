#include <gtest/gtest.h>

#include "skin/Rescale.h"

namespace gr {
namespace {

TEST(Rescale, FontSizesFollowTheRoundingRule) {
    struct Case {
        double size, ratio;
        int expected;
    };
    for (const Case& c : std::vector<Case>{{9.4, 1, 10},
                                           {9.6, 1, 9},
                                           {10.5, 1, 10},
                                           {10.7, 1, 11},
                                           {8, 1, 8},
                                           {8, 0.5, 16}, // doubled width
                                           {9, 0.5, 18},
                                           {8, 2, 4},
                                           {8, 0.0001, kMaxFontSize},
                                           {8, 0, 8}})
        EXPECT_EQ(c.expected, RescaledFontSize(c.size, c.ratio)) << c.size << " / " << c.ratio;
}

TEST(Rescale, ControlsFollowTheWindowFromTheRecord) {
    const std::vector<ControlGeometry> recorded = {
        {false, 400, 300, 1000, 2000, 8, 120}, {true, 100, 200, 300, 4000, 0, 0}, // a line: its end points
    };
    RecordedLayout layout;
    EXPECT_TRUE(layout.FormResize(11910, 8970).empty()) << "nothing recorded yet";
    layout.Init(11910, 8970, recorded);
    EXPECT_TRUE(layout.FormResize(23820, 8970).empty()) << "the first resize after recording changes nothing";

    // At the recorded size everything stays where it was.
    EXPECT_EQ(recorded, layout.FormResize(11910, 8970));

    // Twice the width: lefts and widths double, fonts by the rounding rule, heights unchanged.
    const auto wide = layout.FormResize(23820, 8970);
    ASSERT_EQ(2u, wide.size());
    EXPECT_DOUBLE_EQ(600, wide[0].Left);
    EXPECT_DOUBLE_EQ(4000, wide[0].Width);
    EXPECT_DOUBLE_EQ(400, wide[0].Top);
    EXPECT_EQ(16, wide[0].FontSize);
    EXPECT_EQ(120, wide[0].RightMargin);
    EXPECT_DOUBLE_EQ(8000, wide[1].Width) << "a line's second end point moves with the width";
    EXPECT_EQ(0, wide[1].FontSize);

    // The height grows by (new - 400) / (old - 400): the frame's 400 twips take no part.
    const auto tall = layout.FormResize(11910, 2 * 8970 - 400);
    ASSERT_EQ(2u, tall.size());
    EXPECT_DOUBLE_EQ(800, tall[0].Top);
    EXPECT_DOUBLE_EQ(2000, tall[0].Height);
    EXPECT_EQ(240, tall[0].RightMargin);
    EXPECT_EQ(8, tall[0].FontSize);

    // Sizes that leave no room change nothing.
    for (const auto& [w, h] :
         std::vector<std::pair<int, int>>{{0, 8970}, {11910, 400}, {11910, 100}, {-5, -5}})
        EXPECT_TRUE(layout.FormResize(w, h).empty()) << w << "x" << h;
}

TEST(Rescale, BarsKeepTheirFraction) {
    EXPECT_DOUBLE_EQ(150, KeptBarWidth(50, 100, 300));
    EXPECT_DOUBLE_EQ(0, KeptBarWidth(50, 0, 300));
    EXPECT_DOUBLE_EQ(300, KeptBarWidth(100, 100, 300));
}

} // namespace
} // namespace gr
