#include "skin/SkinFile.h"
#include "panels/StatusRules.h"

#include <gtest/gtest.h>

#include "core/SafeName.h"

#include <string>
#include <vector>

namespace gr {
namespace {

std::string Num(double v) {
    std::string s = std::to_string(v);
    s.erase(s.find_last_not_of('0') + 1);
    if (s.back() == '.') s.pop_back();
    return s;
}
std::string RectText(double h, double l, double t, double w) {
    return Num(h) + "," + Num(l) + "," + Num(t) + "," + Num(w);
}
LayoutRect Px(double h, double l, double t, double w) {
    return {h / 15, l / 15, t / 15, w / 15};
}

// A whole skin, every line written as the game's skin writers write them (label "=" value).
struct Skin {
    std::vector<std::string> lines = std::vector<std::string>(kSkinLineCount);

    // Rectangles by element, in twips, so the tests can name what each line should give.
    static LayoutRect ObjPicG(int i) { return {420, 150, 390.0 + 450 * i, 420}; }
    static LayoutRect ObjName(int i) { return {420, 630, 390.0 + 450 * i, 1500}; }
    static LayoutRect SpellButton(int i) { return {495, 120, 600.0 + 510 * i, 495}; }
    static LayoutRect Captions(int k) { return {240, 165, 5000.0 + 250 * k, 1200}; }
    static LayoutRect Data(int k) { return {255, 1500, 5000.0 + 250 * k, 900}; }
    static LayoutRect Bar(int k) { return {180, 2600, 5100.0 + 330 * k, 1830}; }
    static LayoutRect Com(int i) { return {360, 8640, 5040.0 + 420 * i, 2880}; }
    static LayoutRect ButtonMouse2(int i) { return {420, 8640.0 + 450 * i, 7740, 420}; }
    static LayoutRect InventG(int i) { return {510, 4710.0 + 540 * (i % 7), 5040.0 + 540 * (i / 7), 510}; }
    static LayoutRect Equipped(int k) { return {510, 2600, 6480.0 + 600 * k, 510}; }
    static LayoutRect EquippedName(int k) { return {510, 3180, 6480.0 + 600 * k, 1290}; }

    void Set(int line, const std::string& label, const std::string& value) {
        lines[std::size_t(line)] = label + "=" + value;
    }
    void SetRect(int line, const std::string& label, const LayoutRect& r) {
        Set(line, label, RectText(r.Height, r.Left, r.Top, r.Width));
    }

