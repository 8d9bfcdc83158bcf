#include "skin/SkinFile.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "core/SafeName.h"
#include "core/TextFields.h"
#include "panels/StatusRules.h"

namespace gr {

namespace {

// A line that does not convert: stops the loading where it stands.
struct SkinStop {
    int Line;
    std::string Reason;
};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if ((a[i] | 0x20) != (b[i] | 0x20)) return false; // b is letters only
    return true;
}

// A decimal number filling the text, blanks around it allowed: sign, digits, an optional fraction.
std::optional<double> Decimal(std::string_view text) {
    text = TrimBlanks(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int digits = 0;
    double v = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i, ++digits)
        v = v * 10 + (text[i] - '0');
    if (i < text.size() && text[i] == '.') {
        ++i;
        double scale = 0.1;
        for (; i < text.size() && IsDigit(text[i]); ++i, ++digits, scale /= 10)
            v += (text[i] - '0') * scale;
    }
    if (digits == 0 || i != text.size() || !std::isfinite(v)) return std::nullopt;
    return negative ? -v : v;
}

// "&H" and one to eight hexadecimal digits, an optional trailing "&", blanks around it allowed.
std::optional<std::uint32_t> Hexadecimal(std::string_view text) {
    text = TrimBlanks(text);
    if (text.size() < 2 || text[0] != '&' || (text[1] | 0x20) != 'h') return std::nullopt;
    text.remove_prefix(2);
    if (text.ends_with('&')) text.remove_suffix(1);
    if (text.empty() || text.size() > 8) return std::nullopt;
    std::uint32_t v = 0;
    for (char c : text) {
        const char l = char(c | 0x20);
        const int digit = IsDigit(c) ? c - '0' : l >= 'a' && l <= 'f' ? l - 'a' + 10 : -1;
        if (digit < 0) return std::nullopt;
        v = v << 4 | std::uint32_t(digit);
    }
    return v;
}

// Positions and sizes: single precision, as the window's controls take them.
double Twips(std::string_view text, int line, bool isSize) {
    const auto v = Decimal(text);
    if (!v) throw SkinStop{line, "not a number"};
    if (std::fabs(*v) > kMaxSkinTwips) throw SkinStop{line, "position out of range"};
    if (isSize && *v < 0) throw SkinStop{line, "negative size"};
    return double(float(*v));
}

// A colour in the "&H00BBGGRR" form that skins and the status code both read.
std::string HexColourText(std::uint32_t bgr) {
    char text[16];
    std::snprintf(text, sizeof text, "&H%08X", unsigned(bgr));
    return text;
}

std::uint32_t Colour(std::string_view text, int line) {
    std::optional<std::uint32_t> v = Hexadecimal(text);
    if (!v) {
        const auto d = Decimal(text);
        if (d && *d >= 0 && *d <= 0xFFFFFF) v = std::uint32_t(std::nearbyint(*d));
    }
    // Only 0x00BBGGRR: a value in the high byte is no colour a skin can give.
    if (!v || *v > 0xFFFFFF) throw SkinStop{line, "not a colour"};
    return *v;
}

bool Flag(std::string_view text, int line) {
    const std::string_view t = TrimBlanks(text);
    if (EqualsNoCase(t, "True")) return true;
    if (EqualsNoCase(t, "False")) return false;
    if (const auto d = Decimal(t)) return *d != 0;
    if (const auto h = Hexadecimal(t)) return *h != 0;
    throw SkinStop{line, "not a flag"};
}

double FontSize(std::string_view text, int line) {
    const auto v = Decimal(text);
    if (!v) throw SkinStop{line, "not a number"};
    if (*v < kMinSkinFontSize || *v > kMaxSkinFontSize) throw SkinStop{line, "font size out of range"};
    return *v;
}

std::string Cut(std::string_view text, std::size_t bound) {
    return std::string(text.substr(0, bound));
}

std::optional<TextAlign> Align(std::string_view text) {
    if (text == "Left") return TextAlign::Left;
    if (text == "Right") return TextAlign::Right;
    if (text == "Center") return TextAlign::Center;
    return std::nullopt;
}

HighlightShapeCode Shape(std::string_view text) {
    if (text == "Square") return HighlightShapeCode::Square;
    if (text == "Oval") return HighlightShapeCode::Oval;
    if (text == "Circle") return HighlightShapeCode::Circle;
    if (text == "Rounded Rectangle") return HighlightShapeCode::RoundedRectangle;
    if (text == "Rounded Square") return HighlightShapeCode::RoundedSquare;
    return HighlightShapeCode::Rectangle;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t at = text.find(separator);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos) return parts;
        text.remove_prefix(at + 1);
    }
}

