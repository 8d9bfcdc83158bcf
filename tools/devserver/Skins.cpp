#include "devserver/Skins.h"
#include "devserver/Pictures.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QImageWriter>
#include <QPainter>

#include <cctype>
#include <cstdint>
#include <cstdio>

namespace gr::dev {

namespace {

// A place in pixels of the design-size window; written to the skin file in twips.
struct Box {
    int Left = 0, Top = 0, Width = 0, Height = 0;
};

// A colour as the skin file writes it: 0x00BBGGRR.
constexpr std::uint32_t Bgr(int red, int green, int blue) {
    return std::uint32_t(blue) << 16 | std::uint32_t(green) << 8 | std::uint32_t(red);
}

struct FontLook {
    std::string_view Name;
    bool Bold = false;
    bool Italic = false;
    std::uint32_t Colour = 0; // text colour; for the command buttons their background
    int Size = 8;
};

struct SkinDesign {
    std::string_view Title; // shown in the chooser
    std::string_view Description;
    std::array<Box, 9> ObjPicG{}, ObjName{};
    Box ObjVScroll, TD;
    std::array<Box, 2> InputBox{}; // alone, then beside the push-to-talk button
    std::array<Box, 8> SpellButton{}, SpellNameN{};
    FontLook SpellFont;
    FontLook CaptionFont;
    std::array<Box, 15> Captions{};
    std::array<std::string_view, 15> CaptionTexts{};
    std::string_view CaptionAlign;
    FontLook DataFont;
    std::array<Box, 15> Data{};
    std::string_view DataAlign;
    std::array<Box, 4> Bar{};
    std::array<std::uint32_t, 4> BarFill{}, BarBorder{};
    FontLook ComFont;
    std::array<Box, 6> Com{};
    std::uint32_t HighlightFill = 0, HighlightBack = 0;
    int HighlightBorder = 0; // twips
    std::string_view HighlightShape;
    std::array<Box, 7> ButtonMouse2{};
    std::array<Box, 14> InventG{};
    FontLook EquipFont;
    std::string_view EquipAlign;
    // In the file's order: armour, helmet, shield, weapon.
    std::array<Box, 4> EquippedPic{}, EquippedName{};
    Box SpellVScroll, ComVScroll, CmdTalk;