    Skin() {
        Set(0, "Background", "dark.jpg");
        for (int i = 0; i < 9; ++i) {
            SetRect(1 + i, "ObjPic" + std::to_string(i), ObjPicG(i));
            SetRect(10 + i, "ObjName" + std::to_string(i), ObjName(i));
        }
        SetRect(19, "ObjScroll", {4020, 2160, 390, 150});
        SetRect(20, "Text", {3990, 2400, 300, 9375});
        Set(21, "Input", "375,120,8400,11500;375,120,8400,10200");
        for (int i = 0; i < 8; ++i)
            SetRect(22 + i, "Spell" + std::to_string(i), SpellButton(i));
        for (int line = 30; line <= 37; ++line)
            Set(line, "Unused", "");
        Set(38, "SpellFont", "Arial");
        Set(39, "SpellBold", "True");
        Set(40, "SpellItalic", "false");
        Set(41, "SpellColour", "&H00FFFFFF");
        Set(42, "SpellSize", "8");
        for (int i = 0; i < 8; ++i)
            SetRect(43 + i, "SpellName" + std::to_string(i), {495, 700, 600.0 + 510 * i, 2900});
        Set(51, "CaptionFont", "Times New Roman");
        Set(52, "CaptionBold", "0");
        Set(53, "CaptionItalic", "1");
        Set(54, "CaptionColour", "65280");
        Set(55, "CaptionSize", "9.5");
        const char* names[15] = {"Str",  "Int",  "Dex", "Con",  "Wis", "Cha", "Lvl", "AC",
                                 "Gold", "Bank", "XP",  "Stam", "HP",  "MP",  ""};
        for (int k = 0; k < 15; ++k) {
            SetRect(56 + 3 * k, "Caption" + std::to_string(k), Captions(k));
            Set(57 + 3 * k, "CaptionText", names[k]);
            Set(58 + 3 * k, "CaptionAlign", k % 2 ? "Right" : "Center");
        }
        Set(101, "DataFont", "Courier New");
        Set(102, "DataBold", "TRUE");
        Set(103, "DataItalic", "False");
        Set(104, "DataColour", "&H00C0C0C0");
        Set(105, "DataSize", "10");
        for (int k = 0; k < 15; ++k) {
            SetRect(106 + 2 * k, "Data" + std::to_string(k), Data(k));
            Set(107 + 2 * k, "DataAlign", "Right");
        }
        const char* fills[4] = {"&H0000C0C0", "&H00008000", "&H0000C000", "&H00FF0000"};
        for (int k = 0; k < 4; ++k) {
            SetRect(136 + 3 * k, "Bar" + std::to_string(k), Bar(k));
            Set(137 + 3 * k, "BarFill", fills[k]);
            Set(138 + 3 * k, "BarBorder", "&H00404040");
        }
        Set(148, "ComFont", "Verdana");
        Set(149, "ComBold", "False");
        Set(150, "ComItalic", "True");
        Set(151, "ComBack", "&H00202020");
        Set(152, "ComSize", "7.5");
        for (int i = 0; i < 6; ++i)
            SetRect(153 + i, "Com" + std::to_string(i), Com(i));
        Set(159, "HighlightLeft", "&H0000FFFF");
        Set(160, "HighlightRight", "&H00FF00FF");
        Set(161, "HighlightBorder", "30");
        Set(162, "HighlightShape", "Circle");
        for (int i = 0; i < 7; ++i)
            SetRect(163 + i, "Mouse" + std::to_string(i), ButtonMouse2(i));
        for (int i = 0; i < 14; ++i)
            SetRect(170 + i, "Invent" + std::to_string(i), InventG(i));
        Set(184, "EquipFont", "Georgia");
        Set(185, "EquipBold", "1");
        Set(186, "EquipItalic", "0");
        Set(187, "EquipAlign", "Left");
        Set(188, "EquipColour", "&H000000FF");
        Set(189, "EquipSize", "11");
        for (int k = 0; k < 4; ++k) {
            SetRect(190 + 2 * k, "EquipPic", Equipped(k));
            SetRect(191 + 2 * k, "EquipName", EquippedName(k));
        }
        SetRect(198, "SpellScroll", {2500, 8100, 6390, 150});
        SetRect(199, "ComScroll", {2460, 11580, 5040, 150});
        SetRect(200, "Talk", {375, 10440, 8400, 1180});
    }

