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
                                           {8, 0.0001, kMaxRescaledFontSize},
                                           {8, 0, 8}})
        EXPECT_EQ(c.expected, RescaledFontSize(c.size, c.ratio)) << c.size << " / " << c.ratio;
}

} // namespace
} // namespace gr
