#include "panels/PanelRules.h"

#include <unordered_map>

#include "core/Numbers.h"
#include "core/RunTimeError.h"
#include "core/TextFields.h"

namespace gr {

namespace {
// Reads "/"-separated fields one at a time, so that a huge message is never split into a huge list.
class FieldReader {
  public:
    explicit FieldReader(std::string_view text) : text(text) {}
    bool AtEnd() const { return done; }
    std::string_view Next() {
        const auto at = text.find('/', pos);
        std::string_view field;
        if (at == std::string_view::npos) {
            field = text.substr(pos);
            done = true;
        } else {
            field = text.substr(pos, at - pos);
            pos = at + 1;
        }
        return field;
    }

  private:
    std::string_view text;
    std::size_t pos = 0;
    bool done = false;
};

// The fields of text, failing when there are more than limit of them.
std::vector<std::string_view> BoundedFields(std::string_view text, std::size_t limit, const char* what) {
    std::vector<std::string_view> fields;
    FieldReader reader(text);
    while (!reader.AtEnd()) {
        if (fields.size() == limit)
            throw RunTimeError(std::string(what) + ": more fields than the list holds");
        fields.push_back(reader.Next());
    }
    return fields;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The colour of a room object's suffix, "&h00" followed by the six digits read as a number.
std::uint32_t SuffixColour(std::string_view name) {
    if (name.size() < kColourSuffixLength) throw RunTimeError("room object name shorter than its colour");
    std::uint32_t colour = 0;
    for (char c : name.substr(name.size() - kColourSuffixLength)) {
        const int digit = HexDigit(c);
        if (digit < 0) throw RunTimeError("room object colour is not hexadecimal");
        colour = colour * 16 + std::uint32_t(digit);
    }
    return colour;
}
} // namespace

int PictureNumber(std::string_view field) {
    const auto number = WholeNumber(field);
    return number ? *number : 0;
}

std::string DoubleAmpersands(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        out += c;
        if (c == '&') out += '&';
    }
    return out;
}

std::string SingleAmpersands(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == '&' && i + 1 < text.size() && text[i + 1] == '&') ++i;
    }
    return out;
}

std::vector<RoomObject> ParseRoomObjects(std::string_view value) {
    std::vector<RoomObject> objects;
    if (value.empty()) return objects;
    const std::string doubled = DoubleAmpersands(value);
    std::unordered_map<std::string_view, std::size_t> seen; // name -> entry; the names live in doubled
    FieldReader reader(doubled);
    while (!reader.AtEnd()) {
        const std::string_view name = reader.Next();
        if (reader.AtEnd()) break; // a last field without its partner
        const std::string_view picture = reader.Next();
        if (const auto found = seen.find(name); found != seen.end()) {
            ++objects[found->second].Count;
            continue;
        }
        if (objects.size() == kRoomObjectEntries) break;
        SuffixColour(name); // a name must carry its colour
        seen.emplace(name, objects.size());
        objects.push_back({std::string(name), 1, PictureNumber(picture)});
    }
    for (RoomObject& o : objects) {
        if (o.Count == 1) continue;
        const std::size_t cut = o.Name.size() - kColourSuffixLength;
        o.Name = o.Name.substr(0, cut) + " (" + std::to_string(o.Count) + ")" + o.Name.substr(cut);
    }
    return objects;
}

std::optional<RoomObjectSlot> RoomSlot(const std::vector<RoomObject>& objects, std::size_t entry) {
    if (entry >= objects.size() || objects[entry].Name.empty()) return std::nullopt;
    const RoomObject& o = objects[entry];
    RoomObjectSlot slot;
    slot.Caption = o.Name.substr(0, o.Name.size() - kColourSuffixLength);
    slot.Shown = SingleAmpersands(slot.Caption);
    slot.Colour = SuffixColour(o.Name);
    slot.Picture = o.Picture;
    return slot;
}