    std::string Bytes(const std::string& ending = "\r\n") const {
        std::string out;
        for (const auto& line : lines)
            out += line + ending;
        return out;
    }
};

SkinOutcome Apply(const Skin& skin) {
    return ApplySkin(skin.Bytes(), DefaultGameLayout());
}
SkinOutcome ApplyWith(int line, const std::string& text) {
    Skin skin;
    skin.lines[std::size_t(line)] = text;
    return Apply(skin);
}

TEST(SkinFile, AWholeSkinSetsEveryElement) {
    const SkinOutcome out = Apply(Skin{});
    ASSERT_FALSE(out.Failure) << out.Failure->Line << " " << out.Failure->Reason;
    const GameLayout& l = out.Layout;
    const SkinLook& look = out.Look;
    EXPECT_EQ("dark.jpg", look.MainBack);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(Px(420, 150, 390.0 + 450 * i, 420), l.ObjPicG[std::size_t(i)]);
        EXPECT_EQ(Px(420, 630, 390.0 + 450 * i, 1500), l.ObjName[std::size_t(i)]);
    }
    EXPECT_EQ(Px(4020, 2160, 390, 150), l.ObjVScroll);
    EXPECT_EQ(Px(3990, 2400, 300, 9375), l.TD);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(Px(495, 120, 600.0 + 510 * i, 495), l.SpellButton[std::size_t(i)]);
        EXPECT_EQ(Px(495, 700, 600.0 + 510 * i, 2900), l.SpellNameN[std::size_t(i)]);
        const SkinText& name = look.SpellNameN[std::size_t(i)];
        EXPECT_EQ("Arial", name.FontName);
        EXPECT_EQ(true, name.Bold);
        EXPECT_EQ(false, name.Italic);
        EXPECT_EQ(0xFFFFFFu, name.Colour);
        EXPECT_EQ(8.0, name.FontSize);
        EXPECT_EQ(0x00FFFFu, look.SpellButtonR[std::size_t(i)].FillColour);
        EXPECT_EQ(0xFF00FFu, look.SpellButtonB[std::size_t(i)].FillColour);
    }
    for (int k = 0; k < 15; ++k) {
        const SkinText& c = look.Captions[std::size_t(k)];
        EXPECT_EQ(Px(240, 165, 5000.0 + 250 * k, 1200), l.Captions[std::size_t(k)]);
        EXPECT_EQ(k % 2 ? TextAlign::Right : TextAlign::Center, c.Alignment);
        EXPECT_EQ("Times New Roman", c.FontName);
        EXPECT_EQ(false, c.Bold);
        EXPECT_EQ(true, c.Italic);
        EXPECT_EQ(0x00FF00u, c.Colour);
        EXPECT_EQ(9.5, c.FontSize);
        EXPECT_EQ(Px(255, 1500, 5000.0 + 250 * k, 900), l.Data[std::size_t(k)]);
        EXPECT_EQ(TextAlign::Right, look.Data[std::size_t(k)].Alignment);
        EXPECT_EQ("Courier New", look.Data[std::size_t(k)].FontName);
        EXPECT_EQ(0xC0C0C0u, look.Data[std::size_t(k)].Colour);
    }
    EXPECT_EQ("Str", look.Captions[0].Caption);
    EXPECT_EQ("MP", look.Captions[13].Caption);
    EXPECT_EQ("", look.Captions[14].Caption);
    for (int i = 0; i < 14; ++i)
        EXPECT_EQ(Px(510, 4710.0 + 540 * (i % 7), 5040.0 + 540 * (i / 7), 510), l.InventG[std::size_t(i)]);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(Px(360, 8640, 5040.0 + 420 * i, 2880), l.Com[std::size_t(i)]);
        EXPECT_EQ("Verdana", look.Com[std::size_t(i)].FontName);
        EXPECT_EQ(0x202020u, look.Com[std::size_t(i)].Colour);
        EXPECT_EQ(7.5, look.Com[std::size_t(i)].FontSize);
    }
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(Px(420, 8640.0 + 450 * i, 7740, 420), l.ButtonMouse2[std::size_t(i)]);
        EXPECT_EQ(0x00FFFFu, look.ButtonMousePicR[std::size_t(i)].FillColour);
        EXPECT_EQ(0xFF00FFu, look.ButtonMousePicB[std::size_t(i)].FillColour);
        EXPECT_EQ(Px(480, 8610.0 + 450 * i, 7710, 480), look.ButtonMousePicB[std::size_t(i)].Rect);
    }
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(Px(180, 2600, 5100.0 + 330 * k, 1830), l.Bar[std::size_t(k)]);
        EXPECT_EQ(0x404040u, look.Bar[std::size_t(2 * k + 1)]);
    }
    EXPECT_EQ(0x00C0C0u, look.Bar[0]);
    EXPECT_EQ(0xFF0000u, look.Bar[6]);
    EXPECT_EQ("&H0000C000", look.BarColours[4]);
    EXPECT_EQ("&H00FF0000", look.BarColours[6]);
    for (std::size_t e : {0, 1, 2, 3, 5})
        EXPECT_FALSE(look.BarColours[e]);
    // The equipment lines run armour, helmet, shield, weapon; the slots armour, shield, helmet, weapon.
    const int slotOfLine[4] = {0, 2, 1, 3};
    for (int k = 0; k < 4; ++k) {
        const auto s = std::size_t(slotOfLine[k]);
        EXPECT_EQ(Px(510, 2600, 6480.0 + 600 * k, 510), l.EquippedPic[s]) << k;
        EXPECT_EQ(Px(510, 3180, 6480.0 + 600 * k, 1290), l.EquippedName[s]) << k;
        EXPECT_EQ("Georgia", look.EquippedName[s].FontName);
        EXPECT_EQ(TextAlign::Left, look.EquippedName[s].Alignment);
        EXPECT_EQ(0x0000FFu, look.EquippedName[s].Colour);
        EXPECT_EQ(11.0, look.EquippedName[s].FontSize);
        EXPECT_EQ(true, look.EquippedName[s].Bold);
    }
    EXPECT_EQ(Px(2500, 8100, 6390, 150), l.SpellVScroll);
    EXPECT_EQ(Px(2460, 11580, 5040, 150), l.ComVScroll);
    EXPECT_EQ(Px(375, 10440, 8400, 1180), l.CmdTalk);
    EXPECT_EQ(30.0, look.HighlightBorder);
}