std::string Indexed(const char* name, int i) {
    return std::string(name) + "(" + std::to_string(i) + ")";
}

// Reads the lines; a short file or an overlong line stops here, before anything is applied.
std::vector<std::string_view> ReadValues(std::string_view bytes) {
    std::vector<std::string_view> values;
    std::size_t at = 0;
    while (values.size() < std::size_t(kSkinLineCount) && at < bytes.size()) {
        std::size_t end = at;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n' &&
               end - at <= kMaxSkinLineBytes)
            ++end;
        if (end - at > kMaxSkinLineBytes) throw SkinStop{int(values.size()), "line too long"};
        values.push_back(SkinLineValue(bytes.substr(at, end - at)));
        if (end < bytes.size() && bytes[end] == '\r') ++end;
        if (end < bytes.size() && bytes[end] == '\n') ++end;
        at = end;
    }
    if (values.size() < std::size_t(kSkinLineCount)) throw SkinStop{int(values.size()), "too few lines"};
    return values;
}

class Loader {
  public:
    Loader(std::vector<std::string_view> values, SkinOutcome& out) : v(std::move(values)), out(out) {}

    void Run(const SkinPictureCheck& pictureLoads) {
        Step(2, "MainBack");
        Picture(pictureLoads);
        Step(3, "");
        for (int i = 0; i < 9; ++i) {
            Element("ObjPicG", i);
            Rect(1 + i, out.Layout.ObjPicG[std::size_t(i)]);
            Element("ObjName", i);
            Rect(10 + i, out.Layout.ObjName[std::size_t(i)]);
        }
        Step(4, "HighlightBorder");
        WorkOutHighlight();
        Step(5, "");
        for (int i = 0; i < 8; ++i) {
            const auto n = std::size_t(i);
            Element("SpellButton", i);
            Rect(22 + i, out.Layout.SpellButton[n]);
            Highlights("SpellButton", i, 22 + i, out.Look.SpellButtonR[n], out.Look.SpellButtonB[n]);
            Element("SpellNameN", i);
            Font(out.Look.SpellNameN[n], 38, 39, 40, 41, 42);
            Rect(43 + i, out.Layout.SpellNameN[n]);
        }
        Step(6, "ObjVScroll");
        Rect(19, out.Layout.ObjVScroll);
        Step(6, "TD");
        Rect(20, out.Layout.TD);
        Step(7, "InputBoxRects");
        InputBoxRects();
        Step(8, "");
        for (int k = 0; k < 15; ++k) {
            const auto n = std::size_t(k);
            Element("Captions", k);
            SkinText& caption = out.Look.Captions[n];
            Font(caption, 51, 52, 53, 54, 55);
            Rect(56 + 3 * k, out.Layout.Captions[n]);
            caption.Caption = Cut(v[std::size_t(57 + 3 * k)], kMaxSkinCaptionBytes);
            if (const auto a = Align(v[std::size_t(58 + 3 * k)])) caption.Alignment = a;
            Element("Data", k);
            SkinText& data = out.Look.Data[n];
            Font(data, 101, 102, 103, 104, 105);
            Rect(106 + 2 * k, out.Layout.Data[n]);
            if (const auto a = Align(v[std::size_t(107 + 2 * k)])) data.Alignment = a;
        }
        Step(9, "");
        for (int i = 0; i < 14; ++i) {
            Element("InventG", i);
            Rect(170 + i, out.Layout.InventG[std::size_t(i)]);
        }
        Step(10, "");
        for (int i = 0; i < 6; ++i) {
            Element("Com", i);
            Font(out.Look.Com[std::size_t(i)], 148, 149, 150, 151, 152);
            Rect(153 + i, out.Layout.Com[std::size_t(i)]);
        }
        Step(11, "HighlightBorder");
        WorkOutHighlight();
        Step(12, "");
        for (int i = 0; i < 7; ++i) {
            const auto n = std::size_t(i);
            Element("ButtonMouse2", i);
            Rect(163 + i, out.Layout.ButtonMouse2[n]);
            Highlights("ButtonMousePic", i, 163 + i, out.Look.ButtonMousePicR[n],
                       out.Look.ButtonMousePicB[n]);
        }
        Step(13, "");
        constexpr std::array<int, 4> kEquipmentSlot = {0, 2, 1, 3}; // armour, helmet, shield, weapon
        for (int k = 0; k < 4; ++k) {
            const auto n = std::size_t(k);
            Element("Bar", 2 * k);
            Rect(136 + 3 * k, out.Layout.Bar[n]);
            const int fillLine = 137 + 3 * k;
            const std::uint32_t fill = Colour(v[std::size_t(fillLine)], fillLine);
            // Kept as text for the flashing of the hit points and magic bars, as written when the flashing
            // reads it to the same colour; a colour written another way (in decimal) is kept in the "&H"
            // form, so the flashing never falls back to the built-in colour for a skin's valid one.
            if (k >= 2) {
                const std::string written(v[std::size_t(fillLine)]);
                out.Look.BarColours[2 * n] =
                    ParseColourValue(written) == fill ? written : HexColourText(fill);
            }
            out.Look.Bar[2 * n] = fill;
            Element("Bar", 2 * k + 1);
            out.Look.Bar[2 * n + 1] = Colour(v[std::size_t(138 + 3 * k)], 138 + 3 * k);
            const auto s = std::size_t(kEquipmentSlot[n]);
            Element("EquippedPic", int(s));
            Rect(190 + 2 * k, out.Layout.EquippedPic[s]);
            Element("EquippedName", int(s));
            Rect(191 + 2 * k, out.Layout.EquippedName[s]);
            SkinText& name = out.Look.EquippedName[s];
            Font(name, 184, 185, 186, 188, 189);
            if (const auto a = Align(v[187])) name.Alignment = a;
        }
        Step(14, "SpellVScroll");
        Rect(198, out.Layout.SpellVScroll);
        Step(14, "ComVScroll");
        Rect(199, out.Layout.ComVScroll);
        Step(14, "CmdTalk");
        Rect(200, out.Layout.CmdTalk);
    }

