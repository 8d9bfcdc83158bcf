// The status panel's rules: thousands separators, the fields of each status message, the bar lengths and
// colours, the experience text and when switching blinking on starts a blink.
#include "panels/StatusRules.h"

#include <gtest/gtest.h>

#include <string>

#include "core/RunTimeError.h"

namespace gr {
namespace {

TEST(StatusRules, FormatThousandsInsertsAtMostThreeSeparators) {
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"", ""},
        {"999", "999"},
        {"1234", "1,234"},
        {"1234567", "1,234,567"},
        {"12345678", "12,345,678"},
        {"1234567890", "1,234,567,890"},
        {"1234567890123", "1234,567,890,123"}, // the fourth group stays whole
        {"abcd", "a,bcd"},                     // not checked for digits
        {"-123", "-,123"},
        {"12.5", "1,2.5"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.out, FormatThousands(c.in)) << c.in;
}

TEST(StatusRules, ColourValuesAsSkinsWriteThem) {
    EXPECT_EQ(0x00C000u, ParseColourValue("&H0000C000"));
    EXPECT_EQ(0x00C000u, ParseColourValue("&H0000C000&"));
    EXPECT_EQ(0x0000FFu, ParseColourValue("&H0000FF"));
    EXPECT_EQ(0xFF0080u, ParseColourValue("&h00ff0080"));
    EXPECT_EQ(0x123456u, ParseColourValue("&HFF123456")); // the top byte is not a colour
    for (const char* bad : {"", "&H", "0000C000", "&H0000G000", "&H123456789", "&H 12", "255"})
        EXPECT_EQ(std::nullopt, ParseColourValue(bad)) << bad;
}

TEST(StatusRules, StatChangeNeedsAnIndexInRangeAndAText) {
    const StatChange c = ParseStatChange("3/18");
    EXPECT_EQ(3, c.Index);
    EXPECT_EQ("18", c.Text);
    EXPECT_EQ(14, ParseStatChange("14/Blessed/extra").Index);
    EXPECT_EQ("", ParseStatChange("0/").Text);
    EXPECT_EQ(0, ParseStatChange("x/strong").Index); // a field that is not a number counts as 0
    EXPECT_EQ(2, ParseStatChange("2.5/x").Index);    // whole numbers round half to even
    for (const char* bad : {"", "3", "15/x", "-1/x", "99999999999/x", "14.6/x"})
        EXPECT_THROW(ParseStatChange(bad), RunTimeError) << bad;
}

TEST(StatusRules, StaminaFractionIsNotCapped) {
    struct Case {
        const char* value;
        double fraction;
    };
    const Case cases[] = {
        {"50/100", 0.5}, {"150/100", 1.5}, {"0/100", 0}, {"0", 0},   {"-3", 0},
        {"0.5/1", 0},    {"7/0", 0},       {"7/", 0},    {"7/x", 0}, {"1/4", 0.25},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(c.fraction, StaminaFraction(c.value)) << c.value;
    // From 1 on the maximum is read.
    for (const std::string& bad : {std::string("5"), std::string("1"), std::string(400, '9') + "/1"})
        EXPECT_THROW(StaminaFraction(bad), RunTimeError) << bad.substr(0, 10);
}

TEST(StatusRules, PointsBarsColourByTheirFraction) {
    struct Case {
        const char* value;
        bool hitPoints;
        bool empty;
        double fraction;
        bool low;
        std::uint32_t colour;
    };
    const std::uint32_t normalHp = 0x00C000, normalMagic = 0xFF0000;
    const Case cases[] = {
        {"5/100", true, false, 0.05, true, 0x0000FF},
        {"19/100", true, false, 0.19, true, 0x0000FF},
        {"20/100", true, false, 0.2, false, 0x0080FF},
        {"49/100", true, false, 0.49, false, 0x0080FF},
        {"50/100", true, false, 0.5, false, 0x00FFFF},
        {"79/100", true, false, 0.79, false, 0x00FFFF},
        {"80/100", true, false, 0.8, false, normalHp},
        {"150/100", true, false, 1, false, normalHp}, // capped
        {"5/100", false, false, 0.05, true, 0x0000FF},
        {"30/100", false, false, 0.3, false, 0x8000C0},
        {"60/100", false, false, 0.6, false, 0xFF0080},
        {"100/100", false, false, 1, false, normalMagic},
        {"0/100", true, true, 0, false, 0},
        {"0.9/100", true, true, 0, false, 0},
        {"5/0", true, true, 0, false, 0},
        {"x/100", false, true, 0, false, 0},
    };
    for (const auto& c : cases) {
        const PointsBar bar = PointsBarFor(c.value, c.hitPoints, c.hitPoints ? normalHp : normalMagic);
        EXPECT_EQ(c.empty, bar.Empty) << c.value;
        EXPECT_DOUBLE_EQ(c.fraction, bar.Fraction) << c.value;
        EXPECT_EQ(c.low, bar.Low) << c.value;
        if (!c.empty) {
            EXPECT_EQ(c.colour, bar.Colour) << c.value << (c.hitPoints ? " hit points" : " magic");
        }
    }
    // Both fields are read, even when current is 0.
    for (const std::string& bad :
         {std::string(), std::string("0"), std::string("50"), std::string(400, '9') + "/1"})
        EXPECT_THROW(PointsBarFor(bad, true, normalHp), RunTimeError) << bad.substr(0, 10);
}

TEST(StatusRules, BarWidthIsTheIntegerPartAndMustFit) {
    EXPECT_EQ(55, BarWidth(0.4567, 122));
    EXPECT_EQ(6, BarWidth(0.05, 122));
    EXPECT_EQ(183, BarWidth(1.5, 122));
    EXPECT_EQ(0, BarWidth(0, 122));
    EXPECT_EQ(0, BarWidth(0.5, 0));
    EXPECT_THROW(BarWidth(1e12, 122), RunTimeError); // a stamina of billions over 1
    EXPECT_THROW(BarWidth(-0.5, 122), RunTimeError); // a negative maximum
}

TEST(StatusRules, ExperienceTextPlainAndEnhanced) {
    struct Case {
        Experience xp;
        const char* plain;
        const char* enhanced;
    };
    const Case cases[] = {
        {{12345, 50000, 0.4567}, "12,345", "45.67%\r\n12,345/50,000"},
        {{500, 1000, 0.5}, "500", "50%\r\n500/1,000"},
        {{1, 3, 0.33339}, "1", "33.33%\r\n1/3"}, // cut, not rounded
        {{0, 0, 0}, "0", "0%\r\n0/0"},
        {{1234567, 2000000, 1.2}, "1,234,567", "120%\r\n1,234,567/2,000,000"},
        {{12.5, 100, 0.125}, "1,2.5", "12.5%\r\n1,2.5/100"},
        {{1e15, 2e15, -0.5}, "1E,+15", "-50%\r\n1E,+15/2E,+15"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.plain, ExperienceText(c.xp, false)) << c.plain;
        EXPECT_EQ(c.enhanced, ExperienceText(c.xp, true)) << c.plain;
    }
}

TEST(StatusRules, ExperienceNeedsThreeFields) {
    const Experience xp = ParseExperience("12345/50000/0.4567");
    EXPECT_DOUBLE_EQ(12345, xp.Current);
    EXPECT_DOUBLE_EQ(50000, xp.Target);
    EXPECT_DOUBLE_EQ(0.4567, xp.Fraction);
    for (const std::string& bad : {std::string(), std::string("1/2"), "1/2/" + std::string(400, '9')})
        EXPECT_THROW(ParseExperience(bad), RunTimeError) << bad.substr(0, 10);
}

TEST(StatusRules, ExperienceBarBelowAndAtAFullLevel) {
    Experience xp{1, 2, 0.4567};
    ExperienceBar bar = ExperienceBarFor(xp);
    EXPECT_DOUBLE_EQ(0.4567, bar.Fraction);
    EXPECT_EQ(0x00C0C0u, bar.Colour);
    xp.Fraction = 1.2;
    bar = ExperienceBarFor(xp);
    EXPECT_DOUBLE_EQ(1, bar.Fraction);
    EXPECT_EQ(255u, bar.Colour);
    xp.Fraction = -0.3; // stored as 0 from now on
    bar = ExperienceBarFor(xp);
    EXPECT_DOUBLE_EQ(0, bar.Fraction);
    EXPECT_DOUBLE_EQ(0, xp.Fraction);
    EXPECT_EQ("0%\r\n1/2", ExperienceText(xp, true));
}

TEST(StatusRules, SwitchingBlinkingOnBlinksLowBars) {
    EXPECT_TRUE(BlinksWhenSwitchedOn(6, 122, false));
    EXPECT_TRUE(BlinksWhenSwitchedOn(0, 122, false));
    EXPECT_FALSE(BlinksWhenSwitchedOn(25, 122, false));
    EXPECT_TRUE(BlinksWhenSwitchedOn(1, 122, false));
    EXPECT_FALSE(BlinksWhenSwitchedOn(1, 122, true)); // a magic bar of width 1 does not
    EXPECT_TRUE(BlinksWhenSwitchedOn(2, 122, true));
    EXPECT_FALSE(BlinksWhenSwitchedOn(0, 0, false)); // no reference length: nothing to compare
}

TEST(StatusRules, CaptionsAndNumbers) {
    EXPECT_EQ("Gold", kStatusCaptions[kGoldValue]);
    EXPECT_EQ("HP/Max", kStatusCaptions[kHitPointsValue]);
    EXPECT_EQ("", kStatusCaptions[14]);
    EXPECT_EQ("12345", DecimalText(12345));
    EXPECT_EQ("0.4567", DecimalText(0.4567));
    EXPECT_EQ("0", DecimalText(-0.0));
    EXPECT_EQ("999999999999999", DecimalText(999999999999999));
    EXPECT_EQ("1E+15", DecimalText(1e15));
}

} // namespace
} // namespace gr