TEST(SkinFile, ValueIsEverythingAfterTheFirstEquals) {
    EXPECT_EQ("Skins=Dark", SkinLineValue("Title=Skins=Dark"));
    EXPECT_EQ("No equals here", SkinLineValue("No equals here"));
    EXPECT_EQ("", SkinLineValue("Label="));
    EXPECT_EQ("Skins=Dark", ApplyWith(57, "Title=Skins=Dark").Look.Captions[0].Caption);
    EXPECT_EQ("Strength", ApplyWith(57, "Strength").Look.Captions[0].Caption);
    // Values are not trimmed.
    EXPECT_EQ(" Gold ", ApplyWith(81, "Caption= Gold ").Look.Captions[8].Caption);
}

TEST(SkinFile, ExactlyTwoHundredAndOneLinesAreRead) {
    Skin skin;
    const GameLayout& start = DefaultGameLayout();
    // Lines after line 200 are ignored, whatever they hold.
    std::string longer = skin.Bytes() + "Extra=1\r\n" + std::string(5 * kMaxSkinLineBytes, 'x') + "\r\nmore";
    EXPECT_FALSE(ApplySkin(longer, start).Failure);
    // LF alone ends a line too, and the last line needs no ending.
    EXPECT_FALSE(ApplySkin(skin.Bytes("\n"), start).Failure);
    EXPECT_FALSE(ApplySkin(skin.Bytes("\r"), start).Failure);
    std::string unended = skin.Bytes();
    unended.resize(unended.size() - 2);
    EXPECT_FALSE(ApplySkin(unended, start).Failure);

    // 200 lines: refused before anything is applied.
    skin.lines.pop_back();
    const SkinOutcome short200 = ApplySkin(skin.Bytes(), start);
    ASSERT_TRUE(short200.Failure);
    EXPECT_EQ(1, short200.Failure->Step);
    EXPECT_EQ(200, short200.Failure->Line);
    EXPECT_EQ(start, short200.Layout);
    EXPECT_FALSE(short200.Look.MainBack);
    for (std::string_view bytes : {std::string_view(), std::string_view("\r\n"), std::string_view("a=b")})
        EXPECT_TRUE(ApplySkin(bytes, start).Failure);
}

TEST(SkinFile, OverlongLinesAndTextsAreBounded) {
    Skin skin;
    skin.lines[100] = "Caption=" + std::string(kMaxSkinLineBytes - 8, 'c'); // just fits
    EXPECT_FALSE(Apply(skin).Failure);
    skin.lines[100] += "c";
    const SkinOutcome tooLong = Apply(skin);
    ASSERT_TRUE(tooLong.Failure);
    EXPECT_EQ(1, tooLong.Failure->Step);
    EXPECT_EQ(100, tooLong.Failure->Line);
    EXPECT_EQ(DefaultGameLayout(), tooLong.Layout);

    const std::string longText(300, 'w');
    const SkinOutcome cut = [&] {
        Skin s;
        s.lines[57] = "Caption=" + longText;
        s.lines[38] = "Font=" + longText;
        return Apply(s);
    }();
    ASSERT_FALSE(cut.Failure);
    EXPECT_EQ(longText.substr(0, kMaxSkinCaptionBytes), cut.Look.Captions[0].Caption);
    EXPECT_EQ(longText.substr(0, kMaxSkinFontNameBytes), cut.Look.SpellNameN[0].FontName);
    EXPECT_TRUE(ApplySkin(std::string(kMaxSkinFileBytes * 4, 'x'), DefaultGameLayout()).Failure);
}

