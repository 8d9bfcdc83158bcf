#include "skin/Layout.h"

#include <gtest/gtest.h>

namespace gr {
namespace {

TEST(Layout, PlacesAtTheWindowsSize) {
    const GameLayout& l = DefaultGameLayout();
    // At the design size the layout units are pixels.
    EXPECT_EQ((PixelRect{160, 20, 625, 266}), Place(l.TD, 794, 598));
    EXPECT_EQ((PixelRect{320, 40, 1250, 532}), Place(l.TD, 1588, 1196));
    // Input box alone, beside the talk button, and a placement number outside 0 and 4.
    EXPECT_EQ((PixelRect{160, 291, 625, 21}), PlaceInputBox(l, 0, 794, 598));
    EXPECT_EQ((PixelRect{160, 291, 305, 21}), PlaceInputBox(l, 4, 794, 598));
    EXPECT_EQ(PlaceInputBox(l, 0, 794, 598), PlaceInputBox(l, 7, 794, 598));
    EXPECT_EQ((PixelRect{0, 0, 0, 0}), Place(l.TD, 0, 0));
}

TEST(Layout, DefaultElementsStayInsideTheWindow) {
    const GameLayout& l = DefaultGameLayout();
    auto inside = [](const LayoutRect& r) {
        return r.Left >= 0 && r.Top >= 0 && r.Left + r.Width <= kDesignWidth && r.Top + r.Height <= kDesignHeight &&
               r.Width > 0 && r.Height > 0;
    };
    for (const auto* group : {&l.ObjPicG, &l.ObjName})
        for (const auto& r : *group) EXPECT_TRUE(inside(r));
    for (const auto& r : l.InventG) EXPECT_TRUE(inside(r));
    for (const auto& r : l.Captions) EXPECT_TRUE(inside(r));
    for (const auto& r : l.Com) EXPECT_TRUE(inside(r));
    for (const auto& r : l.ButtonMouse2) EXPECT_TRUE(inside(r));
    for (const auto& r : {l.TD, l.CmdTalk, l.ObjVScroll, l.SpellVScroll, l.ComVScroll}) EXPECT_TRUE(inside(r));
}

} // namespace
} // namespace gr
