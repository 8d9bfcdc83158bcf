#pragma once
// The lists behind the game window's panels, built from the server's panel messages, and the commands that
// clicks on the panels send. Pure rules over the server's bytes: every list has the bound the window's
// slots give it, and a message that does not fit its list fails with RunTimeError (the dispatcher then
// abandons the message, as for any failing handler).
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gr {

// The fixed sizes of the panels' lists and slots.
constexpr std::size_t kRoomObjectEntries = 201; // distinct objects one room message may hold
constexpr std::size_t kRoomObjectSlots = 9;
constexpr std::size_t kInventorySlots = 14;
constexpr std::size_t kCommandEntries = 41;
constexpr std::size_t kCommandButtons = 6;
constexpr std::size_t kSpellEntries = 91;
constexpr std::size_t kSpellSlots = 8;
constexpr std::size_t kEquipmentSlots =
    13; // the equipment window's slots; the first four are on the main window
constexpr std::size_t kMainEquipmentSlots = 4;
constexpr std::size_t kMouseActions = 7;
// A room object's name ends in its text colour: six hexadecimal digits, blue, green, red. Never shown.
constexpr std::size_t kColourSuffixLength = 6;

// The picture number a panel field names; 0 (no picture) for anything that is not a whole number.
int PictureNumber(std::string_view field);
// Every "&" doubled: captions of buttons and labels show a literal "&" this way.
std::string DoubleAmpersands(std::string_view text);
// Every "&&" back to "&".
std::string SingleAmpersands(std::string_view text);

// ---- Room objects ----------------------------------------------------------------------------------------

struct RoomObject {
    std::string Name; // with "&" doubled, the count in brackets when not 1, and the colour suffix
    int Count = 0;
    int Picture = 0;
};

// The distinct objects of a room message's value (pairs name / picture number, each followed by "/"), in
// order of first appearance, at most kRoomObjectEntries of them (reading stops at the first object that
// would be one more). Equal names are counted: three "coin00ffff" become "coin (3)00ffff". A last unpaired
// field is ignored. Throws RunTimeError for a name shorter than its colour suffix or whose suffix is not
// six hexadecimal digits. An empty value gives no objects.
std::vector<RoomObject> ParseRoomObjects(std::string_view value);

// What a room object slot shows.
struct RoomObjectSlot {
    std::string Caption;      // the name without its colour suffix, "&" doubled (the label's caption)
    std::string Shown;        // the same with single "&": what the player reads (label text, tooltip)
    std::uint32_t Colour = 0; // 0xBBGGRR from the suffix
    int Picture = 0;
};
// The slot for an entry (an empty slot for an empty or missing entry).
std::optional<RoomObjectSlot> RoomSlot(const std::vector<RoomObject>& objects, std::size_t entry);

// ---- Inventory, commands, spells, equipment
// ----------------------------------------------------------------

struct InventoryItem {
    std::string Name; // the slot's tooltip, sent with the item commands
    int Picture = 0;
};
// Pairs name / picture, the list ending with "/": at most kInventorySlots items. An empty value is an empty
// inventory. A list without its closing "/" (an odd field count) or with more items than slots throws.
std::vector<InventoryItem> ParseInventory(std::string_view value);

// The command captions ("&" doubled), every field including the trailing empty one: at most
// kCommandEntries fields, more throw.
std::vector<std::string> ParseCommandList(std::string_view value);

// The spell names, every field: at most kSpellEntries fields, more throw.
std::vector<std::string> ParseSpellList(std::string_view value);

// One equipment slot: "slot/name/picture" puts an item there, "slot" alone empties it. The slot must be a
// whole number 0 to 12; anything else throws, as does an item message without its picture.
struct EquipmentChange {
    std::size_t Slot = 0;
    std::string Name;    // empty when the slot is emptied
    std::string Picture; // the picture field as sent
};
EquipmentChange ParseEquipment(std::string_view value);

// The whole equipment list: 13 pairs name / picture. Fewer throw; more are ignored.
// Entries 0 to 12 are the names, 13 to 25 the pictures.
using EquipmentList = std::array<std::string, 2 * kEquipmentSlots>;
EquipmentList ParseOtherEquipment(std::string_view value);

// ---- Clicks ---------------------------------------------------------------------------------------------

// What the mouse buttons are bound to: an action 0 to 6 of the action buttons (-1 for none) or a spell.
struct Bindings {
    int LeftAction = -1, RightAction = -1;
    std::string SelectedSpellR, SelectedSpellB; // left and right button's spell
    // The player binds an action or a spell; an action is never on both buttons at once, and a button
    // holds either an action or a spell.
    void BindAction(bool left, int action);
    void BindSpell(bool left, const std::string& spell);
    int Action(bool left) const { return left ? LeftAction : RightAction; }
    const std::string& Spell(bool left) const { return left ? SelectedSpellR : SelectedSpellB; }
};

// The name a click on a room object sends: the caption with single "&", cut before " (" when that stands
// at the second character or later (the count of equal objects). Empty for an empty caption.
std::string ObjectClickName(std::string_view caption);
// The command a click sends (nothing when the button's binding does nothing there).
std::optional<std::string> RoomObjectCommand(std::string_view caption, const Bindings& b, bool left);
std::optional<std::string> InventoryCommand(const std::string& name, const Bindings& b, bool left);
std::optional<std::string> EquipmentCommand(const std::string& item, const Bindings& b, bool left);

// A main command button's click, by its caption ("&" doubled).
struct CommandClick {
    enum Kind { LookAround, GoldDialog, Send } What = Send;
    std::string Text; // Send: the message; GoldDialog: the caption with single "&"
};
CommandClick CommandButtonClick(std::string_view caption);

} // namespace gr