TEST(SkinFile, UnreadLinesMayHoldAnything) {
    Skin skin;
    for (int line = 30; line <= 37; ++line)
        skin.lines[std::size_t(line)] = std::string("junk\x01\xff,;=", 9);
    skin.lines[33] = "";
    EXPECT_FALSE(Apply(skin).Failure);
}

// Every line is read as its kind: junk on a line that must convert stops the loading at that line, and
// only there; names, captions, alignments, shapes and the unread lines take any text.
TEST(SkinFile, EveryLineIsReadAsItsKind) {
    std::vector<bool> takesAnyText(kSkinLineCount, false);
    for (int line : {38, 51, 101, 148, 162, 184, 187})
        takesAnyText[std::size_t(line)] = true;
    for (int line = 30; line <= 37; ++line)
        takesAnyText[std::size_t(line)] = true;
    for (int k = 0; k < 15; ++k) {
        takesAnyText[std::size_t(57 + 3 * k)] = takesAnyText[std::size_t(58 + 3 * k)] = true;
        takesAnyText[std::size_t(107 + 2 * k)] = true;
    }
    for (int line = 0; line < kSkinLineCount; ++line) {
        const SkinOutcome out = ApplyWith(line, "Label=?\x01");
        if (takesAnyText[std::size_t(line)]) {
            EXPECT_FALSE(out.Failure) << "line " << line;
        } else {
            ASSERT_TRUE(out.Failure) << "line " << line;
            EXPECT_EQ(line, out.Failure->Line);
            EXPECT_NE(1, out.Failure->Step);
        }
    }
}

TEST(SkinFile, HighlightShapesAreComparedExactly) {
    const std::vector<std::pair<std::string, HighlightShapeCode>> cases = {
        {"Circle", HighlightShapeCode::Circle},
        {"circle", HighlightShapeCode::Rectangle},
        {"Circle ", HighlightShapeCode::Rectangle},
        {"Square", HighlightShapeCode::Square},
        {"Oval", HighlightShapeCode::Oval},
        {"Rounded Rectangle", HighlightShapeCode::RoundedRectangle},
        {"Rounded Square", HighlightShapeCode::RoundedSquare},
        {"Triangle", HighlightShapeCode::Rectangle},
        {"", HighlightShapeCode::Rectangle},
    };
    for (const auto& [text, code] : cases) {
        const SkinOutcome out = ApplyWith(162, "Shape=" + text);
        ASSERT_FALSE(out.Failure) << text;
        int frames = 0;
        for (const auto* group : {&out.Look.SpellButtonR, &out.Look.SpellButtonB})
            for (const SkinFrame& f : *group)
                frames += f.Shape == code;
        for (const auto* group : {&out.Look.ButtonMousePicR, &out.Look.ButtonMousePicB})
            for (const SkinFrame& f : *group)
                frames += f.Shape == code;
        EXPECT_EQ(30, frames) << text;
    }
}

TEST(SkinFile, HighlightFramesGrowByTheMarginOnEverySide) {
    const SkinOutcome out = ApplyWith(22, "Spell0=495,120,600,495");
    ASSERT_FALSE(out.Failure);
    EXPECT_EQ(Px(555, 90, 570, 555), out.Look.SpellButtonR[0].Rect);
    EXPECT_EQ(Px(555, 90, 570, 555), out.Look.SpellButtonB[0].Rect);
    EXPECT_EQ(Px(495, 120, 600, 495), out.Layout.SpellButton[0]);

    // A margin with a fraction, none, and one that shrinks the frame inside its button.
    for (const auto& [margin, expected] :
         std::vector<std::pair<std::string, LayoutRect>>{{"7.5", Px(510, 112.5, 592.5, 510)},
                                                         {"0", Px(495, 120, 600, 495)},
                                                         {"-100", Px(295, 220, 700, 295)}}) {
        Skin skin;
        skin.lines[161] = "Border=" + margin;
        const SkinOutcome m = Apply(skin);
        ASSERT_FALSE(m.Failure) << margin;
        EXPECT_EQ(expected, m.Look.SpellButtonR[0].Rect) << margin;
    }
    // A margin that turns a frame inside out is refused.
    const SkinOutcome inside = ApplyWith(161, "Border=-300");
    ASSERT_TRUE(inside.Failure);
    EXPECT_EQ(5, inside.Failure->Step);
    EXPECT_EQ("SpellButtonB(0)", inside.Failure->Element);
    EXPECT_FALSE(inside.Look.SpellButtonR[0].Rect);
}

