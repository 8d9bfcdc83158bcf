#include "panels/PanelRules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/RunTimeError.h"

namespace gr {
namespace {

std::string Repeat(const std::string& piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

TEST(PanelRules, RoomObjectsAreCountedWithTheCountBeforeTheColour) {
    struct Case {
        std::string value;
        std::vector<std::string> names;
        std::vector<int> counts;
    };
    const std::vector<Case> cases = {
        {"", {}, {}},
        {"coin00ffff/1001/coin00ffff/1001/coin00ffff/1001/", {"coin (3)00ffff"}, {3}},
        {"orc0000ff/2000/lamp00ffff/1500/orc0000ff/2000/", {"orc (2)0000ff", "lamp00ffff"}, {2, 1}},
        {"orc0000ff/2000/odd", {"orc0000ff"}, {1}},               // a last unpaired field is ignored
        {"Tom & Jerry00ff00/1200/", {"Tom && Jerry00ff00"}, {1}}, // "&" doubled for the caption
        {"abcdef/1/", {"abcdef"}, {1}},                           // a name that is only its colour
    };
    for (const auto& c : cases) {
        const auto objects = ParseRoomObjects(c.value);
        std::vector<std::string> names;
        std::vector<int> counts;
        for (const auto& o : objects) {
            names.push_back(o.Name);
            counts.push_back(o.Count);
        }
        EXPECT_EQ(c.names, names) << c.value;
        EXPECT_EQ(c.counts, counts) << c.value;
    }
}

TEST(PanelRules, RoomObjectsAreBoundedAndShortNamesFail) {
    // 3,000 distinct objects: the first 201 are kept, the rest not read.
    std::string many;
    for (int i = 0; i < 3000; ++i)
        many += "o" + std::to_string(i) + "ffffff/1000/";
    const auto objects = ParseRoomObjects(many);
    ASSERT_EQ(kRoomObjectEntries, objects.size());
    EXPECT_EQ("o200ffffff", objects.back().Name);
    // 3,000 equal ones are one entry.
    EXPECT_EQ("o (3000)ffffff", ParseRoomObjects(Repeat("offffff/1000/", 3000)).at(0).Name);
    for (const char* bad : {"abc/1000/", "/1000/", "lampzzzzzz/1000/", "ok00ff00/1/x/2/"})
        EXPECT_THROW(ParseRoomObjects(bad), RunTimeError) << bad;
}

TEST(PanelRules, RoomSlotShowsTheNameWithoutItsColour) {
    const auto objects = ParseRoomObjects("Tom & Jerry00ff00/1200/coin0000ff/3000/coin0000ff/3000/");
    const auto first = RoomSlot(objects, 0);
    ASSERT_TRUE(first);
    EXPECT_EQ("Tom && Jerry", first->Caption);
    EXPECT_EQ("Tom & Jerry", first->Shown);
    EXPECT_EQ(0x00ff00u, first->Colour);
    EXPECT_EQ(1200, first->Picture);
    EXPECT_EQ("coin (2)", RoomSlot(objects, 1)->Shown);
    EXPECT_EQ(0x0000ffu, RoomSlot(objects, 1)->Colour);
    EXPECT_FALSE(RoomSlot(objects, 2));
    EXPECT_FALSE(RoomSlot(objects, 500));
}

TEST(PanelRules, PictureNumbers) {
    struct Case {
        const char* field;
        int number;
    };
    for (const Case& c : std::vector<Case>{{"1000", 1000},
                                           {" 4000 ", 4000},
                                           {"", 0},
                                           {"../../etc/passwd", 0},
                                           {"/grpics/1000.jpg", 0},
                                           {"12abc", 0},
                                           {"99999999999", 0}})
        EXPECT_EQ(c.number, PictureNumber(c.field)) << c.field;
}

TEST(PanelRules, InventoryPairsAndTheirFailures) {
    EXPECT_TRUE(ParseInventory("").empty());
    const auto items = ParseInventory("a sword/1100/a bun/x/");
    ASSERT_EQ(2u, items.size());
    EXPECT_EQ("a sword", items[0].Name);
    EXPECT_EQ(1100, items[0].Picture);
    EXPECT_EQ("a bun", items[1].Name);
    EXPECT_EQ(0, items[1].Picture);
    EXPECT_EQ(kInventorySlots, ParseInventory(Repeat("x/1000/", 14)).size());
    for (const std::string& bad : {std::string("a/1"), std::string("a/1/b/"), std::string("abc"),
                                   std::string("/"), Repeat("x/1000/", 15), Repeat("x/1000/", 3000)})
        EXPECT_THROW(ParseInventory(bad), RunTimeError) << bad.substr(0, 40);
}

TEST(PanelRules, CommandAndSpellLists) {
    EXPECT_EQ((std::vector<std::string>{"Look Around", "Fish && Chips", ""}),
              ParseCommandList("Look Around/Fish & Chips/"));
    EXPECT_EQ(std::vector<std::string>{""}, ParseCommandList(""));
    EXPECT_EQ(kCommandEntries, ParseCommandList(Repeat("c/", 40)).size());
    EXPECT_THROW(ParseCommandList(Repeat("c/", 41)), RunTimeError);
    EXPECT_EQ((std::vector<std::string>{"Fire & Ice", "Heal", ""}), ParseSpellList("Fire & Ice/Heal/"));
    EXPECT_EQ(kSpellEntries, ParseSpellList(Repeat("s/", 90)).size());
    EXPECT_THROW(ParseSpellList(Repeat("s/", 500)), RunTimeError);
}

TEST(PanelRules, EquipmentMessages) {
    const auto item = ParseEquipment("2/Iron Helm/1300");
    EXPECT_EQ(2u, item.Slot);
    EXPECT_EQ("Iron Helm", item.Name);
    EXPECT_EQ("1300", item.Picture);
    const auto emptied = ParseEquipment("12");
    EXPECT_EQ(12u, emptied.Slot);
    EXPECT_TRUE(emptied.Name.empty());
    for (const char* bad : {"13/x/1000", "99/x/1000", "-1", "", "x/y/1000", "3/Sword", "3/"})
        EXPECT_THROW(ParseEquipment(bad), RunTimeError) << bad;

    std::string all;
    for (int i = 0; i < 13; ++i)
        all += "item" + std::to_string(i) + "/" + std::to_string(1000 + i) + "/";
    const auto list = ParseOtherEquipment(all);
    EXPECT_EQ("item0", list[0]);
    EXPECT_EQ("1000", list[13]);
    EXPECT_EQ("item12", list[12]);
    EXPECT_EQ("1012", list[25]);
    EXPECT_THROW(ParseOtherEquipment("a/1/b/2/"), RunTimeError);
}

TEST(PanelRules, BindingsKeepOneActionPerButton) {
    Bindings b;
    b.BindSpell(true, "Fireball");
    EXPECT_EQ(-1, b.LeftAction);
    b.BindAction(true, 1);
    EXPECT_EQ(1, b.LeftAction);
    EXPECT_EQ("", b.SelectedSpellR); // an action replaces the button's spell
    b.BindAction(false, 1);          // the same action on the other button leaves the first
    EXPECT_EQ(-1, b.LeftAction);
    EXPECT_EQ(1, b.RightAction);
    b.BindAction(true, 7); // no such action
    EXPECT_EQ(-1, b.LeftAction);
}

TEST(PanelRules, ClickCommands) {
    Bindings b;
    struct Case {
        int left;
        std::string spell;
        std::string caption;
        std::optional<std::string> sent;
    };
    const std::vector<Case> room = {
        {0, "", "orc", "/a orc"},
        {1, "", "coin (3)", "/l coin"},
        {2, "", "Tom && Jerry", "/get Tom & Jerry"},
        {4, "", "lamp", "/get lamp"},
        {3, "", "lamp", std::nullopt},
        {-1, "Fireball", "orc (2)", "/cast Fireball/orc"},
        {-1, "", "orc", std::nullopt},
        {1, "", "", std::nullopt},
        {1, "", " (x)", "/l  (x)"}, // a bracket at the very start is part of the name
    };
    for (const auto& c : room) {
        b = {};
        b.LeftAction = c.left;
        b.SelectedSpellR = c.spell;
        EXPECT_EQ(c.sent, RoomObjectCommand(c.caption, b, true)) << c.caption << c.left;
        EXPECT_EQ(std::nullopt, RoomObjectCommand(c.caption, b, false)) << "the right button is unbound";
    }
    b = {};
    b.RightAction = 0;
    b.SelectedSpellB = "Heal"; // both read at start: the action goes first, one command only
    EXPECT_EQ("/a orc", RoomObjectCommand("orc", b, false));

    const std::vector<std::pair<int, std::optional<std::string>>> inventory = {
        {0, std::nullopt}, {1, "/l bun"},     {2, std::nullopt}, {3, "/drop bun"},
        {4, "/use bun"},   {5, "/equip bun"}, {6, std::nullopt}};
    const std::vector<std::pair<int, std::optional<std::string>>> equipment = {
        {0, std::nullopt}, {1, "/l helm"}, {4, std::nullopt}, {6, "/unequip helm"}};
    for (const auto& [action, sent] : inventory) {
        b = {};
        b.RightAction = action;
        EXPECT_EQ(sent, InventoryCommand("bun", b, false)) << action;
    }
    for (const auto& [action, sent] : equipment) {
        b = {};
        b.LeftAction = action;
        EXPECT_EQ(sent, EquipmentCommand("helm", b, true)) << action;
    }
}

TEST(PanelRules, CommandButtonClicks) {
    EXPECT_EQ(CommandClick::LookAround, CommandButtonClick("Look Around").What);
    EXPECT_EQ("GeneralChat", CommandButtonClick("Look Around").Text);
    const auto gold = CommandButtonClick("Withdraw Gold");
    EXPECT_EQ(CommandClick::GoldDialog, gold.What);
    EXPECT_EQ("Withdraw Gold", gold.Text);
    const auto buy = CommandButtonClick("Buy Fish && Chips");
    EXPECT_EQ(CommandClick::Send, buy.What);
    EXPECT_EQ("BuySellButtonBuy Fish & Chips", buy.Text);
    EXPECT_EQ(CommandClick::Send, CommandButtonClick("gold").What); // the test is case-sensitive
}

} // namespace
} // namespace gr
