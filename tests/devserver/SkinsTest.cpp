// The local web host's skins as the client's skin loader and chooser read them: 201 positional lines of the
// listed kinds, every element inside the design area and clear of the others, a background picture that
// shows a well behind every element, and a list that names both skins.
#include <gtest/gtest.h>

#include <QImage>
#include <QList>
#include <QRegularExpression>
#include <QString>

#include <set>
#include <string>
#include <vector>

#include "devserver/Skins.h"
#include "skin/Layout.h"

namespace gr::dev {
namespace {

struct Line {
    std::string Label, Value;
};

// The file's lines split at CR LF, each at its first "="; fails the test on a lone CR or LF, a missing end
// or (for a skin file) a line without "=".
std::vector<Line> Lines(const std::string& text, bool everyLineHasEquals = true) {
    std::vector<Line> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find("\r\n", at);
        if (end == std::string::npos) {
            ADD_FAILURE() << "the last line has no CR LF";
            break;
        }
        const std::string whole = text.substr(at, end - at);
        EXPECT_EQ(whole.find_first_of("\r\n"), std::string::npos) << "a lone CR or LF in: " << whole;
        const std::size_t equals = whole.find('=');
        if (equals == std::string::npos) {
            if (everyLineHasEquals) ADD_FAILURE() << "no '=' in: " << whole;
            lines.push_back({{}, whole});
        } else {
            lines.push_back({whole.substr(0, equals), whole.substr(equals + 1)});
        }
        at = end + 2;
    }
    return lines;
}

// A Rect value in pixels: Height,Left,Top,Width in twips, each a whole multiple of a pixel.
bool ParseRect(const std::string& value, QRect& rect) {
    static const QRegularExpression kRect(QStringLiteral("^(\\d+),(\\d+),(\\d+),(\\d+)$"));
    const QRegularExpressionMatch m = kRect.match(QString::fromStdString(value));
    if (!m.hasMatch()) return false;
    const int height = m.captured(1).toInt(), left = m.captured(2).toInt(), top = m.captured(3).toInt(),
              width = m.captured(4).toInt();
    if (height <= 0 || width <= 0 || left + width > kSkinWidthTwips || top + height > kSkinHeightTwips)
        return false;
    rect = QRect(left / kSkinTwipsPerPixel, top / kSkinTwipsPerPixel, width / kSkinTwipsPerPixel,
                 height / kSkinTwipsPerPixel);
    return true;
}

// The line numbers that hold a Rect.
std::vector<int> RectLines() {
    std::vector<int> lines;
    for (int i = 1; i <= 20; ++i)
        lines.push_back(i);
    for (int i = 22; i <= 29; ++i)
        lines.push_back(i);
    for (int i = 43; i <= 50; ++i)
        lines.push_back(i);
    for (int k = 0; k < 15; ++k)
        lines.push_back(56 + 3 * k);
    for (int k = 0; k < 15; ++k)
        lines.push_back(106 + 2 * k);
    for (int k = 0; k < 4; ++k)
        lines.push_back(136 + 3 * k);
    for (int i = 153; i <= 158; ++i)
        lines.push_back(i);
    for (int i = 163; i <= 183; ++i)
        lines.push_back(i);
    for (int i = 190; i <= 200; ++i)
        lines.push_back(i);
    return lines;
}

// The two input box placements of line 21, in pixels.
std::vector<QRect> InputBoxes(const std::string& value) {
    const std::size_t semicolon = value.find(';');
    std::vector<QRect> boxes;
    if (semicolon == std::string::npos) return boxes;
    for (const std::string& group : {value.substr(0, semicolon), value.substr(semicolon + 1)}) {
        QRect box;
        if (ParseRect(group, box)) boxes.push_back(box);
    }
    return boxes;
}

TEST(Skins, EverySkinFileHas201LinesOfTheLoadersKinds) {
    const QRegularExpression colour(QStringLiteral("^(&H00[0-9A-F]{6}|\\d{1,8})$"));
    const QRegularExpression size(QStringLiteral("^\\d{1,2}(\\.\\d+)?$"));
    const std::set<std::string> flags = {"True", "False"};
    const std::set<std::string> aligns = {"Left", "Right", "Center"};
    const std::set<std::string> shapes = {"Square", "Oval", "Circle", "Rounded Rectangle", "Rounded Square"};
    for (const std::string_view name : kSkinNames) {
        SCOPED_TRACE(std::string(name));
        const std::string text = MakeSkinFile(name);
        ASSERT_FALSE(text.empty());
        EXPECT_EQ(text.front(), 'B') << "the chooser keeps only a skin file that starts with B";
        for (const char c : text)
            EXPECT_TRUE((c >= 0x20 && c < 0x7f) || c == '\r' || c == '\n') << "byte " << int(c);
        const std::vector<Line> lines = Lines(text);
        ASSERT_EQ(lines.size(), std::size_t(kSkinLineCount));
        std::set<std::string> labels;
        for (const Line& line : lines) {
            EXPECT_FALSE(line.Label.empty());
            EXPECT_TRUE(labels.insert(line.Label).second) << "label twice: " << line.Label;
        }
        auto value = [&](int line) { return lines.at(std::size_t(line)).Value; };
        EXPECT_EQ(value(0), std::string(name) + ".jpg");

        for (const int line : RectLines()) {
            QRect rect;
            EXPECT_TRUE(ParseRect(value(line), rect)) << "line " << line << ": " << value(line);
        }
        const std::vector<QRect> input = InputBoxes(value(21));
        ASSERT_EQ(input.size(), 2u) << value(21);
        EXPECT_EQ(input[0].left(), input[1].left());
        EXPECT_EQ(input[0].top(), input[1].top());
        EXPECT_EQ(input[0].height(), input[1].height());
        EXPECT_LT(input[1].width(), input[0].width()) << "room for the push-to-talk button";
        QRect talk;
        ASSERT_TRUE(ParseRect(value(200), talk));
        EXPECT_FALSE(talk.intersects(input[1]));
        EXPECT_TRUE(talk.intersects(input[0])) << "the button stands where the wide box reaches";

        for (const int line : {41, 54, 104, 137, 138, 140, 141, 143, 144, 146, 147, 151, 159, 160, 188})
            EXPECT_TRUE(colour.match(QString::fromStdString(value(line))).hasMatch()) << "line " << line;
        for (const int line : {39, 40, 52, 53, 102, 103, 149, 150, 185, 186})
            EXPECT_TRUE(flags.count(value(line))) << "line " << line;
        std::vector<int> alignLines = {187};
        for (int k = 0; k < 15; ++k)
            alignLines.insert(alignLines.end(), {58 + 3 * k, 107 + 2 * k});
        for (const int line : alignLines)
            EXPECT_TRUE(aligns.count(value(line))) << "line " << line;
        for (const int line : {38, 51, 101, 148, 184})
            EXPECT_FALSE(value(line).empty()) << "line " << line;
        for (const int line : {42, 55, 105, 152, 189})
            EXPECT_TRUE(size.match(QString::fromStdString(value(line))).hasMatch()) << "line " << line;
        EXPECT_TRUE(shapes.count(value(162))) << value(162);
        for (int k = 0; k < 14; ++k)
            EXPECT_FALSE(value(57 + 3 * k).empty()) << "caption " << k;

        // The highlight frames reach the margin beyond each spell and picture button; still inside the
        // window.
        const int margin = std::stoi(value(161));
        EXPECT_GE(margin, 0);
        const QRect area(0, 0, kSkinPictureWidth, kSkinPictureHeight);
        for (const int line : {22, 23, 24, 25, 26, 27, 28, 29, 163, 164, 165, 166, 167, 168, 169}) {
            QRect button;
            ASSERT_TRUE(ParseRect(value(line), button));
            const int m = (margin + kSkinTwipsPerPixel - 1) / kSkinTwipsPerPixel;
            EXPECT_TRUE(area.contains(button.adjusted(-m, -m, m, m))) << "line " << line;
        }
    }
}

// No element covers another, so each stays visible and clickable; every one stands in a well of the picture,
// none on the title.
TEST(Skins, ElementsStandApartAndEachInAWellOfThePicture) {
    for (const std::string_view name : kSkinNames) {
        SCOPED_TRACE(std::string(name));
        const std::vector<Line> lines = Lines(MakeSkinFile(name));
        ASSERT_EQ(lines.size(), std::size_t(kSkinLineCount));
        std::vector<std::pair<int, QRect>> elements;
        for (const int line : RectLines()) {
            QRect rect;
            ASSERT_TRUE(ParseRect(lines[std::size_t(line)].Value, rect));
            elements.push_back({line, rect});
        }
        const std::vector<QRect> input = InputBoxes(lines[21].Value);
        ASSERT_EQ(input.size(), 2u);
        for (std::size_t a = 0; a < elements.size(); ++a) {
            for (std::size_t b = a + 1; b < elements.size(); ++b) {
                EXPECT_FALSE(elements[a].second.intersects(elements[b].second))
                    << "lines " << elements[a].first << " and " << elements[b].first;
            }
            if (elements[a].first != 200) {
                EXPECT_FALSE(elements[a].second.intersects(input[0])) << "line " << elements[a].first;
            }
        }
        elements.push_back({21, input[0]});

        const std::vector<QRect> wells = SkinWells(name);
        const QRect title = SkinTitleArea(name);
        const QRect area(0, 0, kSkinPictureWidth, kSkinPictureHeight);
        ASSERT_FALSE(wells.empty());
        EXPECT_TRUE(area.contains(title));
        for (std::size_t w = 0; w < wells.size(); ++w) {
            EXPECT_TRUE(area.contains(wells[w]));
            EXPECT_FALSE(wells[w].intersects(title));
            for (std::size_t v = w + 1; v < wells.size(); ++v)
                EXPECT_FALSE(wells[w].intersects(wells[v]));
        }
        for (const auto& [line, rect] : elements) {
            bool inWell = false;
            for (const QRect& well : wells)
                inWell = inWell || well.adjusted(3, 3, -3, -3).contains(rect);
            EXPECT_TRUE(inWell) << "line " << line << " stands on no well's floor";
            EXPECT_FALSE(rect.intersects(title)) << "line " << line;
        }
    }
}

int Distance(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
}

TEST(Skins, PicturesAreDesignSizeJpegsWithTheirWellsAndTitle) {
    for (const std::string_view name : kSkinNames) {
        SCOPED_TRACE(std::string(name));
        const QByteArray bytes = MakeSkinPicture(name);
        ASSERT_GE(bytes.size(), 2);
        EXPECT_EQ(quint8(bytes[0]), 0xFF) << "the chooser keeps only a picture that starts with 255";
        EXPECT_EQ(quint8(bytes[1]), 0xD8);
        EXPECT_EQ(MakeSkinPicture(name), bytes) << "made the same each time";
        const QImage picture = QImage::fromData(bytes, "JPG");
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(picture.size(), QSize(kSkinPictureWidth, kSkinPictureHeight));

        // Each well: a light frame round a dark floor, both set off from the background beside it.
        const QRgb background = picture.pixel(kSkinPictureWidth / 2, 1);
        for (const QRect& well : SkinWells(name)) {
            SCOPED_TRACE(well.x());
            const QRgb floor = picture.pixel(well.center());
            const QRgb frame = picture.pixel(well.left() + 2, well.center().y());
            EXPECT_GT(Distance(frame, floor), 120);
            EXPECT_GT(Distance(floor, background), 30);
        }
        // The title's letters stand out from its floor.
        const QRect title = SkinTitleArea(name);
        const QRgb titleFloor = picture.pixel(title.left() + 4, title.top() + 4);
        int ink = 0;
        for (int y = title.top() + 4; y < title.bottom() - 4; ++y) {
            for (int x = title.left() + 4; x < title.right() - 4; ++x)
                ink += Distance(picture.pixel(x, y), titleFloor) > 200;
        }
        EXPECT_GT(ink, 200);
    }
    EXPECT_NE(MakeSkinPicture(kSkinNames[0]), MakeSkinPicture(kSkinNames[1]));
}

// Dusk keeps the window's built-in arrangement element by element, so only its looks change.
TEST(Skins, DuskStandsWhereTheWindowStandsWithoutASkin) {
    const std::vector<Line> lines = Lines(MakeSkinFile("dusk"));
    ASSERT_EQ(lines.size(), std::size_t(kSkinLineCount));
    const GameLayout& layout = DefaultGameLayout();
    auto twips = [](const LayoutRect& r) {
        auto t = [](double pixels) { return std::to_string(int(pixels * kTwipsPerPixel)); };
        return t(r.Height) + ',' + t(r.Left) + ',' + t(r.Top) + ',' + t(r.Width);
    };
    std::vector<std::pair<int, LayoutRect>> expected = {{19, layout.ObjVScroll},
                                                        {20, layout.TD},
                                                        {198, layout.SpellVScroll},
                                                        {199, layout.ComVScroll},
                                                        {200, layout.CmdTalk}};
    for (std::size_t i = 0; i < 9; ++i) {
        expected.push_back({1 + int(i), layout.ObjPicG[i]});
        expected.push_back({10 + int(i), layout.ObjName[i]});
    }
    for (std::size_t i = 0; i < 8; ++i) {
        expected.push_back({22 + int(i), layout.SpellButton[i]});
        expected.push_back({43 + int(i), layout.SpellNameN[i]});
    }
    for (std::size_t k = 0; k < 15; ++k) {
        expected.push_back({56 + 3 * int(k), layout.Captions[k]});
        expected.push_back({106 + 2 * int(k), layout.Data[k]});
    }
    for (std::size_t k = 0; k < 4; ++k)
        expected.push_back({136 + 3 * int(k), layout.Bar[k]});
    for (std::size_t i = 0; i < 6; ++i)
        expected.push_back({153 + int(i), layout.Com[i]});
    for (std::size_t i = 0; i < 7; ++i)
        expected.push_back({163 + int(i), layout.ButtonMouse2[i]});
    for (std::size_t i = 0; i < 14; ++i)
        expected.push_back({170 + int(i), layout.InventG[i]});
    // The file lists armour, helmet, shield, weapon; the window's slots are armour, shield, helmet, weapon.
    constexpr std::array<std::size_t, 4> kSlot = {0, 2, 1, 3};
    for (std::size_t k = 0; k < 4; ++k) {
        expected.push_back({190 + 2 * int(k), layout.EquippedPic[kSlot[k]]});
        expected.push_back({191 + 2 * int(k), layout.EquippedName[kSlot[k]]});
    }
    for (const auto& [line, rect] : expected)
        EXPECT_EQ(lines[std::size_t(line)].Value, twips(rect)) << "line " << line;
    std::string input;
    for (std::size_t i = 0; i < 8; ++i)
        input += (i == 0   ? ""
                  : i == 4 ? ";"
                           : ",") +
                 std::to_string(layout.InputBoxRects[i] * kTwipsPerPixel);
    EXPECT_EQ(lines[21].Value, input);
}

TEST(Skins, TheTwoSkinsDifferInArrangementAndLooks) {
    const std::vector<Line> dusk = Lines(MakeSkinFile(kSkinNames[0]));
    const std::vector<Line> harbour = Lines(MakeSkinFile(kSkinNames[1]));
    ASSERT_EQ(dusk.size(), harbour.size());
    int differing = 0;
    for (const int line : RectLines())
        differing += dusk[std::size_t(line)].Value != harbour[std::size_t(line)].Value;
    EXPECT_GT(differing, int(RectLines().size()) * 3 / 4) << "most elements stand elsewhere";
    for (const int line : {20, 21, 38, 51, 54, 57, 101, 104, 148, 151, 159, 162})
        EXPECT_NE(dusk[std::size_t(line)].Value, harbour[std::size_t(line)].Value) << "line " << line;
}

TEST(Skins, TheListNamesBothSkinsAndNothingElseIsASkin) {
    const std::string list = MakeSkinList();
    ASSERT_FALSE(list.empty());
    std::vector<std::string> sections;
    std::set<std::string> keys;
    for (const Line& line : Lines(list, false)) {
        if (line.Value.empty() && line.Label.empty()) continue;
        if (line.Label.empty() && line.Value.front() == '[') {
            sections.push_back(line.Value);
        } else if (!line.Label.empty() && line.Label.front() != ';') {
            ASSERT_FALSE(sections.empty()) << "a key before the first section: " << line.Label;
            EXPECT_FALSE(line.Value.empty());
            EXPECT_LT(line.Value.size(), 200u);
            EXPECT_TRUE(keys.insert(sections.back() + line.Label).second);
        }
    }
    ASSERT_EQ(sections.size(), kSkinNames.size());
    for (std::size_t i = 0; i < kSkinNames.size(); ++i) {
        EXPECT_EQ(sections[i], "[" + std::string(kSkinNames[i]) + "]");
        EXPECT_TRUE(keys.count(sections[i] + "Name"));
        EXPECT_TRUE(keys.count(sections[i] + "Description"));
    }

    for (const std::string_view other : {"", "Dusk", "dusk.skn", "dusk ", "../dusk", "skins", "dark"}) {
        EXPECT_TRUE(MakeSkinFile(other).empty()) << other;
        EXPECT_TRUE(MakeSkinPicture(other).isEmpty()) << other;
        EXPECT_TRUE(SkinWells(other).empty()) << other;
    }
}

} // namespace
} // namespace gr::dev