TEST(SkinFile, InputBoxPlacements) {
    const SkinOutcome out = ApplyWith(21, "Input=375,120,8400,11500;375,120,8400,10200");
    ASSERT_FALSE(out.Failure);
    const std::array<std::int32_t, 8> twips = {375, 120, 8400, 11500, 375, 120, 8400, 10200};
    for (std::size_t e = 0; e < 8; ++e)
        EXPECT_EQ(twips[e], out.Look.InputBoxRects[e]);
    EXPECT_EQ((std::array<int, 8>{25, 8, 560, 767, 25, 8, 560, 680}), out.Layout.InputBoxRects);
    EXPECT_EQ((PixelRect{8, 560, 767, 25}), PlaceInputBox(out.Layout, 0, 794, 598));
    // Whole numbers: a fraction rounds half to even.
    EXPECT_EQ(376, ApplyWith(21, "375.5,1,1,1;1,1,1,1").Look.InputBoxRects[0]);
    EXPECT_EQ(374, ApplyWith(21, "374.5,1,1,1;1,1,1,1").Look.InputBoxRects[0]);

    // Without ";" the first placement is set and the second keeps its value.
    const SkinOutcome half = ApplyWith(21, "Input=375,120,8400,11500");
    ASSERT_TRUE(half.Failure);
    EXPECT_EQ(7, half.Failure->Step);
    EXPECT_EQ(21, half.Failure->Line);
    EXPECT_EQ(11500, half.Look.InputBoxRects[3]);
    EXPECT_FALSE(half.Look.InputBoxRects[4]);
    const auto& start = DefaultGameLayout().InputBoxRects;
    EXPECT_EQ((std::array<int, 8>{25, 8, 560, 767, start[4], start[5], start[6], start[7]}),
              half.Layout.InputBoxRects);
    EXPECT_EQ(Px(3990, 2400, 300, 9375), half.Layout.TD);                // step 6 came before
    EXPECT_EQ(DefaultGameLayout().Captions[0], half.Layout.Captions[0]); // step 8 never ran
}

TEST(SkinFile, AnUnknownAlignmentLeavesTheOldOne) {
    for (const std::string word : {"Middle", "center", "LEFT", "", " Left"}) {
        const SkinOutcome out = ApplyWith(64, "Align=" + word);
        ASSERT_FALSE(out.Failure);
        EXPECT_FALSE(out.Look.Captions[2].Alignment) << word;
        EXPECT_EQ(TextAlign::Right, out.Look.Captions[1].Alignment);
        EXPECT_EQ(TextAlign::Right, out.Look.Captions[3].Alignment);
    }
    EXPECT_EQ(TextAlign::Left, ApplyWith(64, "Align=Left").Look.Captions[2].Alignment);
    EXPECT_FALSE(ApplyWith(187, "Align=right").Look.EquippedName[0].Alignment);
}

