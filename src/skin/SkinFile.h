#pragma once
// The skin file: 201 positional lines (0 to 200) of a ".skn" file in "skins/", each line standing for one
// element of the game window, applied to a layout line by line in the game's fixed order. Pure: bytes and a
// starting layout in, the new layout and looks out. A line that does not convert stops the loading where
// it stands, as the game does: what was applied before it stays, the rest keeps its starting value, and
// the window tells the player kSkinFormatMessage.
//
// File: single-byte text (Windows-1252), lines ended by CR LF (a lone CR or LF also ends a line). Only
// lines 0 to 200 are read; anything after line 200 is ignored; fewer than 201 lines is a failure before
// anything is applied. Each line is label "=" value: the value is everything after the first "=",
// unchanged; a line without "=" is its own value.
//
// Units: a skin writes rectangles in twips at the design size (Height, Left, Top, Width); the layout keeps
// them in design pixels (twips / kTwipsPerPixel).
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "skin/Layout.h"

namespace gr {

constexpr int kSkinLineCount = 201;
// A skin line is a name and a number or four; a long caption is a few dozen bytes. Longer lines are no
// skin we know, and bounding them bounds the whole read: at most kMaxSkinFileBytes are ever looked at.
constexpr std::size_t kMaxSkinLineBytes = 1024;
constexpr std::size_t kMaxSkinFileBytes = kSkinLineCount * (kMaxSkinLineBytes + 2);
// A caption or a font name longer than this is cut: no label shows more, and no font family is named so.
constexpr std::size_t kMaxSkinCaptionBytes = 64;
constexpr std::size_t kMaxSkinFontNameBytes = 64;
// Positions and sizes beyond this many twips either way (about eight windows wide) are refused, so the
// layout arithmetic at any window size stays far inside its integers.
constexpr double kMaxSkinTwips = 100000;
// Font sizes in points, both ends included; anything else is refused.
constexpr double kMinSkinFontSize = 1;
constexpr double kMaxSkinFontSize = 100;

inline constexpr std::string_view kSkinFormatMessage =
    "The skin format has changed, re-download the skin from the skins menu.";

enum class TextAlign { Left, Right, Center };

// Shape codes of the highlight frames.
enum class HighlightShapeCode : int {
    Rectangle = 0,
    Square = 1,
    Oval = 2,
    Circle = 3,
    RoundedRectangle = 4,
    RoundedSquare = 5
};

// The looks a skin gives one label or button. Empty: the skin did not get that far, the element keeps
// what it had. Colour is 0x00BBGGRR: the text colour of a label, the background colour of a `Com` button.
struct SkinText {
    std::optional<std::string> FontName;
    std::optional<bool> Bold, Italic;
    std::optional<std::uint32_t> Colour;
    std::optional<double> FontSize; // points
    std::optional<std::string> Caption;
    std::optional<TextAlign> Alignment;
};

// One highlight frame behind a spell slot or a picture button: its fill colour, shape and rectangle (the
// button's, grown by `HighlightBorder` on every side).
struct SkinFrame {
    std::optional<std::uint32_t> FillColour;
    std::optional<HighlightShapeCode> Shape;
    std::optional<LayoutRect> Rect;
};

// Everything a skin sets beyond the rectangles of GameLayout, by the game window's element names.
struct SkinLook {
    // The background picture's file name inside "skins/" (a plain file name, checked).
    std::optional<std::string> MainBack;
    std::array<SkinText, 8> SpellNameN;
    std::array<SkinText, 15> Captions, Data;
    std::array<SkinText, 6> Com;
    std::array<SkinText, 4> EquippedName; // 0 armour, 1 shield, 2 helmet, 3 weapon
    std::array<SkinFrame, 8> SpellButtonR, SpellButtonB;
    std::array<SkinFrame, 7> ButtonMousePicR, ButtonMousePicB;
    // Margin of the highlight frames in twips, and their shape, as the skin wrote them.
    std::optional<double> HighlightBorder;
    std::optional<HighlightShapeCode> HighlightShape;
    // Colours of the status bars' shapes: the fill colour of element 2k (the value), the border colour of
    // element 2k + 1 (the frame), k = 0 experience, 1 stamina, 2 hit points, 3 magic.
    std::array<std::optional<std::uint32_t>, 8> Bar;
    // The normal fill colours for the low-bar flashing, as the skin wrote them; a skin sets 4 and 6 only.
    std::array<std::optional<std::string>, 7> BarColours;
    // The two input box placements in twips, as the skin wrote them (the layout has them in pixels).
    std::array<std::optional<std::int32_t>, 8> InputBoxRects;
};

// Where and why a skin stopped. Step is the loading step (1 reading the file, 2 the picture, 3 to 14 the
// elements, in the game's order); Line the skin line (0 to 200) that did not convert, or for a file that
// is too short the number of lines it has; Element the window element being set ("SpellButton(3)").
struct SkinFailure {
    int Step = 0;
    int Line = 0;
    std::string Element;
    std::string Reason;
};

struct SkinOutcome {
    GameLayout Layout;
    SkinLook Look;
    std::optional<SkinFailure> Failure; // empty: the whole skin applied
};

// Tells whether the picture "skins/" + fileName can be loaded. Without one, any plain file name passes.
using SkinPictureCheck = std::function<bool(std::string_view fileName)>;

// Applies a skin file's bytes to a starting layout, step by step in the game's order. On a failure the
// outcome holds everything applied before the bad line (the starting layout elsewhere) and says where it
// stopped; the window shows kSkinFormatMessage.
SkinOutcome ApplySkin(std::string_view fileBytes, const GameLayout& start,
                      const SkinPictureCheck& pictureLoads = {});

// The value of one skin line: everything after the first "=", or the whole line without one.
std::string_view SkinLineValue(std::string_view line);

} // namespace gr
