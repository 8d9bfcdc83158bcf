// The game window's panels as a player meets them: the server's panel messages in, the slots, captions,
// tooltips and pictures out; clicks with the real mouse in, the commands they send out.
#include <QAction>
#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolTip>

#include "panels/CommandsPanel.h"
#include "panels/EquipmentPanel.h"
#include "game/GameWindows.h"
#include "panels/HighlightFrame.h"
#include "panels/InventoryPanel.h"
#include "panels/MouseActionsPanel.h"
#include "panels/RoomObjectsPanel.h"
#include "panels/SpellsPanel.h"
#include "downloads/PictureSource.h"
#include "support/Accessibility.h"
#include "support/GameFixture.h"

namespace gr::test {
namespace {

// Pictures by number, each a distinct colour; records what the panels ask for.
class FakePictures final : public PictureSource {
  public:
    QPixmap Picture(int number) override {
        Asked.push_back(number);
        QPixmap picture(8, 8);
        picture.fill(QColor::fromRgb(QRgb(0xff000000u | unsigned(number) * 2654435761u)));
        return picture;
    }
    std::vector<int> Asked;
};

class Panels : public GameFixture {
  protected:
    // The game window, shown, with its pictures.
    Game& Shown() {
        Game& g = Entered();
        g.Pictures = &pictures;
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&g));
        return g;
    }
    // The messages sent since the count given, after waiting for count more (0: a moment for any).
    std::vector<std::string> SentSince(std::size_t before, std::size_t count = 1) {
        const auto all = peer.WaitMessages(kKey, before + count);
        return {all.begin() + std::ptrdiff_t(std::min(before, all.size())), all.end()};
    }
    std::size_t SentSoFar() { return peer.Messages(kKey).size(); }
    static void Click(QWidget* control, Qt::MouseButton button = Qt::LeftButton) {
        ASSERT_TRUE(control->isVisible());
        QTest::mouseClick(control, button, {}, control->rect().center());
    }
    bool FocusOnInputLine() {
        return WaitFor([&] { return QApplication::focusWidget() == app->game->TI; }, 2000);
    }
    FakePictures pictures;
};

TEST(PanelText, ANameThatDoesNotFitIsDrawnSmallerThenCut) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    const int wrap = int(Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap);
    const QString name = QStringLiteral("leather armour");
    const int lineHeight = QFontMetrics(font).height();
    const int wide = QFontMetrics(font).horizontalAdvance(name) + 4;

    const FittedText roomy = FitText(font, QRect(0, 0, wide, lineHeight), wrap, name);
    EXPECT_EQ(name, roomy.Text);
    EXPECT_EQ(12, QFontInfo(roomy.Font).pixelSize()) << "room enough: the font stays";

    // Two lines' worth of width only for one word, and height for one small line: smaller, still whole.
    const FittedText smaller = FitText(font, QRect(0, 0, wide * 3 / 5, lineHeight * 2 - 4), wrap, name);
    EXPECT_EQ(name, smaller.Text);
    EXPECT_LT(QFontInfo(smaller.Font).pixelSize(), 12);
    EXPECT_GE(QFontInfo(smaller.Font).pixelSize(), 8);

    // Far too small: the readable size on one line with an ellipsis, never half a line.
    const FittedText cut = FitText(font, QRect(0, 0, wide / 3, 10), wrap, name);
    EXPECT_EQ(8, QFontInfo(cut.Font).pixelSize());
    EXPECT_TRUE(cut.Text.endsWith(QChar(0x2026))) << cut.Text.toStdString();
    EXPECT_EQ(0, cut.Flags & Qt::TextWordWrap);
}