TEST(SkinFile, HitPointsBarColourIsKeptForTheFlashing) {
    const SkinOutcome out = ApplyWith(143, "HPBar=&H0000FF");
    ASSERT_FALSE(out.Failure);
    EXPECT_EQ("&H0000FF", out.Look.BarColours[4]);
    EXPECT_EQ(0x0000FFu, out.Look.Bar[4]); // red
    // Written in decimal: kept in the form the low-bar flashing reads, the same colour.
    EXPECT_EQ("&H0000FF00", ApplyWith(146, "65280").Look.BarColours[6]);
    EXPECT_EQ(std::optional<std::uint32_t>(0x00FF00),
              ParseColourValue(*ApplyWith(146, "65280").Look.BarColours[6]));

    // A fill colour that does not convert stops the loading and is not kept for the flashing.
    const SkinOutcome bad = ApplyWith(143, "HPBar=&HZZ");
    ASSERT_TRUE(bad.Failure);
    EXPECT_EQ(13, bad.Failure->Step);
    EXPECT_EQ("Bar(4)", bad.Failure->Element);
    EXPECT_FALSE(bad.Look.BarColours[4]);
    EXPECT_FALSE(bad.Look.Bar[4]);
    EXPECT_EQ(Px(180, 2600, 5760, 1830), bad.Layout.Bar[2]); // the bar's rectangle came first
    EXPECT_EQ(0x008000u, bad.Look.Bar[2]);                   // and the bars before it
    EXPECT_EQ(DefaultGameLayout().Bar[3], bad.Layout.Bar[3]);
}

// The game applies a skin element by element: a bad line leaves everything before it applied and
// everything after it as it was.
TEST(SkinFile, ABadLineLeavesTheSkinHalfApplied) {
    const GameLayout& start = DefaultGameLayout();
    const SkinOutcome out = ApplyWith(110, "Data2=255,1500,top,900");
    ASSERT_TRUE(out.Failure);
    EXPECT_EQ(8, out.Failure->Step);
    EXPECT_EQ(110, out.Failure->Line);
    EXPECT_EQ("Data(2)", out.Failure->Element);
    EXPECT_EQ(kSkinFormatMessage, "The skin format has changed, re-download the skin from the skins menu.");
    // Before: the picture, room objects, spells, text window, input box, captions 0-2, data 0-1.
    EXPECT_EQ("dark.jpg", out.Look.MainBack);
    EXPECT_EQ(Px(420, 150, 3990, 420), out.Layout.ObjPicG[8]);
    EXPECT_EQ(Px(495, 700, 4170, 2900), out.Layout.SpellNameN[7]);
    EXPECT_EQ(Px(240, 165, 5500, 1200), out.Layout.Captions[2]);
    EXPECT_EQ("Dex", out.Look.Captions[2].Caption);
    EXPECT_EQ(Px(255, 1500, 5250, 900), out.Layout.Data[1]);
    EXPECT_EQ("Courier New", out.Look.Data[2].FontName); // its font comes before its rectangle
    // The bad rectangle: Height and Left set before Top failed to convert.
    EXPECT_EQ((LayoutRect{17, 100, start.Data[2].Top, start.Data[2].Width}), out.Layout.Data[2]);
    // After: untouched.
    EXPECT_FALSE(out.Look.Data[2].Alignment);
    EXPECT_FALSE(out.Look.Captions[3].Caption);
    EXPECT_EQ(start.Captions[3], out.Layout.Captions[3]);
    EXPECT_EQ(start.InventG, out.Layout.InventG);
    EXPECT_EQ(start.Com, out.Layout.Com);
    EXPECT_FALSE(out.Look.ButtonMousePicR[0].FillColour);
    EXPECT_EQ(start.CmdTalk, out.Layout.CmdTalk);
}