    int step = 1;
    std::string element;

  private:
    void Step(int n, std::string name) {
        step = n;
        element = std::move(name);
    }
    void Element(const char* name, int i) { element = Indexed(name, i); }

    void Picture(const SkinPictureCheck& pictureLoads) {
        const std::string_view name = v[0];
        if (!IsSafeFileNamePart(name)) throw SkinStop{0, "not a plain file name"};
        if (pictureLoads && !pictureLoads(name)) throw SkinStop{0, "picture does not load"};
        out.Look.MainBack = std::string(name);
    }

    // Height, Left, Top, Width, each set as it converts; fields after the fourth are not read.
    void Rect(int line, LayoutRect& rect) {
        const auto f = Split(v[std::size_t(line)], ',');
        double* const targets[4] = {&rect.Height, &rect.Left, &rect.Top, &rect.Width};
        for (std::size_t i = 0; i < 4; ++i) {
            if (i >= f.size()) throw SkinStop{line, "fewer than four fields"};
            *targets[i] = Twips(f[i], line, i == 0 || i == 3) / kTwipsPerPixel;
        }
    }

    // The two highlight frames of button i (named name + "R" and name + "B"): their fill colours from lines
    // 159 and 160, then their shape and geometry from the button's line.
    void Highlights(const std::string& name, int i, int line, SkinFrame& r, SkinFrame& b) {
        Element((name + "R").c_str(), i);
        r.FillColour = Colour(v[159], 159);
        Element((name + "B").c_str(), i);
        b.FillColour = Colour(v[160], 160);
        Frames(line, r, b);
    }

