#pragma once
// Where every element of the game window stands at the window's design size: the built-in layout, which
// a skin replaces element by element, and the arithmetic that places elements at the window's current
// size. Layout units are pixels of the window's background at the design size of 11910 x 8970 twips
// (794 x 598 pixels); a Rect is written Height, Left, Top, Width, as skins write it.
#include <array>

namespace gr {

constexpr int kTwipsPerPixel = 15;
constexpr int kDesignWidthTwips = 11910;
constexpr int kDesignHeightTwips = 8970;
constexpr double kDesignWidth = double(kDesignWidthTwips) / kTwipsPerPixel;
constexpr double kDesignHeight = double(kDesignHeightTwips) / kTwipsPerPixel;

struct LayoutRect {
    double Height = 0, Left = 0, Top = 0, Width = 0;
    bool operator==(const LayoutRect&) const = default;
};

// A rectangle in whole pixels of the current window.
struct PixelRect {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    bool operator==(const PixelRect&) const = default;
};

struct GameLayout {
    std::array<LayoutRect, 9> ObjPicG, ObjName;
    LayoutRect ObjVScroll;
    LayoutRect TD;
    // Two placements of the input box: elements 0-3 alone, 4-7 beside the push-to-talk button.
    std::array<int, 8> InputBoxRects;
    std::array<LayoutRect, 8> SpellButton, SpellNameN;
    std::array<LayoutRect, 15> Captions, Data;
    std::array<LayoutRect, 4> Bar;
    std::array<LayoutRect, 6> Com;
    std::array<LayoutRect, 7> ButtonMouse2;
    std::array<LayoutRect, 14> InventG;
    std::array<LayoutRect, 4> EquippedPic, EquippedName; // 0 armour, 1 shield, 2 helmet, 3 weapon
    LayoutRect SpellVScroll, ComVScroll, CmdTalk;
    bool operator==(const GameLayout&) const = default;
};

// The layout the game window has without a skin.
const GameLayout& DefaultGameLayout();

// The rectangle at a window of the given size: design units scaled by width / design width and
// height / design height.
PixelRect Place(const LayoutRect& rect, int windowWidth, int windowHeight);

// The input box for a layout number (0: alone, 4: beside the push-to-talk button); any other number is
// taken as 0, so the index stays inside the eight elements.
PixelRect PlaceInputBox(const GameLayout& layout, int placement, int windowWidth, int windowHeight);

} // namespace gr