TEST_F(Panels, RoomObjectsAreCountedNamedColouredAndScrolled) {
    Game& g = Shown();
    RoomObjectsPanel& room = *g.RoomPanel;
    Tick({"PLAcoin00ffff/1001/Tom & Jerry000000/2000/coin00ffff/1001/"});
    EXPECT_EQ(QStringLiteral("coin (2)"), room.ObjName[0]->text());
    EXPECT_EQ(QStringLiteral("coin (2)"), room.ObjName[0]->toolTip());
    EXPECT_EQ(QStringLiteral("coin (2)"), room.ObjPicG[0]->toolTip());
    EXPECT_EQ(QStringLiteral("coin (2)"), room.ObjPicG[0]->accessibleName());
    EXPECT_EQ(QColor(0xff, 0xff, 0),
              room.ObjName[0]->palette().color(QPalette::WindowText)); // 00ffff: yellow
    EXPECT_EQ(QStringLiteral("Tom & Jerry"), room.ObjName[1]->text());
    // Black would not read on the dark window: the panel's own light text instead.
    EXPECT_GT(room.ObjName[1]->palette().color(QPalette::WindowText).lightness(), 150);
    EXPECT_TRUE(room.ObjName[2]->text().isEmpty());
    EXPECT_FALSE(room.ObjVScroll->isVisible());
    EXPECT_EQ((std::vector<int>{1001, 2000}), pictures.Asked);
    EXPECT_FALSE(room.ObjPicG[0]->pixmap().isNull());

    std::string ten;
    for (int i = 0; i < 10; ++i)
        ten += "thing" + std::to_string(i) + "ffffff/" + std::to_string(1100 + i) + "/";
    Tick({"PLA" + ten});
    EXPECT_TRUE(room.ObjVScroll->isVisible());
    EXPECT_EQ(3, room.ObjVScroll->maximum());
    // The scroll bar's arrow, clicked: one further, and the input line keeps the keyboard.
    QTest::mouseClick(room.ObjVScroll, Qt::LeftButton, {},
                      QPoint(room.ObjVScroll->width() / 2, room.ObjVScroll->height() - 3));
    EXPECT_EQ(1, room.ObjVScroll->value());
    EXPECT_EQ(QStringLiteral("thing1"), room.ObjName[0]->text());
    EXPECT_TRUE(FocusOnInputLine());
    room.ObjVScroll->setValue(3);
    EXPECT_EQ(QStringLiteral("thing3"), room.ObjName[0]->text());
    EXPECT_EQ(QStringLiteral("thing9"), room.ObjName[6]->text());
    EXPECT_TRUE(room.ObjName[7]->text().isEmpty());
    EXPECT_TRUE(room.ObjPicG[7]->pixmap().isNull());

    Tick({"PLA"});
    for (std::size_t i = 0; i < kRoomObjectSlots; ++i) {
        EXPECT_TRUE(room.ObjName[i]->text().isEmpty());
        EXPECT_TRUE(room.ObjPicG[i]->pixmap().isNull());
        EXPECT_TRUE(room.ObjPicG[i]->toolTip().isEmpty());
    }
    EXPECT_FALSE(room.ObjVScroll->isVisible());
}

TEST_F(Panels, ClicksOnObjectsSendTheBoundCommandAndKeepTheInputLine) {
    Game& g = Shown();
    RoomObjectsPanel& room = *g.RoomPanel;
    MouseActionsPanel& actions = *g.MousePanel;
    Tick({"PLAcoin00ffff/1001/coin00ffff/1001/Fish & Chips00ff00/1002/", "SLFire/Heal/"});
    // Nothing stored yet: action 0 on both buttons.
    EXPECT_TRUE(actions.ButtonMousePicR[0]->isVisible());
    EXPECT_TRUE(actions.ButtonMousePicB[0]->isVisible());
    std::size_t before = SentSoFar();
    Click(room.ObjName[0]);
    EXPECT_EQ(std::vector<std::string>{"/a coin"}, SentSince(before));
    EXPECT_TRUE(FocusOnInputLine());

    Click(actions.ButtonMouse2[1]); // look, on the left button
    EXPECT_TRUE(actions.ButtonMousePicR[1]->isVisible());
    EXPECT_FALSE(actions.ButtonMousePicR[0]->isVisible());
    EXPECT_EQ(QStringLiteral("Look, left button"), actions.ButtonMouse2[1]->accessibleName());
    before = SentSoFar();
    Click(room.ObjPicG[1]);
    EXPECT_EQ(std::vector<std::string>{"/l Fish & Chips"}, SentSince(before));
    EXPECT_TRUE(FocusOnInputLine());

    // The right button takes the action: the left one holds nothing now.
    Click(actions.ButtonMouse2[1], Qt::RightButton);
    EXPECT_FALSE(actions.ButtonMousePicR[1]->isVisible());
    EXPECT_TRUE(actions.ButtonMousePicB[1]->isVisible());
    before = SentSoFar();
    Click(room.ObjName[0]);
    EXPECT_TRUE(SentSince(before, 0).empty());
    Click(room.ObjName[0], Qt::RightButton);
    EXPECT_EQ(std::vector<std::string>{"/l coin"}, SentSince(before));

    // A spell on the left button.
    SpellsPanel& spells = *g.SpellPanel;
    Click(spells.SpellNameN[0]);
    EXPECT_TRUE(spells.SpellButtonR[0]->isVisible());
    EXPECT_FALSE(spells.SpellButtonR[1]->isVisible());
    before = SentSoFar();
    Click(room.ObjName[0]);
    EXPECT_EQ(std::vector<std::string>{"/cast Fire/coin"}, SentSince(before));
    // An action on the left button takes the spell's place.
    Click(actions.ButtonMouse2[2]);
    EXPECT_FALSE(spells.SpellButtonR[0]->isVisible());
    EXPECT_EQ("", g.MouseBindings.SelectedSpellR);
    EXPECT_TRUE(FocusOnInputLine());
}