    // The picture: background from top to bottom, wells with a light and a dark frame, the title.
    QColor BackTop, BackBottom, WellFill, FrameLight, FrameDark, TitleInk;
    std::vector<Box> Wells;
    Box TitleArea;
};

constexpr std::array<std::string_view, 15> kFullCaptions = {
    "Strength", "Intelligence", "Dexterity",  "Constitution", "Wisdom", "Charisma",  "Level", "Armor",
    "Gold",     "Bank",         "Experience", "Stamina",      "HP/Max", "Magic/Max", ""};
constexpr std::array<std::string_view, 15> kShortCaptions = {
    "Str", "Int", "Dex", "Con", "Wis", "Cha", "Lvl", "AC", "Gold", "Bank", "Exp", "Sta", "HP", "MP", ""};

// The usual arrangement: objects on the left, the text window above, the panels in a band below; the title
// in the free corner under the picture buttons.
SkinDesign MakeDusk() {
    SkinDesign d;
    d.Title = "Dusk";
    d.Description = "The usual arrangement in the warm browns and ambers of a lamplit evening.";
    for (std::size_t i = 0; i < 9; ++i) {
        const int top = 26 + 30 * int(i);
        d.ObjPicG[i] = {10, top, 28, 28};
        d.ObjName[i] = {42, top, 100, 28};
    }
    d.ObjVScroll = {144, 26, 10, 268};
    d.TD = {160, 20, 625, 266};
    d.InputBox = {Box{160, 291, 625, 21}, Box{160, 291, 305, 21}};
    d.CmdTalk = {470, 291, 315, 21};

    d.CaptionFont = {"DejaVu Sans", true, false, Bgr(240, 200, 120), 8};
    d.CaptionTexts = kFullCaptions;
    d.CaptionAlign = "Left";
    d.DataFont = {"DejaVu Sans", false, false, Bgr(255, 236, 200), 8};
    d.DataAlign = "Left";
    for (std::size_t k = 0; k < 15; ++k) {
        const int top = 336 + 17 * int(k);
        d.Captions[k] = {12, top, 84, 16};
        d.Data[k] = {98, top, 60, 16};
    }
    for (std::size_t k = 0; k < 4; ++k)
        d.Bar[k] = {174, 340 + 22 * int(k), 122, 12};
    d.BarFill = {Bgr(200, 40, 30), Bgr(230, 150, 30), Bgr(0, 192, 0), Bgr(0, 0, 255)};
    d.BarBorder = {Bgr(90, 40, 20), Bgr(90, 40, 20), Bgr(90, 40, 20), Bgr(90, 40, 20)};
    d.EquipFont = {"DejaVu Sans", false, true, Bgr(240, 200, 120), 7};
    d.EquipAlign = "Left";
    // Top to bottom armour, shield, helmet, weapon, as the window has them without a skin.
    constexpr std::array<int, 4> kSlotRow = {0, 2, 1, 3};
    for (std::size_t k = 0; k < 4; ++k) {
        const int top = 432 + 40 * kSlotRow[k];
        d.EquippedPic[k] = {174, top, 34, 34};
        d.EquippedName[k] = {212, top, 86, 34};
    }
    for (std::size_t i = 0; i < 14; ++i)
        d.InventG[i] = {314 + 36 * int(i % 7), 336 + 36 * int(i / 7), 34, 34};
    d.SpellFont = {"DejaVu Sans", false, false, Bgr(255, 236, 200), 8};
    for (std::size_t i = 0; i < 8; ++i) {
        const int top = 426 + 21 * int(i);
        d.SpellButton[i] = {314, top, 20, 20};
        d.SpellNameN[i] = {340, top, 196, 20};
    }
    d.SpellVScroll = {542, 426, 10, 167};
    d.ComFont = {"DejaVu Sans", true, false, Bgr(120, 70, 40), 8};
    for (std::size_t i = 0; i < 6; ++i)
        d.Com[i] = {576, 336 + 28 * int(i), 192, 24};
    d.ComVScroll = {772, 336, 10, 164};
    for (std::size_t i = 0; i < 7; ++i)
        d.ButtonMouse2[i] = {576 + 30 * int(i), 516, 28, 28};
    d.HighlightFill = Bgr(255, 190, 60);
    d.HighlightBack = Bgr(120, 50, 20);
    d.HighlightBorder = 30;
    d.HighlightShape = "Rounded Square";

    d.BackTop = QColor(70, 38, 22);
    d.BackBottom = QColor(30, 16, 10);
    d.WellFill = QColor(22, 12, 8);
    d.FrameLight = QColor(214, 150, 70);
    d.FrameDark = QColor(10, 4, 2);
    d.TitleInk = QColor(250, 200, 110);
    d.Wells = {
        {4, 20, 153, 280},    // objects
        {157, 16, 632, 300},  // text window and input box
        {6, 330, 158, 266},   // status
        {168, 334, 136, 90},  // bars
        {168, 426, 136, 166}, // equipment
        {308, 330, 262, 82},  // inventory
        {308, 418, 262, 178}, // spells
        {572, 330, 216, 176}, // command buttons
        {572, 510, 216, 40},  // picture buttons
    };
    d.TitleArea = {572, 554, 216, 40};
    return d;
}

// Status across the top beside the title, the text window on the left with the picture buttons and the bars
// under it, the room's objects, equipment, inventory, spells and commands in a column on the right.
SkinDesign MakeHarbour() {
    SkinDesign d;
    d.Title = "Harbour";
    d.Description =
        "Status along the top, the text on the left, the panels on the right, in sea greys and blues.";
    d.CaptionFont = {"DejaVu Sans Mono", true, false, Bgr(150, 200, 230), 8};
    d.CaptionTexts = kShortCaptions;
    d.CaptionAlign = "Right";
    d.DataFont = {"DejaVu Sans Mono", false, false, Bgr(230, 240, 250), 8};
    d.DataAlign = "Right";
    for (std::size_t k = 0; k < 15; ++k) {
        const int column = int(k % 5), row = int(k / 5);
        d.Captions[k] = {256 + 106 * column, 14 + 20 * row, 48, 16};
        d.Data[k] = {306 + 106 * column, 14 + 20 * row, 50, 16};
    }

    d.TD = {10, 88, 496, 436};
    d.InputBox = {Box{10, 530, 496, 21}, Box{10, 530, 384, 21}};
    d.CmdTalk = {398, 530, 108, 21};
    for (std::size_t i = 0; i < 7; ++i)
        d.ButtonMouse2[i] = {16 + 34 * int(i), 566, 28, 28};
    for (std::size_t k = 0; k < 4; ++k)
        d.Bar[k] = {268 + 122 * int(k % 2), 566 + 15 * int(k / 2), 116, 12};
    d.BarFill = {Bgr(190, 50, 60), Bgr(80, 140, 220), Bgr(0, 192, 0), Bgr(0, 0, 255)};
    d.BarBorder = {Bgr(20, 40, 70), Bgr(20, 40, 70), Bgr(20, 40, 70), Bgr(20, 40, 70)};

    for (std::size_t i = 0; i < 9; ++i) {
        const int top = 88 + 26 * int(i);
        d.ObjPicG[i] = {526, top, 24, 24};
        d.ObjName[i] = {554, top, 118, 24};
    }
    d.ObjVScroll = {676, 88, 10, 232};
    d.EquipFont = {"DejaVu Serif", false, true, Bgr(170, 210, 235), 7};
    d.EquipAlign = "Center";
    for (std::size_t k = 0; k < 4; ++k) {
        const int top = 88 + 58 * int(k);
        d.EquippedPic[k] = {722, top, 34, 34};
        d.EquippedName[k] = {698, top + 36, 82, 16};
    }
    for (std::size_t i = 0; i < 14; ++i)
        d.InventG[i] = {526 + 36 * int(i % 7), 336 + 36 * int(i / 7), 34, 34};
    d.SpellFont = {"DejaVu Serif", false, true, Bgr(220, 235, 250), 8};
    for (std::size_t i = 0; i < 8; ++i) {
        const int top = 420 + 22 * int(i);
        d.SpellButton[i] = {526, top, 20, 20};
        d.SpellNameN[i] = {550, top, 110, 20};
    }
    d.SpellVScroll = {664, 420, 10, 174};
    d.ComFont = {"DejaVu Serif", true, false, Bgr(60, 90, 120), 8};
    for (std::size_t i = 0; i < 6; ++i)
        d.Com[i] = {686, 420 + 28 * int(i), 86, 24};
    d.ComVScroll = {774, 420, 10, 164};
    d.HighlightFill = Bgr(120, 220, 255);
    d.HighlightBack = Bgr(20, 60, 110);
    d.HighlightBorder = 30;
    d.HighlightShape = "Circle";

    d.BackTop = QColor(40, 60, 80);
    d.BackBottom = QColor(14, 24, 38);
    d.WellFill = QColor(8, 14, 24);
    d.FrameLight = QColor(120, 180, 220);
    d.FrameDark = QColor(2, 6, 12);
    d.TitleInk = QColor(190, 230, 250);
    d.Wells = {
        {248, 6, 540, 70},    // status
        {4, 82, 508, 476},    // text window and input box
        {8, 561, 246, 36},    // picture buttons
        {262, 561, 250, 36},  // bars
        {520, 82, 170, 244},  // objects
        {692, 82, 94, 244},   // equipment
        {520, 330, 266, 82},  // inventory
        {520, 416, 158, 181}, // spells
        {682, 416, 106, 181}, // command buttons
    };
    d.TitleArea = {8, 6, 232, 70};
    return d;
}

const SkinDesign* DesignOf(std::string_view name) {
    static const SkinDesign dusk = MakeDusk();
    static const SkinDesign harbour = MakeHarbour();
    if (name == kSkinNames[0]) return &dusk;
    if (name == kSkinNames[1]) return &harbour;
    return nullptr;
}

std::string Twips(int pixels) {
    return std::to_string(pixels * kSkinTwipsPerPixel);
}

// Height,Left,Top,Width in twips.
std::string RectValue(const Box& b) {
    return Twips(b.Height) + ',' + Twips(b.Left) + ',' + Twips(b.Top) + ',' + Twips(b.Width);
}

std::string ColourValue(std::uint32_t bgr) {
    char text[16];
    std::snprintf(text, sizeof text, "&H%08X", unsigned(bgr));
    return text;
}

std::string FlagValue(bool on) {
    return on ? "True" : "False";
}

class SkinWriter {
  public:
    void Line(std::string_view label, std::string_view value) {
        Text.append(label).append("=").append(value).append("\r\n");
        ++Count;
    }
    // Name, bold, italic, colour and size; the equipment's group has its alignment after italic.
    void Font(std::string_view group, const FontLook& f, std::string_view align = {}) {
        Line(std::string(group) + "Font", f.Name);
        Line(std::string(group) + "Bold", FlagValue(f.Bold));
        Line(std::string(group) + "Italic", FlagValue(f.Italic));
        if (!align.empty()) Line(std::string(group) + "Align", align);
        Line(std::string(group) + "Colour", ColourValue(f.Colour));
        Line(std::string(group) + "Size", std::to_string(f.Size));
    }
    std::string Text;
    int Count = 0;
};

std::string Numbered(std::string_view label, std::size_t index) {
    return std::string(label) + std::to_string(index + 1);
}

std::string WriteSkin(std::string_view name, const SkinDesign& d) {
    SkinWriter w;
    w.Line("Background", std::string(name) + ".jpg");
    for (std::size_t i = 0; i < 9; ++i)
        w.Line(Numbered("ObjectPicture", i), RectValue(d.ObjPicG[i]));
    for (std::size_t i = 0; i < 9; ++i)
        w.Line(Numbered("ObjectName", i), RectValue(d.ObjName[i]));
    w.Line("ObjectScroll", RectValue(d.ObjVScroll));
    w.Line("TextWindow", RectValue(d.TD));
    w.Line("InputBox", RectValue(d.InputBox[0]) + ';' + RectValue(d.InputBox[1]));
    for (std::size_t i = 0; i < 8; ++i)
        w.Line(Numbered("SpellButton", i), RectValue(d.SpellButton[i]));
    for (std::size_t i = 0; i < 8; ++i)
        w.Line(Numbered("Unused", i), "");
    w.Font("SpellName", d.SpellFont);
    for (std::size_t i = 0; i < 8; ++i)
        w.Line(Numbered("SpellName", i), RectValue(d.SpellNameN[i]));
    w.Font("Caption", d.CaptionFont);
    for (std::size_t k = 0; k < 15; ++k) {
        w.Line(Numbered("Caption", k) + "Place", RectValue(d.Captions[k]));
        w.Line(Numbered("Caption", k) + "Text", d.CaptionTexts[k]);
        w.Line(Numbered("Caption", k) + "Align", d.CaptionAlign);
    }
    w.Font("Value", d.DataFont);
    for (std::size_t k = 0; k < 15; ++k) {
        w.Line(Numbered("Value", k) + "Place", RectValue(d.Data[k]));
        w.Line(Numbered("Value", k) + "Align", d.DataAlign);
    }
    for (std::size_t k = 0; k < 4; ++k) {
        w.Line(Numbered("Bar", k) + "Place", RectValue(d.Bar[k]));
        w.Line(Numbered("Bar", k) + "Fill", ColourValue(d.BarFill[k]));
        w.Line(Numbered("Bar", k) + "Border", ColourValue(d.BarBorder[k]));
    }
    w.Font("Button", d.ComFont);
    for (std::size_t i = 0; i < 6; ++i)
        w.Line(Numbered("Button", i), RectValue(d.Com[i]));
    w.Line("HighlightFill", ColourValue(d.HighlightFill));
    w.Line("HighlightBack", ColourValue(d.HighlightBack));
    w.Line("HighlightMargin", std::to_string(d.HighlightBorder));
    w.Line("HighlightShape", d.HighlightShape);
    for (std::size_t i = 0; i < 7; ++i)
        w.Line(Numbered("PictureButton", i), RectValue(d.ButtonMouse2[i]));
    for (std::size_t i = 0; i < 14; ++i)
        w.Line(Numbered("Inventory", i), RectValue(d.InventG[i]));
    w.Font("Equipped", d.EquipFont, d.EquipAlign);
    constexpr std::array<std::string_view, 4> kEquipment = {"Armour", "Helmet", "Shield", "Weapon"};
    for (std::size_t k = 0; k < 4; ++k) {
        w.Line(std::string(kEquipment[k]) + "Picture", RectValue(d.EquippedPic[k]));
        w.Line(std::string(kEquipment[k]) + "Name", RectValue(d.EquippedName[k]));
    }
    w.Line("SpellScroll", RectValue(d.SpellVScroll));
    w.Line("ButtonScroll", RectValue(d.ComVScroll));
    w.Line("TalkButton", RectValue(d.CmdTalk));
    return w.Count == kSkinLineCount ? w.Text : std::string();
}

// Capital letters in 5 x 7 pixels, a row per entry, the leftmost pixel in the highest of five bits; enough
// for the skins' titles.
struct Glyph {
    char Letter;
    std::array<int, 7> Rows;
};
constexpr std::array<Glyph, 14> kGlyphs = {{
    {'A', {14, 17, 17, 31, 17, 17, 17}},
    {'B', {30, 17, 17, 30, 17, 17, 30}},
    {'D', {30, 17, 17, 17, 17, 17, 30}},
    {'E', {31, 16, 16, 30, 16, 16, 31}},
    {'G', {14, 17, 16, 23, 17, 17, 15}},
    {'H', {17, 17, 17, 31, 17, 17, 17}},
    {'K', {17, 18, 20, 24, 20, 18, 17}},
    {'L', {16, 16, 16, 16, 16, 16, 31}},
    {'M', {17, 27, 21, 21, 17, 17, 17}},
    {'O', {14, 17, 17, 17, 17, 17, 14}},
    {'R', {30, 17, 17, 30, 20, 18, 17}},
    {'S', {15, 16, 16, 14, 1, 1, 30}},
    {'T', {31, 4, 4, 4, 4, 4, 4}},
    {'U', {17, 17, 17, 17, 17, 17, 14}},
}};

// Draws `text` (capitals of kGlyphs; others leave a gap) centred in `area`, each pixel `scale` wide.
void DrawTitle(QPainter& painter, const Box& area, std::string_view text, int scale, const QColor& ink) {
    const int advance = 6 * scale;
    const int width = int(text.size()) * advance - scale;
    const int left = area.Left + (area.Width - width) / 2;
    const int top = area.Top + (area.Height - 7 * scale) / 2;
    for (std::size_t c = 0; c < text.size(); ++c) {
        const char letter = char(std::toupper(static_cast<unsigned char>(text[c])));
        for (const Glyph& glyph : kGlyphs) {
            if (glyph.Letter != letter) continue;
            for (int row = 0; row < 7; ++row) {
                for (int column = 0; column < 5; ++column) {
                    if ((glyph.Rows[std::size_t(row)] >> (4 - column)) & 1)
                        painter.fillRect(left + int(c) * advance + column * scale, top + row * scale, scale,
                                         scale, ink);
                }
            }
        }
    }
}

QRect ToQRect(const Box& b) {
    return QRect(b.Left, b.Top, b.Width, b.Height);
}

// A well: a dark outer line and a light inner one round a dark fill, so it looks sunk into the background.
void DrawWell(QPainter& painter, const SkinDesign& d, const Box& b) {
    const QRect outer = ToQRect(b);
    painter.fillRect(outer, d.FrameDark);
    painter.fillRect(outer.adjusted(1, 1, -1, -1), d.FrameLight);
    painter.fillRect(outer.adjusted(3, 3, -3, -3), d.WellFill);
}

QImage DrawSkin(const SkinDesign& d) {
    QImage image(kSkinPictureWidth, kSkinPictureHeight, QImage::Format_RGB32);
    // The background shades from top to bottom, one line at a time (no gradient code whose rounding could
    // differ between versions).
    for (int y = 0; y < image.height(); ++y) {
        const double t = double(y) / (image.height() - 1);
        auto mix = [t](int from, int to) { return int(from + (to - from) * t + 0.5); };
        const QRgb colour =
            qRgb(mix(d.BackTop.red(), d.BackBottom.red()), mix(d.BackTop.green(), d.BackBottom.green()),
                 mix(d.BackTop.blue(), d.BackBottom.blue()));
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = colour;
    }
    QPainter painter(&image);
    for (const Box& well : d.Wells)
        DrawWell(painter, d, well);
    const QRect title = ToQRect(d.TitleArea);
    painter.fillRect(title, d.FrameLight);
    painter.fillRect(title.adjusted(2, 2, -2, -2), d.WellFill);
    DrawTitle(painter, d.TitleArea, d.Title, 4, d.TitleInk);
    return image;
}

} // namespace

std::string MakeSkinList() {
    std::string text = "; The skins of the local Gloamrest server\r\n";
    for (const std::string_view name : kSkinNames) {
        const SkinDesign* d = DesignOf(name);
        text.append("[").append(name).append("]\r\n");
        text.append("Name=").append(d->Title).append("\r\n");
        text.append("Description=").append(d->Description).append("\r\n");
    }
    return text;
}

std::string MakeSkinFile(std::string_view name) {
    const SkinDesign* d = DesignOf(name);
    return d ? WriteSkin(name, *d) : std::string();
}

QByteArray MakeSkinPicture(std::string_view name) {
    const SkinDesign* d = DesignOf(name);
    if (!d) return {};
    const QImage image = DrawSkin(*d);
    return JpegBytes(image);
}

std::vector<QRect> SkinWells(std::string_view name) {
    std::vector<QRect> wells;
    if (const SkinDesign* d = DesignOf(name)) {
        for (const Box& b : d->Wells)
            wells.push_back(ToQRect(b));
    }
    return wells;
}

QRect SkinTitleArea(std::string_view name) {
    const SkinDesign* d = DesignOf(name);
    return d ? ToQRect(d->TitleArea) : QRect();
}

} // namespace gr::dev
