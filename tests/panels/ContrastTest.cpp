// The contrast of text colours, and the colours the client itself chooses for the text window.
#include "panels/Contrast.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "text/TextMarkup.h"

namespace gr {
namespace {

TEST(Contrast, RatioOfKnownPairs) {
    struct Case {
        std::uint32_t a, b;
        double ratio;
    };
    const Case cases[] = {
        {0x000000, 0xFFFFFF, 21.0},  {0xFFFFFF, 0x000000, 21.0},
        {0x123456, 0x123456, 1.0},   {0x777777, 0xFFFFFF, 4.478}, // just too light for text on white
        {0x767676, 0xFFFFFF, 4.542},                              // just dark enough
        {0x0000FF, 0x000000, 5.252},                              // red: the red channel is the low byte
        {0xFF0000, 0x000000, 2.444},                              // blue
    };
    for (const auto& c : cases)
        EXPECT_NEAR(c.ratio, ContrastRatio(c.a, c.b), 0.005) << std::hex << c.a << " " << c.b;
}

TEST(Contrast, EveryColourTheClientChoosesReadsOnTheTextWindow) {
    struct Colour {
        const char* use;
        std::uint32_t bgr;
    };
    const Colour colours[] = {
        {"default text", kDefaultTextColour},
        {"system lines", kSystemTextColour},
        {"links", kLinkColour},
        {"text kept after trimming", kTrimmedTextColour},
        {"the mark of a cut line", kCutMarkColour},
        {"the ping's number (tag 0000ff)", 0x0000FF},
        {"a voice chat request's quotes (tag ff8888)", 0xFF8888},
    };
    for (const auto& c : colours)
        EXPECT_GE(ContrastRatio(c.bgr, kTextBackgroundColour), kMinTextContrast) << c.use;
    // The dark blue that links had before could not be read there.
    EXPECT_LT(ContrastRatio(0xFF0000, kTextBackgroundColour), kMinTextContrast);
}

} // namespace
} // namespace gr