TEST_F(Panels, InventorySlotsAndTheirClicks) {
    Game& g = Shown();
    InventoryPanel& inv = *g.InventPanel;
    Tick({"Inventorya bun/1500/a <b>rusty key/..\\..\\gfx\\1.jpg/"});
    EXPECT_EQ(QStringLiteral("a bun"), inv.InventG[0]->toolTip());
    EXPECT_EQ(QStringLiteral("a bun"), inv.InventG[0]->accessibleName());
    EXPECT_EQ(QStringLiteral("a <b>rusty key"), inv.InventG[1]->toolTip());
    // The name as sent, never markup: the tooltip shows it escaped.
    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), inv.InventG[1]->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(inv.InventG[1], &help);
    EXPECT_TRUE(QToolTip::text().contains(QStringLiteral("a &lt;b&gt;rusty key")))
        << QToolTip::text().toStdString();
    EXPECT_TRUE(inv.InventG[1]->pixmap().isNull()); // a path is no picture number: nothing asked for
    EXPECT_EQ(std::vector<int>{1500}, pictures.Asked);

    g.MouseBindings.RightAction = 3;
    std::size_t before = SentSoFar();
    Click(inv.InventG[0], Qt::RightButton);
    EXPECT_EQ(std::vector<std::string>{"/drop a bun"}, SentSince(before));
    Click(inv.InventG[5]);
    EXPECT_TRUE(Text().endsWith(QStringLiteral("You don't have anything there.\n")));
    EXPECT_EQ(1u, SentSince(before, 0).size());
    EXPECT_TRUE(FocusOnInputLine());

    Tick({"Inventory"});
    for (auto* slot : inv.InventG)
        EXPECT_TRUE(slot->toolTip().isEmpty());
}

