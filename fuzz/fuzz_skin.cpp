// A skin file through the loader: never a crash, and whatever it applies stays inside the bounds the game
// window relies on.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "Targets.h"
#include "core/SafeName.h"
#include "skin/SkinFile.h"

namespace {

using gr::fuzz::Check;

void CheckRect(const gr::LayoutRect& r, double bound) {
    for (double v : {r.Height, r.Left, r.Top, r.Width})
        Check(std::isfinite(v) && std::fabs(v) <= bound);
    Check(r.Height >= 0 && r.Width >= 0);
}

void CheckText(const gr::SkinText& t) {
    if (t.FontName) Check(t.FontName->size() <= gr::kMaxSkinFontNameBytes);
    if (t.Caption) Check(t.Caption->size() <= gr::kMaxSkinCaptionBytes);
    if (t.Colour) Check(*t.Colour <= 0xFFFFFF);
    if (t.FontSize) Check(*t.FontSize >= gr::kMinSkinFontSize && *t.FontSize <= gr::kMaxSkinFontSize);
}

template <typename Array> void CheckRects(const Array& rects, double bound) {
    for (const gr::LayoutRect& r : rects)
        CheckRect(r, bound);
}

} // namespace

int gr::fuzz::Skin(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const gr::GameLayout& start = gr::DefaultGameLayout();
    const gr::SkinOutcome out =
        gr::ApplySkin(bytes, start, [](std::string_view name) { return name != "x.jpg"; });

    if (out.Failure) {
        Check(out.Failure->Step >= 1 && out.Failure->Step <= 14);
        Check(out.Failure->Line >= 0 && out.Failure->Line < gr::kSkinLineCount);
        if (out.Failure->Step <= 2) Check(out.Layout == start && !out.Look.MainBack);
    } else {
        Check(out.Look.MainBack && gr::IsSafeFileNamePart(*out.Look.MainBack) &&
              *out.Look.MainBack != "x.jpg");
    }
    const gr::GameLayout& l = out.Layout;
    const double bound = gr::kMaxSkinTwips / gr::kTwipsPerPixel;
    CheckRects(l.ObjPicG, bound);
    CheckRects(l.ObjName, bound);
    CheckRects(l.SpellButton, bound);
    CheckRects(l.SpellNameN, bound);
    CheckRects(l.Captions, bound);
    CheckRects(l.Data, bound);
    CheckRects(l.Bar, bound);
    CheckRects(l.Com, bound);
    CheckRects(l.ButtonMouse2, bound);
    CheckRects(l.InventG, bound);
    CheckRects(l.EquippedPic, bound);
    CheckRects(l.EquippedName, bound);
    for (const gr::LayoutRect& r : {l.ObjVScroll, l.TD, l.SpellVScroll, l.ComVScroll, l.CmdTalk})
        CheckRect(r, bound);
    for (int v : l.InputBoxRects)
        Check(std::abs(v) <= bound + 1);
    // Placing the input box at any window size stays inside the integers.
    for (int placement : {0, 4})
        (void)gr::PlaceInputBox(l, placement, 8000, 6000);

    const gr::SkinLook& look = out.Look;
    for (const auto* group : {&look.SpellButtonR, &look.SpellButtonB})
        for (const gr::SkinFrame& f : *group) {
            if (f.Rect) CheckRect(*f.Rect, 3 * bound);
            if (f.FillColour) Check(*f.FillColour <= 0xFFFFFF);
        }
    for (const auto* group : {&look.ButtonMousePicR, &look.ButtonMousePicB})
        for (const gr::SkinFrame& f : *group) {
            if (f.Rect) CheckRect(*f.Rect, 3 * bound);
            if (f.FillColour) Check(*f.FillColour <= 0xFFFFFF);
        }
    for (const auto& t : look.SpellNameN)
        CheckText(t);
    for (const auto& t : look.Captions)
        CheckText(t);
    for (const auto& t : look.Data)
        CheckText(t);
    for (const auto& t : look.Com)
        CheckText(t);
    for (const auto& t : look.EquippedName)
        CheckText(t);
    for (const auto& c : look.Bar)
        if (c) Check(*c <= 0xFFFFFF);
    for (const auto& text : look.BarColours)
        if (text) Check(text->size() <= gr::kMaxSkinLineBytes);
    return 0;
}

GLOAMREST_FUZZ_ENTRY(gr::fuzz::Skin)
