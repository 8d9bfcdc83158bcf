// The status panel in the game window: status messages in through the dispatcher, captions, values, bar
// lengths and colours out; blinking through FlashBar; the two status switches of the menu; names a screen
// reader reads; and messages that fail leave the client running.
#include <QAction>
#include <QElapsedTimer>
#include <QTimer>

#include "core/BoundText.h"
#include "panels/Contrast.h"
#include "panels/EquipmentPanel.h"
#include "panels/PanelSlot.h"
#include "panels/StatusPanel.h"
#include "text/TextMarkup.h"
#include "support/GameFixture.h"

namespace gr::test {
namespace {

class StatusPanelTest : public GameFixture {
  protected:
    StatusPanel& Panel() { return *app->game->Status; }
    QString DataText(int k) { return Panel().Data[std::size_t(k)]->text(); }
    int Width(int bar) { return Panel().Bar[std::size_t(bar)]->width(); }
    std::uint32_t Colour(int bar) { return Panel().Bar[std::size_t(bar)]->Colour(); }
    bool Shown(int bar) { return !Panel().Bar[std::size_t(bar)]->isHidden(); }
    bool Blinking(int reference) { return Panel().FlashBar[std::size_t(reference)]->isActive(); }
    static std::uint32_t Bgr(const QColor& c) {
        return std::uint32_t(c.red() | c.green() << 8 | c.blue() << 16);
    }
};

TEST_F(StatusPanelTest, CaptionsAndValuesFromTheServer) {
    Entered();
    const char* captions[] = {"Strength",   "Intelligence", "Dexterity", "Constitution", "Wisdom",
                              "Charisma",   "Level",        "Armor",     "Gold",         "Bank",
                              "Experience", "Stamina",      "HP/Max",    "Magic/Max",    ""};
    for (int k = 0; k < 15; ++k)
        EXPECT_EQ(QString::fromLatin1(captions[k]), Panel().Captions[std::size_t(k)]->text());
    Tick({"LevelChange12", "MainArmorChange34", "GoldChange1234567", "BankGoldChange1234567890123",
          "StChg0/18", "StChg5/9", "StChg14/Blessed", "StChg6/13", "Stamina40/80", "HPChange5/100",
          "MGChange30/60"});
    const std::pair<int, const char*> values[] = {
        {0, "18"},
        {5, "9"},
        {14, "Blessed"},
        {6, "13"}, // "StChg" sets any value, the level
                   // too
        {7, "34"},
        {8, "1,234,567"},
        {9, "1234,567,890,123"},
        {11, "40/80"},
        {12, "5/100"},
        {13, "30/60"},
    };
    for (const auto& [k, text] : values)
        EXPECT_EQ(QString::fromLatin1(text), DataText(k)) << k;
    EXPECT_EQ(QString(), DataText(1));
}

TEST_F(StatusPanelTest, HitPointBarColourLengthAndBlinking) {
    Game& g = Entered();
    ASSERT_GT(Width(5), 100);
    struct Step {
        const char* message;
        int widthOf100; // hundredths of the reference's length
        std::uint32_t colour;
        bool blinking;
    };
    const Step steps[] = {
        {"HPChange5/100", 5, 0x0000FF, true},
        {"HPChange0/100", 0, 0x0000FF, true}, // emptied; the colour and the blink stay
        {"HPChange19/100", 19, 0x0000FF, true},
        {"HPChange20/100", 20, 0x0080FF, false},
        {"HPChange50/100", 50, 0x00FFFF, false},
        {"HPChange79/100", 79, 0x00FFFF, false},
        {"HPChange80/100", 80, 0x00C000, false}, // the normal colour without a skin
        {"HPChange150/100", 100, 0x00C000, false},
        {"HPChange7/0", 0, 0x00C000, false},
    };
    for (const auto& s : steps) {
        Tick({s.message});
        EXPECT_EQ(QString::fromLatin1(s.message + 8), DataText(12)) << s.message;
        EXPECT_EQ(Width(5) * s.widthOf100 / 100, Width(4)) << s.message;
        EXPECT_EQ(s.colour, Colour(4)) << s.message;
        EXPECT_EQ(s.blinking, Blinking(5)) << s.message;
        if (!s.blinking) {
            EXPECT_TRUE(Shown(5)) << s.message;
        }
    }
    EXPECT_EQ("&H0000C000", g.BarColours[4]);
    // A skin's colour for a full bar is used; one that is not a colour leaves the built-in one.
    g.BarColours[4] = "&H00FFFFFF";
    Tick({"HPChange90/100"});
    EXPECT_EQ(0xFFFFFFu, Colour(4));
    g.BarColours[4] = "&Hgreen";
    Tick({"HPChange91/100"});
    EXPECT_EQ(0x00C000u, Colour(4));
}

TEST_F(StatusPanelTest, MagicStaminaAndExperienceBars) {
    Game& g = Entered();
    const int ref = Width(7);
    struct Step {
        const char* message;
        int bar;
        int width;
        std::uint32_t colour;
    };
    const Step steps[] = {
        {"MGChange30/100", 6, ref * 30 / 100, 0x8000C0},
        {"MGChange60/100", 6, ref * 60 / 100, 0xFF0080},
        {"MGChange100/100", 6, ref, 0xFF0000},
        {"MGChange10/100", 6, ref * 10 / 100, 0x0000FF},
        {"XPChange12345/50000/0.4567", 0, int(Width(1) * 0.4567), 0x00C0C0},
        {"XPChange5/10/1.2", 0, Width(1), 255},
        {"XPChange5/10/-0.5", 0, 0, 0x00C0C0},
    };
    for (const auto& s : steps) {
        Tick({s.message});
        EXPECT_EQ(s.width, Width(s.bar)) << s.message;
        EXPECT_EQ(s.colour, Colour(s.bar)) << s.message;
    }
    EXPECT_TRUE(Blinking(7));
    EXPECT_EQ(0, g.Status->Xp.Fraction); // a negative fraction is kept as 0
    // Stamina is not capped: more than the maximum runs past the reference bar.
    const std::uint32_t stamina = Colour(2);
    Tick({"Stamina150/100"});
    EXPECT_EQ(QStringLiteral("150/100"), DataText(11));
    EXPECT_EQ(Width(3) * 3 / 2, Width(2));
    Tick({"Stamina0/100"});
    EXPECT_EQ(0, Width(2));
    Tick({"Stamina25/0"});
    EXPECT_EQ(0, Width(2));
    Tick({"Stamina25/100"});
    EXPECT_EQ(Width(3) / 4, Width(2));
    EXPECT_EQ(stamina, Colour(2));
}

TEST_F(StatusPanelTest, ExperienceTextPlainOrEnhanced) {
    Game& g = Entered();
    ASSERT_TRUE(g.Enhanced_XP->isChecked());
    Tick({"XPChange12345/50000/0.4567"});
    EXPECT_EQ(QStringLiteral("45.67%\r\n12,345/50,000"), DataText(10));
    EXPECT_EQ(QStringLiteral("Experience 45.67% 12,345/50,000"), Panel().Data[10]->accessibleName());
    g.Enhanced_XP->trigger();
    EXPECT_EQ(QStringLiteral("12,345"), DataText(10));
    EXPECT_EQ(QStringLiteral("1"), app->GetSetting(QStringLiteral("Enhanced_XP")));
    Tick({"XPChange500/1000/0.5"});
    EXPECT_EQ(QStringLiteral("500"), DataText(10));
    g.Enhanced_XP->trigger();
    EXPECT_EQ(QStringLiteral("50%\r\n500/1,000"), DataText(10));
    EXPECT_EQ(QString(), app->GetSetting(QStringLiteral("Enhanced_XP")));
    // Where a value's place holds one line, its lines are shown side by side, or the numbers alone with
    // the percentage on the bar; a place of more lines shows them as lines.
    StatusLabel* xp = Panel().Data[10];
    const QSize size = xp->size();
    xp->resize(size.width(), size.height() * 3);
    EXPECT_EQ(QStringLiteral("50%\n500/1,000"), xp->ShownText());
    xp->resize(size.width() * 5, size.height());
    EXPECT_EQ(QStringLiteral("50% 500/1,000"), xp->ShownText());
    xp->resize(size);
    EXPECT_EQ(QStringLiteral("Experience 50%"), Panel().BarCaptions[0]->text());
    Tick({"XPChange1234567/2000000/0.61728"});
    EXPECT_EQ(QStringLiteral("1,234,567/2,000,000"), xp->ShownText());
    EXPECT_EQ(QStringLiteral("Experience 61.72%"), Panel().BarCaptions[0]->text());
    g.Enhanced_XP->trigger();
    EXPECT_EQ(QStringLiteral("Experience"), Panel().BarCaptions[0]->text());
}

TEST_F(StatusPanelTest, LowBarsBlinkEveryFifthOfASecond) {
    Game& g = Entered();
    g.show();
    Tick({"HPChange5/100", "MGChange10/100"});
    ASSERT_TRUE(Blinking(5));
    EXPECT_EQ(StatusPanel::kFlashBarMs, Panel().FlashBar[5]->interval());
    EXPECT_EQ(StatusPanel::kFlashBarMs, Panel().FlashBar[7]->interval());
    // The reference bar, under the value bar, goes and comes with the timer.
    std::vector<bool> seen;
    QElapsedTimer clock;
    clock.start();
    bool last = Shown(5);
    EXPECT_TRUE(WaitFor(
        [&] {
            if (Shown(5) != last) seen.push_back(last = Shown(5));
            return seen.size() >= 2;
        },
        3000));
    EXPECT_GE(clock.elapsed(), 2 * StatusPanel::kFlashBarMs - 50);
    EXPECT_EQ((std::vector<bool>{false, true}), seen);
    EXPECT_TRUE(Shown(4)); // the value bar itself stays
    // Each tick turns it over; hit points back over a fifth stop the blink with the bar shown.
    Panel().FlashBar_Timer(5);
    EXPECT_FALSE(Shown(5));
    Tick({"HPChange60/100"});
    EXPECT_FALSE(Blinking(5));
    EXPECT_TRUE(Shown(5));
    EXPECT_TRUE(Blinking(7));
}

TEST_F(StatusPanelTest, TheBlinkingSwitch) {
    Game& g = Entered();
    Tick({"HPChange5/100", "MGChange10/100"});
    Panel().FlashBar_Timer(5);
    ASSERT_FALSE(Shown(5));
    // Off: both stop, both reference bars shown, and a new low value only turns red.
    g.Bar_Flashing->trigger();
    EXPECT_FALSE(g.Bar_Flashing->isChecked());
    EXPECT_EQ(QStringLiteral("1"), app->GetSetting(QStringLiteral("Bar_Flashing")));
    EXPECT_FALSE(Blinking(5));
    EXPECT_FALSE(Blinking(7));
    EXPECT_TRUE(Shown(5));
    EXPECT_TRUE(Shown(7));
    Tick({"HPChange3/100"});
    EXPECT_EQ(0x0000FFu, Colour(4));
    EXPECT_FALSE(Blinking(5));
    // On again: the bars that are short now blink.
    Tick({"MGChange50/100"});
    g.Bar_Flashing->trigger();
    EXPECT_TRUE(Blinking(5));
    EXPECT_FALSE(Blinking(7));
    // A magic bar exactly 1 wide is the exception.
    g.Bar_Flashing->trigger();
    g.Status->Bar[6]->resize(1, g.Status->Bar[6]->height());
    g.Bar_Flashing->trigger();
    EXPECT_FALSE(Blinking(7));
    EXPECT_TRUE(Blinking(5));
}

TEST_F(StatusPanelTest, PlacedFromTheLayoutAndKeptAtANewSize) {
    Game& g = Entered();
    g.show();
    Tick({"HPChange50/100", "Stamina1/4"});
    for (int size = 0; size < 2; ++size) {
        const int w = g.MainBack->width(), h = g.MainBack->height();
        for (std::size_t k = 0; k < 15; ++k) {
            const PixelRect d = Place(g.Layout.Data[k], w, h);
            const QRect at(Panel().Data[k]->mapTo(g.MainBack, QPoint(0, 0)), Panel().Data[k]->size());
            EXPECT_EQ(QRect(d.Left, d.Top, d.Width, d.Height), at) << k;
        }
        const PixelRect r = Place(g.Layout.Bar[2], w, h);
        EXPECT_EQ(r.Width, Width(5));
        EXPECT_EQ(Panel().Bar[5]->geometry().topLeft(), Panel().Bar[4]->geometry().topLeft());
        EXPECT_EQ(r.Width / 2, Width(4));
        EXPECT_EQ(Width(3) / 4, Width(2));
        // Between its controls the panel lets the mouse through to the window's other parts: the equipment
        // picture that lies under it takes the click.
        const PixelRect equipment = Place(g.Layout.EquippedPic[2], w, h);
        ASSERT_TRUE(Panel().geometry().contains(equipment.Left + 1, equipment.Top + 1));
        EXPECT_EQ(g.EquipPanel->EquippedPic[2], g.MainBack->childAt(equipment.Left + 1, equipment.Top + 1));
        EXPECT_EQ(Panel().Data[3], g.MainBack->childAt(Panel().Data[3]->mapTo(g.MainBack, QPoint(2, 2))));
        const int before = g.MainBack->width();
        g.resize(g.width() * 3 / 2, g.height() * 3 / 2);
        ASSERT_TRUE(WaitFor([&] { return g.MainBack->width() != before; }));
    }
}

TEST_F(StatusPanelTest, ReadableAndNamedAsThePlayerSeesThem) {
    Entered();
    Tick({"GoldChange1234567", "HPChange5/100", "StChg14/Blessed", "LevelChange12"});
    EXPECT_EQ(QStringLiteral("Gold 1,234,567"), Panel().Data[8]->accessibleName());
    EXPECT_EQ(QStringLiteral("HP/Max 5/100"), Panel().Data[12]->accessibleName());
    EXPECT_EQ(QStringLiteral("Level 12"), Panel().Data[6]->accessibleName());
    EXPECT_EQ(QStringLiteral("Blessed"), Panel().Data[14]->accessibleName());
    EXPECT_FALSE(Panel().Data[14]->isHidden());
    EXPECT_TRUE(Panel().Captions[14]->isHidden()); // nothing to read
    Tick({"StChg14/"});
    EXPECT_TRUE(Panel().Data[14]->isHidden());
    EXPECT_EQ(QStringLiteral("Strength"), Panel().Data[0]->accessibleName()); // no value yet
    EXPECT_EQ(QStringLiteral("Hit points bar 5%"), Panel().Bar[4]->accessibleName());
    EXPECT_EQ(QStringLiteral("Magic bar 100%"), Panel().Bar[6]->accessibleName());
    EXPECT_EQ(QStringLiteral("Gold"), Panel().Captions[8]->accessibleName());
    EXPECT_EQ(QStringLiteral("1,234,567"), Panel().Data[8]->toolTip()); // all of it, where it is cut short
    // Text of both kinds reads on the window's dusk.
    for (int k : {0, 8}) {
        for (StatusLabel* l : {Panel().Captions[std::size_t(k)], Panel().Data[std::size_t(k)]})
            EXPECT_GE(ContrastRatio(Bgr(l->palette().color(QPalette::WindowText)), kTextBackgroundColour),
                      kMinTextContrast)
                << l->objectName().toStdString();
    }
}

TEST_F(StatusPanelTest, BadMessagesEndTheTickAndLeaveTheClientRunning) {
    Game& g = Entered();
    Tick({"HPChange50/100", "XPChange1/2/0.5", "StChg3/15"});
    const int hp = Width(4);
    const std::string huge(400, '9');
    // Each fails; the message after it waits for the next tick.
    const std::string bad[] = {
        "StChg",
        "StChg3",
        "StChg15/x",
        "StChg-1/x",
        "StChg99999999999/x",
        "XPChange1/2",
        "XPChange1/2/" + huge,
        "HPChange" + huge + "/1",
        "MGChange",
        "HPChange5",
        "Stamina5",
        "Stamina99999999999/1",
        "Stamina5/-1",
    };
    for (const std::string& m : bad) {
        Tick({m, "TMD{ffffff{after"});
        EXPECT_FALSE(Text().contains(QStringLiteral("after"))) << m.substr(0, 30);
        EXPECT_EQ("TMD{ffffff{after", app->Wire.InQueue.At(0)) << m.substr(0, 30);
        g.Worker_Timer();
        EXPECT_TRUE(Text().contains(QStringLiteral("after"))) << m.substr(0, 30);
        g.TD->ClearText();
    }
    EXPECT_FALSE(ending.Ended());
    // What a failing message wrote before its bad field stays; nothing after it changed.
    EXPECT_EQ(QStringLiteral("5"), DataText(12));
    EXPECT_EQ(hp, Width(4));
    EXPECT_EQ(0x00FFFFu, Colour(4));
    EXPECT_EQ(QStringLiteral("15"), DataText(3));
    EXPECT_EQ(QStringLiteral("50%\r\n1/2"), DataText(10));
    EXPECT_EQ(QStringLiteral("5/-1"), DataText(11));
    // Long or marked-up text shows as plain text within its bound.
    Tick({"LevelChange" + std::string(100000, 'L'), "StChg14/<img src=\"gfx\\\\1000.jpg\">"});
    EXPECT_EQ(QString(int(kMaxStatusBytes), QLatin1Char('L')) +
                  QString::fromLatin1(kCutMark.data(), int(kCutMark.size())),
              DataText(6));
    EXPECT_EQ(Qt::PlainText, Panel().Data[14]->textFormat());
    EXPECT_EQ(QStringLiteral("<img src=\"gfx\\\\1000.jpg\">"), DataText(14));
}

} // namespace
} // namespace gr::test