TEST(SkinFile, NumbersColoursAndFlags) {
    struct Case {
        int line;
        std::string value;
        bool loads;
    };
    const std::vector<Case> cases = {
        // Rectangles: decimal twips, a fraction and blanks allowed, fields after the fourth ignored.
        {1, " 420 , 150.5,390,420", true},
        {1, "420,150,390,420,junk,more", true},
        {1, "-0,-150,-390,0", true},
        {1, "420,150,390", false},
        {1, "", false},
        {1, "420,150,,420", false},
        {1, "4e2,150,390,420", false},
        {1, "420,150,390,&H10", false},
        {1, "1.2.3,1,1,1", false},
        {1, "420,150,390,-1", false},                       // a negative width
        {1, "-420,150,390,1", false},                       // a negative height
        {1, "420,100001,390,420", false},                   // beyond any window
        {1, "420,150,390," + std::string(400, '9'), false}, // overflows
        {1, "420,150,390,0." + std::string(500, '1'), true},
        // Colours: decimal or "&H", only 0x00BBGGRR.
        {41, "&h00ff00&", true},
        {41, "16777215", true},
        {41, "0", true},
        {41, "&H1000000", false},
        {41, "&HFFFFFFFF", false},
        {41, "16777216", false},
        {41, "-1", false},
        {41, "&H", false},
        {41, "&H123456789", false},
        {41, "red", false},
        {41, "", false},
        // Flags: True or False in any case, or a number.
        {39, "tRuE", true},
        {39, "FALSE", true},
        {39, "2.5", true},
        {39, "-1", true},
        {39, "yes", false},
        {39, "", false},
        {39, "Truex", false},
        // Font sizes in points.
        {42, "7.5", true},
        {42, "1", true},
        {42, "100", true},
        {42, "0", false},
        {42, "0.5", false},
        {42, "100.5", false},
        {42, "-8", false},
        {42, "big", false},
        // The highlight margin.
        {161, "12.5", true},
        {161, "", false},
        {161, "100001", false},
        // The input box placements.
        {21, "1,2,3,4;5,6,7,8;junk", true},
        {21, "1,2,3,4,9;5,6,7,8,9", true},
        {21, "1,2,3,4;5,6,7", false},
        {21, ";", false},
        {21, "1,2,3,4;5,6,7,99999999999", false},
        {21, "1,2,3,-4;5,6,7,8", false},
    };
    for (const Case& c : cases) {
        const SkinOutcome out = ApplyWith(c.line, "L=" + c.value);
        EXPECT_EQ(c.loads, !out.Failure) << c.line << " " << c.value;
        if (out.Failure) {
            EXPECT_EQ(c.line, out.Failure->Line) << c.value;
        }
    }
    EXPECT_EQ(Px(420, 150.5, 390, 420), ApplyWith(1, " 420 , 150.5,390,420").Layout.ObjPicG[0]);
    EXPECT_EQ(0x00FF00u, ApplyWith(41, "&h00ff00&").Look.SpellNameN[0].Colour);
    EXPECT_EQ(true, ApplyWith(39, "-1").Look.SpellNameN[5].Bold);
    EXPECT_EQ(false, ApplyWith(39, "0").Look.SpellNameN[5].Bold);
}

TEST(SkinFile, TheBackgroundPictureIsAPlainFileInTheSkinsFolder) {
    for (const std::string& name :
         std::vector<std::string>{"../dark.jpg", "", "a/b.jpg", "a\\b.jpg", "C:dark.jpg", "/etc/passwd",
                                  std::string(kMaxSafeNameBytes + 1, 'a')}) {
        const SkinOutcome out = ApplyWith(0, "Background=" + name);
        ASSERT_TRUE(out.Failure) << name;
        EXPECT_EQ(2, out.Failure->Step);
        EXPECT_EQ(DefaultGameLayout(), out.Layout);
        EXPECT_FALSE(out.Look.MainBack);
    }
    std::string asked;
    const SkinOutcome refused = ApplySkin(Skin{}.Bytes(), DefaultGameLayout(), [&](std::string_view name) {
        asked = name;
        return false;
    });
    EXPECT_EQ("dark.jpg", asked);
    ASSERT_TRUE(refused.Failure);
    EXPECT_EQ(2, refused.Failure->Step);
    EXPECT_EQ(DefaultGameLayout(), refused.Layout);
    EXPECT_FALSE(
        ApplySkin(Skin{}.Bytes(), DefaultGameLayout(), [](std::string_view) { return true; }).Failure);
}

TEST(SkinFile, AppliesOntoTheStartingLayout) {
    GameLayout start = DefaultGameLayout();
    start.CmdTalk = {1, 2, 3, 4};
    start.InventG[13] = {5, 6, 7, 8};
    const SkinOutcome out = ApplySkin(Skin{}.Bytes().substr(0, 10), start);
    ASSERT_TRUE(out.Failure);
    EXPECT_EQ(start, out.Layout);
    const SkinOutcome bad = ApplyWith(170, "x");
    EXPECT_EQ(DefaultGameLayout().InventG[13], bad.Layout.InventG[13]);
}

} // namespace
} // namespace gr