TEST_F(Panels, CommandButtonsAndTheGoldDialog) {
    Game& g = Shown();
    CommandsPanel& com = *g.ComPanel;
    Tick({"MainCommandsLook Around/Buy Fish & Chips/Deposit Gold/Withdraw Gold/Sell/"});
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_TRUE(com.Com[i]->isVisible()) << i;
    EXPECT_FALSE(com.Com[5]->isVisible());
    EXPECT_FALSE(com.ComVScroll->isVisible());
    EXPECT_EQ(QStringLiteral("Buy Fish && Chips"), com.Com[1]->text()); // shows a single "&"
    EXPECT_EQ(QStringLiteral("Buy Fish & Chips"), com.Com[1]->accessibleName());
    EXPECT_TRUE(com.Com[1]->toolTip().isEmpty()) << "a caption that fits needs no tip";

    // A caption too long for its button at the smallest readable size is cut at its end; the tip and the
    // name hold it whole, and a press sends it whole.
    const std::string longCaption(120, 'W');
    Tick({"MainCommands" + longCaption + "/"});
    EXPECT_TRUE(com.Com[0]->text().endsWith(QChar(0x2026)));
    EXPECT_LE(QFontMetrics(com.Com[0]->font()).horizontalAdvance(com.Com[0]->text()), com.Com[0]->width());
    EXPECT_EQ(QString::fromStdString(longCaption), com.Com[0]->toolTip());
    EXPECT_EQ(QString::fromStdString(longCaption), com.Com[0]->accessibleName());
    std::size_t sent = SentSoFar();
    Click(com.Com[0]);
    EXPECT_EQ(std::vector<std::string>{"BuySellButton" + longCaption}, SentSince(sent));
    Tick({"MainCommandsLook Around/Buy Fish & Chips/Deposit Gold/Withdraw Gold/Sell/"});

    std::size_t before = SentSoFar();
    Click(com.Com[0]);
    Click(com.Com[1]);
    EXPECT_EQ((std::vector<std::string>{"GeneralChat", "BuySellButtonBuy Fish & Chips"}),
              SentSince(before, 2));
    EXPECT_TRUE(FocusOnInputLine());

    Click(com.Com[2]);
    ASSERT_TRUE(g.GoldDialog);
    DW& dw = *g.GoldDialog;
    EXPECT_TRUE(dw.isVisible());
    EXPECT_EQ(QStringLiteral("Deposit Gold"), dw.windowTitle());
    EXPECT_EQ(QStringLiteral("How much gold would you like to"), dw.Message->text());
    EXPECT_EQ(QStringLiteral("Deposit"), dw.DepWith->text());
    ASSERT_TRUE(WaitFor([&] { return QApplication::focusWidget() == dw.Amount; }));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("-5"));
    Click(dw.DepWith2);
    EXPECT_EQ(QStringList{QStringLiteral("Positive integers only please!")}, dialogs.Shown);
    EXPECT_TRUE(dw.isVisible());
    dw.Amount->clear();
    dw.Amount->setFocus();
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("100"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(std::vector<std::string>{"/deposit 100"}, SentSince(before + 2));
    EXPECT_FALSE(dw.isVisible());
    EXPECT_TRUE(FocusOnInputLine());
    Click(com.Com[3]);
    EXPECT_EQ(QStringLiteral("Withdraw"), dw.DepWith->text());
    EXPECT_EQ(QStringLiteral("&Withdraw"), dw.DepWith2->text());

    Tick({"MainCommandsa/b/c/d/e/f/g/h/"});
    EXPECT_TRUE(com.ComVScroll->isVisible());
    EXPECT_EQ(2, com.ComVScroll->maximum());
    com.ComVScroll->setValue(2);
    EXPECT_EQ(QStringLiteral("c"), com.Com[0]->text());
    EXPECT_EQ(QStringLiteral("h"), com.Com[5]->text());
}

TEST_F(Panels, SpellsScrollToWhereThePlayerLeftThem) {
    PresetSetting(QStringLiteral("SCR_Aldric"), QStringLiteral("3"));
    PresetSetting(QStringLiteral("SPB_Aldric"), QStringLiteral("s5"));
    Game& g = Shown();
    SpellsPanel& spells = *g.SpellPanel;
    std::string ten;
    for (int i = 0; i < 10; ++i)
        ten += "s" + std::to_string(i) + "/";
    Tick({"SL" + ten});
    EXPECT_TRUE(spells.SpellVScroll->isEnabled());
    EXPECT_EQ(4, spells.SpellVScroll->maximum());
    EXPECT_EQ(3, spells.SpellVScroll->value());
    EXPECT_EQ(QStringLiteral("s3"), spells.SpellNameN[0]->text());
    EXPECT_TRUE(spells.SpellButtonB[2]->isVisible()); // s5
    EXPECT_FALSE(spells.SpellNameN[7]->isVisible());  // past the list's end
    // Restored once per window: the next list keeps the player's own position.
    spells.SpellVScroll->setValue(1);
    Tick({"SL" + ten});
    EXPECT_EQ(1, spells.SpellVScroll->value());
    EXPECT_EQ(QStringLiteral("s1"), spells.SpellNameN[0]->text());
    // A short list shows from its start.
    Tick({"SLFire/"});
    EXPECT_EQ(QStringLiteral("Fire"), spells.SpellNameN[0]->text());
    EXPECT_FALSE(spells.SpellButton[1]->isVisible());
    EXPECT_FALSE(spells.SpellVScroll->isEnabled());
}

