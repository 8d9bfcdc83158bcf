#include "skin/Layout.h"

#include <cmath>

namespace gr {

namespace {
GameLayout MakeDefaultLayout() {
    GameLayout l{};
    // Left column: the room's objects, picture and name side by side.
    for (int i = 0; i < 9; ++i) {
        l.ObjPicG[std::size_t(i)] = {28, 10, 26.0 + 30 * i, 28};
        l.ObjName[std::size_t(i)] = {28, 42, 26.0 + 30 * i, 100};
    }
    l.ObjVScroll = {268, 144, 26, 10};
    // The game text fills the upper right; the input box sits under it.
    l.TD = {266, 160, 20, 625};
    l.InputBoxRects = {21, 160, 291, 625, 21, 160, 291, 305};
    l.CmdTalk = {21, 470, 291, 315};
    // Lower band: status, equipment, inventory, spells and commands.
    for (int k = 0; k < 15; ++k) {
        l.Captions[std::size_t(k)] = {16, 12, 336.0 + 17 * k, 84};
        l.Data[std::size_t(k)] = {16, 98, 336.0 + 17 * k, 60};
    }
    for (int k = 0; k < 4; ++k) l.Bar[std::size_t(k)] = {12, 174, 340.0 + 22 * k, 122};
    for (int k = 0; k < 4; ++k) {
        l.EquippedPic[std::size_t(k)] = {34, 174, 432.0 + 40 * k, 34};
        l.EquippedName[std::size_t(k)] = {34, 212, 432.0 + 40 * k, 86};
    }
    for (int i = 0; i < 14; ++i) l.InventG[std::size_t(i)] = {34, 314.0 + 36 * (i % 7), 336.0 + 36 * (i / 7), 34};
    for (int i = 0; i < 8; ++i) {
        l.SpellButton[std::size_t(i)] = {20, 314, 426.0 + 21 * i, 20};
        l.SpellNameN[std::size_t(i)] = {20, 340, 426.0 + 21 * i, 196};
    }
    l.SpellVScroll = {167, 542, 426, 10};
    for (int i = 0; i < 6; ++i) l.Com[std::size_t(i)] = {24, 576, 336.0 + 28 * i, 192};
    l.ComVScroll = {164, 772, 336, 10};
    for (int i = 0; i < 7; ++i) l.ButtonMouse2[std::size_t(i)] = {28, 576.0 + 30 * i, 516, 28};
    return l;
}
} // namespace

const GameLayout& DefaultGameLayout() {
    static const GameLayout layout = MakeDefaultLayout();
    return layout;
}

PixelRect Place(const LayoutRect& r, int windowWidth, int windowHeight) {
    const double fx = windowWidth / kDesignWidth;
    const double fy = windowHeight / kDesignHeight;
    const int left = int(std::lround(r.Left * fx));
    const int top = int(std::lround(r.Top * fy));
    // Right and bottom edges are rounded too, so neighbours stay flush at any size.
    return {left, top, int(std::lround((r.Left + r.Width) * fx)) - left, int(std::lround((r.Top + r.Height) * fy)) - top};
}

PixelRect PlaceInputBox(const GameLayout& layout, int placement, int windowWidth, int windowHeight) {
    const std::size_t base = placement == 4 ? 4 : 0;
    const auto& r = layout.InputBoxRects;
    return Place({double(r[base]), double(r[base + 1]), double(r[base + 2]), double(r[base + 3])}, windowWidth,
                 windowHeight);
}

} // namespace gr