std::vector<InventoryItem> ParseInventory(std::string_view value) {
    std::vector<InventoryItem> items;
    if (value.empty()) return items;
    // Pairs and the closing empty field: 2 * slots + 1 fields at most.
    const auto fields = BoundedFields(value, 2 * kInventorySlots + 1, "Inventory");
    if (fields.size() % 2 == 0 || fields.size() < 3)
        throw RunTimeError("Inventory: the list does not end in pairs");
    for (std::size_t p = 0; p + 1 < fields.size(); p += 2)
        items.push_back({std::string(fields[p]), PictureNumber(fields[p + 1])});
    return items;
}

std::vector<std::string> ParseCommandList(std::string_view value) {
    std::vector<std::string> list;
    for (std::string_view f : BoundedFields(value, kCommandEntries, "MainCommands"))
        list.push_back(DoubleAmpersands(f));
    return list;
}

std::vector<std::string> ParseSpellList(std::string_view value) {
    std::vector<std::string> list;
    for (std::string_view f : BoundedFields(value, kSpellEntries, "SL"))
        list.emplace_back(f);
    return list;
}

EquipmentChange ParseEquipment(std::string_view value) {
    FieldReader reader(value);
    const auto slot = WholeNumber(reader.Next());
    if (!slot || *slot < 0 || std::size_t(*slot) >= kEquipmentSlots)
        throw RunTimeError("Equipment: no such slot");
    EquipmentChange change;
    change.Slot = std::size_t(*slot);
    if (reader.AtEnd()) return change;
    change.Name = std::string(reader.Next());
    if (reader.AtEnd()) throw RunTimeError("Equipment: an item without its picture");
    change.Picture = std::string(reader.Next());
    return change;
}

EquipmentList ParseOtherEquipment(std::string_view value) {
    EquipmentList list;
    FieldReader reader(value);
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (reader.AtEnd()) throw RunTimeError("OtherEquipment: fewer than 13 pairs");
        const std::string_view field = reader.Next();
        list[i / 2 + (i % 2) * kEquipmentSlots] = std::string(field);
    }
    return list;
}

void Bindings::BindAction(bool left, int action) {
    if (action < 0 || std::size_t(action) >= kMouseActions) return;
    (left ? LeftAction : RightAction) = action;
    (left ? SelectedSpellR : SelectedSpellB).clear();
    int& other = left ? RightAction : LeftAction;
    if (other == action) other = -1;
}

void Bindings::BindSpell(bool left, const std::string& spell) {
    (left ? SelectedSpellR : SelectedSpellB) = spell;
    (left ? LeftAction : RightAction) = -1;
}

std::string ObjectClickName(std::string_view caption) {
    std::string name = SingleAmpersands(caption);
    const auto at = name.find(" (");
    if (at != std::string::npos && at >= 1) name.resize(at);
    return name;
}

std::optional<std::string> RoomObjectCommand(std::string_view caption, const Bindings& b, bool left) {
    const std::string name = ObjectClickName(caption);
    if (name.empty()) return std::nullopt;
    switch (b.Action(left)) {
    case 0:
        return "/a " + name;
    case 1:
        return "/l " + name;
    case 2:
    case 4:
        return "/get " + name;
    default:
        break;
    }
    if (!b.Spell(left).empty()) return "/cast " + b.Spell(left) + "/" + name;
    return std::nullopt;
}

std::optional<std::string> InventoryCommand(const std::string& name, const Bindings& b, bool left) {
    switch (b.Action(left)) {
    case 1:
        return "/l " + name;
    case 3:
        return "/drop " + name;
    case 4:
        return "/use " + name;
    case 5:
        return "/equip " + name;
    default:
        return std::nullopt;
    }
}

std::optional<std::string> EquipmentCommand(const std::string& item, const Bindings& b, bool left) {
    switch (b.Action(left)) {
    case 6:
        return "/unequip " + item;
    case 1:
        return "/l " + item;
    default:
        return std::nullopt;
    }
}

CommandClick CommandButtonClick(std::string_view caption) {
    if (caption == "Look Around") return {CommandClick::LookAround, "GeneralChat"};
    if (caption.size() >= 4 && caption.substr(caption.size() - 4) == "Gold")
        return {CommandClick::GoldDialog, SingleAmpersands(caption)};
    return {CommandClick::Send, "BuySellButton" + SingleAmpersands(caption)};
}

} // namespace gr