TEST_F(Panels, EquipmentSlotsAndTheEquipmentWindow) {
    Game& g = Shown();
    EquipmentPanel& eq = *g.EquipPanel;
    Tick({"Equipment2/Iron Helm/1300", "Equipment7/Silver Ring/1400"});
    EXPECT_EQ(QStringLiteral("Iron Helm"), eq.EquippedName[2]->text());
    EXPECT_EQ(QStringLiteral("Helmet: Iron Helm"), eq.EquippedPic[2]->accessibleName());
    EXPECT_EQ("Silver Ring", eq.List[7]);
    EXPECT_EQ("1400", eq.List[20]);
    EXPECT_EQ((std::vector<int>{1300, 1300, 1400}), pictures.Asked); // the window's slot and the main one

    g.MouseBindings.LeftAction = 6;
    std::size_t before = SentSoFar();
    Click(eq.EquippedName[2]);
    EXPECT_EQ(std::vector<std::string>{"/unequip Iron Helm"}, SentSince(before));
    Click(eq.EquippedPic[0]);
    EXPECT_TRUE(Text().endsWith(QStringLiteral("You don't have anything there.\n")));
    Tick({"Equipment2"});
    EXPECT_TRUE(eq.EquippedName[2]->text().isEmpty());
    EXPECT_TRUE(eq.EquippedPic[2]->pixmap().isNull());

    std::string all;
    for (int i = 0; i < 13; ++i)
        all += "item" + std::to_string(i) + "/" + std::to_string(1000 + i) + "/";
    Tick({"OtherEquipment" + all});
    g.Other_Equipment->trigger();
    AllEquipment& window = eq.Window();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(QStringLiteral("item5"), window.Equipped[5]->toolTip());
    EXPECT_FALSE(window.Equipped[5]->pixmap().isNull());
    before = SentSoFar();
    Click(window.Equipped[5]);
    EXPECT_EQ(std::vector<std::string>{"/unequip item5"}, SentSince(before));
    window.close();
    EXPECT_TRUE(FocusOnInputLine());
}

TEST_F(Panels, BindingsAreReadAtStartAndKeptWhenTheGameEnds) {
    PresetSetting(QStringLiteral("LMB_Aldric"), QStringLiteral("4"));
    PresetSetting(QStringLiteral("RMB_Aldric"), QStringLiteral("-1"));
    PresetSetting(QStringLiteral("SPR_Aldric"), QStringLiteral("Heal"));
    Game& g = Shown();
    EXPECT_TRUE(g.MousePanel->ButtonMousePicR[4]->isVisible());
    for (auto* frame : g.MousePanel->ButtonMousePicB)
        EXPECT_FALSE(frame->isVisible());
    Tick({"SLFire/Heal/"});
    EXPECT_TRUE(g.SpellPanel->SpellButtonR[1]->isVisible());
    Click(g.MousePanel->ButtonMouse2[5], Qt::RightButton);
    Click(g.SpellPanel->SpellButton[0]);
    g.Quit_Game_Click();
    EXPECT_EQ(QStringLiteral("-1"), app->GetSetting(QStringLiteral("LMB_Aldric")));
    EXPECT_EQ(QStringLiteral("5"), app->GetSetting(QStringLiteral("RMB_Aldric")));
    EXPECT_EQ(QStringLiteral("Fire"), app->GetSetting(QStringLiteral("SPR_Aldric")));
    EXPECT_EQ(QString(), app->GetSetting(QStringLiteral("SPB_Aldric")));
    EXPECT_EQ(QStringLiteral("0"), app->GetSetting(QStringLiteral("SCR_Aldric")));
}

TEST_F(Panels, AnActionNumberOutsideTheButtonsBindsNothing) {
    PresetSetting(QStringLiteral("LMB_Aldric"), QStringLiteral("9"));
    Game& g = Shown();
    for (auto* frame : g.MousePanel->ButtonMousePicR)
        EXPECT_FALSE(frame->isVisible());
    EXPECT_TRUE(g.MousePanel->ButtonMousePicB[0]->isVisible());
}