    // Both frames of a button: the button's rectangle grown by the margin on every side.
    void Frames(int line, SkinFrame& r, SkinFrame& b) {
        const auto f = Split(v[std::size_t(line)], ',');
        const double margin = *out.Look.HighlightBorder;
        const double h = Twips(f[0], line, true) + 2 * margin, l = Twips(f[1], line, false) - margin,
                     t = Twips(f[2], line, false) - margin, w = Twips(f[3], line, true) + 2 * margin;
        if (h < 0 || w < 0) throw SkinStop{161, "highlight frame of negative size"};
        const LayoutRect frame{h / kTwipsPerPixel, l / kTwipsPerPixel, t / kTwipsPerPixel,
                               w / kTwipsPerPixel};
        for (SkinFrame* each : {&r, &b}) {
            each->Shape = out.Look.HighlightShape;
            each->Rect = frame;
        }
    }

    void WorkOutHighlight() {
        out.Look.HighlightShape = Shape(v[162]);
        const auto margin = Decimal(v[161]);
        if (!margin) throw SkinStop{161, "not a number"};
        if (std::fabs(*margin) > kMaxSkinTwips) throw SkinStop{161, "margin out of range"};
        out.Look.HighlightBorder = *margin;
    }

    // Font name, bold, italic, colour, size, in that order.
    void Font(SkinText& text, int name, int bold, int italic, int colour, int size) {
        text.FontName = Cut(v[std::size_t(name)], kMaxSkinFontNameBytes);
        text.Bold = Flag(v[std::size_t(bold)], bold);
        text.Italic = Flag(v[std::size_t(italic)], italic);
        text.Colour = Colour(v[std::size_t(colour)], colour);
        text.FontSize = FontSize(v[std::size_t(size)], size);
    }

    // The first placement, then the second; each of the eight a 32-bit integer in range.
    void InputBoxRects() {
        const auto groups = Split(v[21], ';');
        for (std::size_t g = 0; g < 2; ++g) {
            if (g >= groups.size()) throw SkinStop{21, "no second placement"};
            const auto f = Split(groups[g], ',');
            for (std::size_t i = 0; i < 4; ++i) {
                if (i >= f.size()) throw SkinStop{21, "fewer than four fields"};
                const double twips = std::nearbyint(Twips(f[i], 21, i == 0 || i == 3));
                const std::size_t e = 4 * g + i;
                out.Look.InputBoxRects[e] = std::int32_t(twips);
                out.Layout.InputBoxRects[e] = int(std::lround(twips / kTwipsPerPixel));
            }
        }
    }

    std::vector<std::string_view> v;
    SkinOutcome& out;
};

} // namespace

std::string_view SkinLineValue(std::string_view line) {
    const std::size_t at = line.find('=');
    return at == std::string_view::npos ? line : line.substr(at + 1);
}

SkinOutcome ApplySkin(std::string_view fileBytes, const GameLayout& start,
                      const SkinPictureCheck& pictureLoads) {
    SkinOutcome out{start, {}, std::nullopt};
    std::vector<std::string_view> values;
    try {
        values = ReadValues(fileBytes);
    } catch (const SkinStop& stop) {
        out.Failure = SkinFailure{1, stop.Line, "", stop.Reason};
        return out;
    }
    Loader loader(std::move(values), out);
    try {
        loader.Run(pictureLoads);
    } catch (const SkinStop& stop) {
        out.Failure = SkinFailure{loader.step, stop.Line, loader.element, stop.Reason};
    }
    return out;
}

} // namespace gr