TEST_F(Panels, HostileMessagesEndInTheFailureRuleOrTheBounds) {
    Game& g = Shown();
    // Each fails its handler: the message after it waits for the next tick.
    const std::vector<std::string> failing = {
        "Inventorya/1000",                // no closing "/"
        "PLAab/1000/",                    // a name shorter than its colour
        "Equipment99/Crown/1000",         // no slot 99
        "SL" + std::string(500 * 2, '/'), // 500 spells and more
        "MainCommands" + std::string(50, '/'),
        "OtherEquipmenta/1/",
        "PLAx00ffff/../../etc/passwd/", // a path cuts into fields that are no objects
    };
    for (const auto& message : failing) {
        Tick({message, "TMD{ffffff{next"});
        EXPECT_EQ("TMD{ffffff{next", app->Wire.InQueue.At(0)) << message.substr(0, 30);
        g.Worker_Timer();
        EXPECT_TRUE(Text().endsWith(QStringLiteral("next\n")));
    }
    // 3,000 room objects: the first 201 are kept.
    std::string many;
    for (int i = 0; i < 3000; ++i)
        many += "o" + std::to_string(i) + "ffffff/" + std::to_string(1000 + i) + "/";
    Tick({"PLA" + many});
    EXPECT_EQ(kRoomObjectEntries, g.RoomPanel->RoomObjects.size());
    EXPECT_EQ(200 - 6, g.RoomPanel->ObjVScroll->maximum());
    // A picture "number" that is a path, or outside the web host's numbers, asks for nothing.
    pictures.Asked.clear();
    Tick({"PLAx00ffff/..\\..\\gfx\\1.jpg/y00ffff/999/z00ffff/4001/"});
    EXPECT_TRUE(pictures.Asked.empty());
    EXPECT_EQ(QStringLiteral("x"), g.RoomPanel->ObjName[0]->text());
}

TEST_F(Panels, ArrivedPicturesAreShownInEverySlotThatShowsThem) {
    Game& g = Entered();
    g.Pictures = nullptr; // no picture source: slots stay empty
    Tick({"PLAlamp00ffff/1500/", "Inventorya lamp/1500/b/1600/"});
    EXPECT_TRUE(g.RoomPanel->ObjPicG[0]->pixmap().isNull());
    g.Pictures = &pictures;
    g.PictureArrived(1500);
    EXPECT_FALSE(g.RoomPanel->ObjPicG[0]->pixmap().isNull());
    EXPECT_FALSE(g.InventPanel->InventG[0]->pixmap().isNull());
    EXPECT_TRUE(g.InventPanel->InventG[1]->pixmap().isNull());
    EXPECT_EQ((std::vector<int>{1500, 1500}), pictures.Asked);
}

TEST_F(Panels, EveryFilledSlotAndButtonHasItsName) {
    Game& g = Shown();
    Tick({"PLAcoin00ffff/1001/coin00ffff/1001/", "Inventorya bun/1500/", "MainCommandsLook Around/Sell/",
          "SLFire/", "Equipment0/Leather Armor/1200"});
    const AccessibleTree tree = Accessible(&g);
    EXPECT_TRUE(tree.Unnamed.isEmpty()) << tree.Unnamed.join(QStringLiteral(", ")).toStdString();
    for (const char* name : {"Look Around", "Sell", "Attack, left button, right button"})
        EXPECT_TRUE(tree.ByName.contains(QString::fromLatin1(name))) << name;
    EXPECT_EQ(QStringLiteral("coin (2)"), g.RoomPanel->ObjName[0]->accessibleName());
    EXPECT_EQ(QStringLiteral("a bun"), g.InventPanel->InventG[0]->accessibleName());
    EXPECT_EQ(QStringLiteral("Fire"), g.SpellPanel->SpellNameN[0]->accessibleName());
    EXPECT_EQ(QStringLiteral("Armor: Leather Armor"), g.EquipPanel->EquippedName[0]->accessibleName());
}

} // namespace
} // namespace gr::test
