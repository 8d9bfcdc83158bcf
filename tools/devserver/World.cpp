#include "devserver/World.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

namespace gr::dev {

namespace {

constexpr int kNoExit = -1;

struct RoomData {
    std::string_view Title;
    // Markup lines after the title. Each starts with "{s8{{": size 8 is raised to the player's own text
    // size, which undoes the title's larger size (sizes carry over to later lines).
    std::array<std::string_view, 2> Lines;
    std::array<int, kDirectionCount> Exits; // north, east, south, west, up, down
};

// Colours are blue-green-red: "c0c0c0" grey, "80ffff" pale yellow, "0080ff" amber, "ff8888" light blue.
// Addresses stand between spaces so that the text window draws them as links.
constexpr std::array<RoomData, 5> kRooms = {{
    {"Lamplit Square",
     {"{s8{{c0c0c0{Lanterns of {0080ff{amber glass{c0c0c0{ hang from iron posts around a cobbled square. "
      "The notice board says the town news is at http://127.0.0.1:8080/ for all to read.",
      "{c0c0c0{Above the fountain hangs {rc{a painted rainbow that never fades{rc{, and the water glitters "
      "{ffff00{turquoise{c0c0c0{ in the lamplight."},
     {1, 2, kNoExit, kNoExit, kNoExit, 3}},
    {"The Old Library",
     {"{s8{{c0c0c0{Shelves of {ff8888{blue-bound books{c0c0c0{ climb into the dark. A brass plate reads: "
      "catalogue at http://127.0.0.1:8080/library/ (ask the librarian).",
      "{c0c0c0{A {i{sleeping cat{i{ guards the reading desk. A card on its basket says {u{do not wake{u{."},
     {kNoExit, kNoExit, 0, kNoExit, 4, kNoExit}},
    {"Harbour Steps",
     {"{s8{{c0c0c0{Stone steps run down to {408000{dark green water{c0c0c0{ where small boats knock "
      "together. Gulls argue over a {00c0ff{golden{c0c0c0{ fish head.",
      "{c0c0c0{A tide table is pinned to a post: see http://127.0.0.1:8080/tides/ for today's tides."},
     {kNoExit, kNoExit, kNoExit, 0, kNoExit, kNoExit}},
    {"The Cellar Tavern",
     {"{s8{{c0c0c0{Low beams, warm air and the smell of {0060c0{spiced cider{c0c0c0{. A fiddler plays a "
      "tune that seems to change colour: {rc{la la la lee{rc{.",
      "{c0c0c0{Chalked on the slate: {00ff00{cider 2 silver{c0c0c0{, {00ffff{stew 3 silver{c0c0c0{, "
      "a song for free."},
     {kNoExit, kNoExit, kNoExit, kNoExit, 0, kNoExit}},
    {"The Bell Tower",
     {"{s8{{c0c0c0{Wind whistles through the belfry. The great bronze bell is cold and {0000ff{silent"
      "{c0c0c0{.",
      "{c0c0c0{Far below, the lamps of the town make {rc{a ring of tiny stars{rc{ around the square."},
     {kNoExit, kNoExit, kNoExit, kNoExit, kNoExit, 1}},
}};

// The music of each room's area, a piece the web host serves: walking between rooms of one area keeps the
// piece playing. The bell tower stands over the library and shares its music.
constexpr std::array<std::string_view, kRooms.size()> kRoomMusic = {"town", "library", "town", "tavern",
                                                                    "library"};

// Ways through a door, both directions of each: the library's door on the square and the tavern's cellar
// door. Walking through one sounds a knock.
struct DoorData {
    int Room = 0;
    Direction Way = Direction::North;
};
constexpr std::array<DoorData, 4> kDoors = {{
    {0, Direction::North},
    {1, Direction::South},
    {0, Direction::Down},
    {3, Direction::Up},
}};

constexpr std::array<std::string_view, kDirectionCount> kDirectionNames = {"north", "east", "south",
                                                                           "west",  "up",   "down"};
constexpr std::array<std::string_view, kDirectionCount> kLeaving = {"north", "east",    "south",
                                                                    "west",  "upwards", "downwards"};
// Where someone who walked in that direction comes from, as seen in the room they reach.
constexpr std::array<std::string_view, kDirectionCount> kArriving = {"the south", "the west", "the north",
                                                                     "the east",  "below",    "above"};

constexpr std::string_view kTitleTags = "{s12{{80ffff{";
constexpr std::string_view kGrey = "{c0c0c0{";
constexpr std::string_view kNotice = "{00c000{"; // short answers to the player, in the client's own green
constexpr std::string_view kSpeech = "{ffff80{";
constexpr std::string_view kPage = "{ff80ff{";

std::optional<Direction> DirectionOf(std::string_view message) {
    constexpr std::array<std::string_view, kDirectionCount> kMessages = {"Dirnn", "Diree", "Dirss",
                                                                         "Dirww", "Diruu", "Dirdd"};
    for (int i = 0; i < kDirectionCount; ++i) {
        if (message == kMessages[std::size_t(i)]) return Direction(i);
    }
    return std::nullopt;
}

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool SameNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

std::string_view TrimSpaces(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Splits "word rest" at the first space; the rest loses its leading spaces.
std::pair<std::string_view, std::string_view> FirstWord(std::string_view text) {
    text = TrimSpaces(text);
    const std::size_t space = text.find(' ');
    if (space == std::string_view::npos) return {text, {}};
    return {text.substr(0, space), TrimSpaces(text.substr(space))};
}

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

std::string Cat(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (const std::string_view part : parts)
        text += part;
    return text;
}

// What lies about: things to pick up, wear, eat or drink, coins, and creatures. Names are what the client
// shows and sends back; the colour is six hex digits in blue-green-red order, sent after the name.
enum class Kind { Item, Coin, Food, Creature, Pet };

struct ThingData {
    std::string_view Name;
    std::string_view Colour;
    int Picture = 0; // 1000 to 4000: "/grpics/N.jpg" on the web host
    Kind Type = Kind::Item;
    std::string_view Description;
    int Slot = -1;   // equipment slot, -1 when it cannot be worn
    int Armour = 0;  // worn armour
    int Attack = 0;  // worn weapon's bonus
    int Hp = 0;      // food: hit points restored; creature: its hit points
    int Magic = 0;   // food: magic restored
    int Stamina = 0; // food: stamina restored
    int Value = 0;   // coin: gold; creature: gold dropped
    int Strike = 0;  // creature: damage when it strikes back
    int Xp = 0;      // creature: experience when it falls
};

enum ThingId {
    GoldCoin,
    BrassLantern,
    OldMap,
    LeatherBoots,
    SleepingCat,
    Candle,
    IronHelm,
    BlueTonic,
    Gull,
    FishingNet,
    Rope,
    WoodenShield,
    Bread,
    HealingDraught,
    SilverRing,
    LeatherArmour,
    WoolCloak,
    GreyRat,
    Cider,
    Stew,
    Bat,
    IronSword,
    ThingCount
};

constexpr std::array<ThingData, ThingCount> kThings = {{
    {"gold coin", "00d7ff", 1001, Kind::Coin, "A worn gold coin.", -1, 0, 0, 0, 0, 0, 5, 0, 0},
    {"brass lantern", "00c0ff", 1010, Kind::Item, "A brass lantern with amber glass.", -1, 0, 0, 0, 0, 0, 0,
     0, 0},
    {"old map", "80c0e0", 1020, Kind::Item, "A map of the town, soft with age.", -1, 0, 0, 0, 0, 0, 0, 0, 0},
    {"leather boots", "2060a0", 1260, Kind::Item, "Sturdy boots.", 5, 1, 0, 0, 0, 0, 0, 0, 0},
    {"sleeping cat", "c0c0c0", 2030, Kind::Pet, "A grey cat, fast asleep and purring.", -1, 0, 0, 0, 0, 0, 0,
     0, 0},
    {"candle", "e0ffff", 1430, Kind::Item, "A stub of white candle.", -1, 0, 0, 0, 0, 0, 0, 0, 0},
    {"iron helm", "a0a0a0", 1230, Kind::Item, "A dented iron helm.", 2, 2, 0, 0, 0, 0, 0, 0, 0},
    {"blue tonic", "ff8000", 1310, Kind::Food, "A small bottle of blue tonic.", -1, 0, 0, 0, 15, 0, 0, 0, 0},
    {"gull", "ffffff", 2010, Kind::Creature, "A gull with a mean eye.", -1, 0, 0, 6, 0, 0, 1, 1, 6},
    {"fishing net", "80a060", 1410, Kind::Item, "A torn fishing net.", -1, 0, 0, 0, 0, 0, 0, 0, 0},
    {"rope", "4080c0", 1420, Kind::Item, "Ten feet of rope.", -1, 0, 0, 0, 0, 0, 0, 0, 0},
    {"wooden shield", "3070b0", 1220, Kind::Item, "A round wooden shield.", 1, 2, 0, 0, 0, 0, 0, 0, 0},
    {"bread", "60b0e0", 1320, Kind::Food, "A loaf of bread.", -1, 0, 0, 0, 0, 10, 0, 0, 0},
    {"healing draught", "4040ff", 1300, Kind::Food, "A red draught that smells of herbs.", -1, 0, 0, 20, 0, 0,
     0, 0, 0},
    {"silver ring", "e0e0e0", 1240, Kind::Item, "A plain silver ring.", 7, 0, 0, 0, 0, 0, 0, 0, 0},
    {"leather armour", "305080", 1210, Kind::Item, "Armour of boiled leather.", 0, 3, 0, 0, 0, 0, 0, 0, 0},
    {"wool cloak", "606060", 1250, Kind::Item, "A warm grey cloak.", 4, 1, 0, 0, 0, 0, 0, 0, 0},
    {"grey rat", "808080", 2000, Kind::Creature, "A fat grey rat.", -1, 0, 0, 10, 0, 0, 2, 2, 10},
    {"cider", "00a0e0", 1330, Kind::Food, "A mug of spiced cider.", -1, 0, 0, 2, 0, 5, 0, 0, 0},
    {"stew", "0060a0", 1340, Kind::Food, "A bowl of hot stew.", -1, 0, 0, 5, 0, 15, 0, 0, 0},
    {"bat", "404040", 2020, Kind::Creature, "A small brown bat.", -1, 0, 0, 5, 0, 0, 0, 1, 5},
    {"iron sword", "c0c0c0", 1200, Kind::Item, "A short iron sword.", 3, 0, 3, 0, 0, 0, 0, 0, 0},
}};

// What each room holds at the start; creatures come back when someone walks into an empty room.
const std::array<std::vector<int>, 5> kRoomStart = {{
    {GoldCoin, GoldCoin, GoldCoin, BrassLantern, OldMap, LeatherBoots},
    {SleepingCat, Candle, IronHelm, BlueTonic},
    {Gull, Gull, FishingNet, Rope, WoodenShield, Bread, GoldCoin, HealingDraught, SilverRing, LeatherArmour,
     WoolCloak},
    {GreyRat, GreyRat, Cider, Stew},
    {Bat, Bat, Bat, IronSword, Rope},
}};

// The main command buttons of each room. "Look Around" and captions ending in "Gold" the client handles
// itself; every other caption comes back as "BuySellButton" + caption.
const std::array<std::vector<std::string_view>, 5> kRoomCommands = {{
    {"Look Around", "Deposit Gold", "Withdraw Gold"},
    {"Look Around"},
    {"Look Around"},
    {"Look Around", "Buy Cider", "Buy Stew", "Buy Bread", "Buy Healing Draught", "Buy Blue Tonic",
     "Tip The Fiddler"},
    {"Look Around", "Ring The Bell"},
}};
constexpr int kSquareRoom = 0;
constexpr int kBankRoom = kSquareRoom;
constexpr int kBellRoom = 4;
constexpr std::string_view kRingTheBell = "Ring The Bell";

struct Ware {
    std::string_view Caption;
    int Thing = -1; // -1: nothing to carry away
    int Price = 0;
};
constexpr std::array<Ware, 6> kWares = {{
    {"Buy Cider", Cider, 2},
    {"Buy Stew", Stew, 3},
    {"Buy Bread", Bread, 1},
    {"Buy Healing Draught", HealingDraught, 10},
    {"Buy Blue Tonic", BlueTonic, 10},
    {"Tip The Fiddler", -1, 1},
}};

enum class Effect { Damage, Heal, Refresh, Show };
struct SpellData {
    std::string_view Name;
    int Cost = 0;
    Effect What = Effect::Show;
    int Amount = 0;
    std::string_view Text; // for spells that only show something
};
constexpr std::array<SpellData, 10> kSpells = {{
    {"Spark", 3, Effect::Damage, 6, ""},
    {"Heal", 5, Effect::Heal, 15, ""},
    {"Frost Needle", 4, Effect::Damage, 8, ""},
    {"Lantern Light", 1, Effect::Show, 0, "A soft light gathers in your palm."},
    {"Mend", 2, Effect::Heal, 5, ""},
    {"Second Wind", 4, Effect::Refresh, 10, ""},
    {"Ember", 6, Effect::Damage, 12, ""},
    {"Calm", 2, Effect::Show, 0, "A hush settles around you."},
    {"Far Sight", 3, Effect::Show, 0, "For a moment you see the whole town from above."},
    {"Warding", 5, Effect::Show, 0, "A faint blue shimmer surrounds you."},
}};

const ThingData& ThingAt(int thing) {
    return kThings.at(std::size_t(thing));
}

// The character's starting inventory and equipment.
constexpr std::array<int, 4> kStartInventory = {Bread, HealingDraught, BlueTonic, IronSword};
constexpr std::array<std::pair<int, int>, 2> kStartEquipment = {{{0, LeatherArmour}, {4, WoolCloak}}};
// The free value shown in the status panel's last row.
constexpr std::string_view kTitle = "Lamplighter";

const RoomData& RoomAt(int room) {
    return kRooms.at(std::size_t(room));
}

// "/" ends every field of the panel lists; numbers as decimal text.
std::string Field(std::string_view text) {
    return Cat({text, "/"});
}
std::string Num(std::int64_t n) {
    return std::to_string(n);
}
std::string Pair(std::int64_t current, std::int64_t maximum) {
    return Cat({Num(current), "/", Num(maximum)});
}
// The part of a level done, as a decimal fraction with up to four places ("0.4567", "0", "1.2").
std::string FractionText(std::int64_t part, std::int64_t whole) {
    if (whole <= 0 || part <= 0) return "0";
    const std::int64_t tenThousandths = part >= whole * 100 ? 1000000 : part * 10000 / whole;
    std::string text = Num(tenThousandths / 10000);
    std::string places = Num(10000 + tenThousandths % 10000).substr(1);
    while (!places.empty() && places.back() == '0')
        places.pop_back();
    if (!places.empty()) text += "." + places;
    return text;
}

// The amount of gold a player typed: digits only, at most nine of them.
std::optional<std::int64_t> AmountOf(std::string_view text) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    std::int64_t n = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + (c - '0');
    }
    return n;
}

} // namespace

std::string PlainText(std::string_view text) {
    std::string kept;
    for (const char c : text) {
        if (kept.size() == kMaxSpokenBytes) break;
        if (c == '{' || c == '}' || static_cast<unsigned char>(c) < 0x20) continue;
        kept += c;
    }
    // Neither replacement can make the other sequence.
    ReplaceAll(kept, "%$", "% $");
    ReplaceAll(kept, "&SY", "& SY");
    return kept;
}

// Gathers messages per session, keeping each session's order.
class World::Outbox {
  public:
    void To(int session, std::string message) {
        for (Delivery& delivery : List) {
            if (delivery.Session == session) {
                delivery.Messages.push_back(std::move(message));
                return;
            }
        }
        List.push_back({session, {std::move(message)}});
    }
    // A "TMD" line; `markup` starts with a tag, since piece 0 is never shown.
    void Line(int session, std::string_view markup) { To(session, Cat({"TMD", markup})); }
    Deliveries Take() { return std::move(List); }

  private:
    Deliveries List;
};

World::World() {
    for (const std::vector<int>& start : kRoomStart) {
        std::vector<RoomThing>& things = Rooms.emplace_back();
        for (const int thing : start)
            things.push_back({thing, ThingAt(thing).Hp});
    }
}

int World::RoomCount() {
    return int(kRooms.size());
}

std::string_view World::RoomTitle(int room) {
    return RoomAt(room).Title;
}

int World::ExitFrom(int room, Direction direction) {
    return RoomAt(room).Exits.at(std::size_t(direction));
}

std::string_view World::MusicOf(int room) {
    return kRoomMusic.at(std::size_t(room));
}

bool World::IsDoor(int room, Direction direction) {
    return std::any_of(kDoors.begin(), kDoors.end(),
                       [&](const DoorData& door) { return door.Room == room && door.Way == direction; });
}

int World::RoomOf(int session) const {
    const Player* player = find(session);
    return player ? player->Room : -1;
}

const World::Player* World::find(int session) const {
    const auto it = std::find_if(Players.begin(), Players.end(),
                                 [session](const Player& p) { return p.Session == session; });
    return it == Players.end() ? nullptr : &*it;
}

World::Player* World::find(int session) {
    return const_cast<Player*>(std::as_const(*this).find(session));
}

const World::Player* World::findByName(std::string_view name) const {
    const auto it = std::find_if(Players.begin(), Players.end(),
                                 [name](const Player& p) { return SameNoCase(p.Name, name); });
    return it == Players.end() ? nullptr : &*it;
}

Deliveries World::Enter(int session, std::string_view name, std::string_view address) {
    Outbox out;
    leave(out, session);
    Player& player = Players.emplace_back(Player{session, std::string(name), 0, {}, std::string(address)});
    Character& self = player.Self;
    self.Inventory.assign(kStartInventory.begin(), kStartInventory.end());
    self.Equipped.fill(-1);
    for (const auto& [slot, thing] : kStartEquipment)
        self.Equipped[std::size_t(slot)] = thing;
    const std::string shown = PlainText(name);
    out.Line(session, Cat({"{00ffff{Welcome to Gloamrest, ", shown, "!"}));
    out.Line(session, Cat({kGrey, "Walk with n, e, s, w, u and d. Type to talk; /who lists the players, "
                                  "/p name text pages one."}));
    describeRoom(out, player);
    sendPanels(out, player);
    // Every row of the status panel that one field can fill; sendStatus then sets the bars and separators.
    for (std::size_t i = 0; i < self.Stats.size(); ++i)
        out.To(session, Cat({"StChg", Num(std::int64_t(i)), "/", Num(self.Stats[i])}));
    const std::int64_t rows[] = {self.Level, ArmourOf(self), self.Gold, self.Bank, self.Xp};
    for (std::size_t i = 0; i < std::size(rows); ++i)
        out.To(session, Cat({"StChg", Num(std::int64_t(6 + i)), "/", Num(rows[i])}));
    // Rows 11 to 13 show "current/maximum", which one "StChg" field cannot hold: their own messages set them.
    out.To(session, Cat({"StChg14/", kTitle}));
    sendStatus(out, player);
    out.To(session, Cat({"Music", MusicOf(player.Room)}));
    tellRoom(out, player.Room, session, Cat({kGrey, shown, " has entered the game."}));
    return out.Take();
}

Deliveries World::Leave(int session) {
    Outbox out;
    leave(out, session);
    return out.Take();
}

void World::leave(Outbox& out, int session) {
    const Player* player = find(session);
    if (!player) return;
    const Player gone = *player;
    Players.erase(Players.begin() + (player - Players.data()));
    std::erase_if(Monitoring, [session](const MonitorRequest& r) {
        return r.Target == session || r.Requester == session;
    });
    tellRoom(out, gone.Room, session, Cat({kGrey, PlainText(gone.Name), " has left the game."}));
}

Deliveries World::Handle(int session, std::string_view message) {
    Player* player = find(session);
    if (!player) return {};
    Outbox out;
    if (message == "PING") {
        out.To(session, "PING");
    } else if (const std::optional<Direction> direction = DirectionOf(message)) {
        walk(out, *player, *direction);
    } else if (message.starts_with("GeneralChat")) {
        chat(out, *player, message.substr(11));
    } else if (message.starts_with("/")) {
        command(out, *player, message);
    } else if (message.starts_with("Monitor")) {
        monitorAnswer(out, *player, message.substr(7));
    } else if (message.starts_with("BuySellButton")) {
        trade(out, *player, message.substr(13));
    } else if (message == "MusicOn") {
        // The player switched music on: the piece of the area they are in.
        out.To(session, Cat({"Music", MusicOf(player->Room)}));
    }
    // "ImStillOn" (every 20 s), "Update0" and "Update1" (answers to "KBA"), "MachineID..." and anything
    // else need nothing.
    return out.Take();
}

Deliveries World::KeepAlive() const {
    Outbox out;
    for (const Player& player : Players)
        out.To(player.Session, "KBA");
    return out.Take();
}

void World::describeRoom(Outbox& out, const Player& player) const {
    const RoomData& room = RoomAt(player.Room);
    out.Line(player.Session, Cat({kTitleTags, room.Title}));
    for (const std::string_view line : room.Lines)
        out.Line(player.Session, line);
    std::string exits;
    for (int i = 0; i < kDirectionCount; ++i) {
        if (room.Exits[std::size_t(i)] == kNoExit) continue;
        exits += Cat({exits.empty() ? "" : ", ", kDirectionNames[std::size_t(i)]});
    }
    out.Line(player.Session, Cat({kNotice, "Exits: ", exits, "."}));
    std::string others;
    for (const Player& other : Players) {
        if (other.Room != player.Room || other.Session == player.Session) continue;
        others += Cat({others.empty() ? "" : ", ", PlainText(other.Name)});
    }
    if (!others.empty()) out.Line(player.Session, Cat({"{ff8888{Also here: ", others, "."}));
}

void World::tellRoom(Outbox& out, int room, int except, const std::string& line) const {
    for (const Player& other : Players) {
        if (other.Room == room && other.Session != except) out.Line(other.Session, line);
    }
}

void World::walk(Outbox& out, Player& player, Direction direction) {
    const int to = ExitFrom(player.Room, direction);
    if (to == kNoExit) {
        out.Line(player.Session, Cat({kNotice, "You can't go that way."}));
        return;
    }
    const std::string shown = PlainText(player.Name);
    const auto index = std::size_t(direction);
    tellRoom(out, player.Room, player.Session, Cat({kGrey, shown, " leaves ", kLeaving[index], "."}));
    const int from = player.Room;
    player.Room = to;
    // Nobody here: the creatures that fell have come back.
    const bool empty = std::none_of(Players.begin(), Players.end(), [&](const Player& other) {
        return other.Room == to && other.Session != player.Session;
    });
    if (empty) {
        std::vector<RoomThing>& things = Rooms.at(std::size_t(to));
        std::erase_if(things, [](const RoomThing& t) { return ThingAt(t.Thing).Type == Kind::Creature; });
        for (const int thing : kRoomStart.at(std::size_t(to))) {
            if (ThingAt(thing).Type == Kind::Creature && things.size() < kMaxRoomObjects)
                things.push_back({thing, ThingAt(thing).Hp});
        }
    }
    tellRoom(out, player.Room, player.Session, Cat({kGrey, shown, " arrives from ", kArriving[index], "."}));
    describeRoom(out, player);
    sendPanels(out, player);
    sendStatus(out, player);
    if (IsDoor(from, direction)) out.To(player.Session, "Sounddoor");
    if (MusicOf(to) != MusicOf(from)) out.To(player.Session, Cat({"Music", MusicOf(to)}));
}

void World::chat(Outbox& out, const Player& player, std::string_view text) const {
    const std::string said = PlainText(text);
    if (TrimSpaces(said).empty()) {
        // Enter on an empty line, and the "Look Around" button, send "GeneralChat" alone: look around.
        look(out, player, {});
        return;
    }
    const std::string line = Cat({kSpeech, PlainText(player.Name), " says, \"", said, "\""});
    for (const Player& listener : Players)
        out.Line(listener.Session, line);
}

void World::command(Outbox& out, Player& player, std::string_view line) {
    const auto [word, rest] = FirstWord(line);
    if (SameNoCase(word, "/who")) {
        who(out, player);
    } else if (SameNoCase(word, "/p")) {
        page(out, player, rest);
    } else if (SameNoCase(word, "/voicechat")) {
        voiceChat(out, player, rest);
    } else if (SameNoCase(word, "/monitor")) {
        monitor(out, player, rest);
    } else if (SameNoCase(word, "/textsize")) {
        // The client sets its text size itself and sends the line on as well: nothing to answer.
    } else if (SameNoCase(word, "/l") || SameNoCase(word, "/look")) {
        look(out, player, rest);
    } else if (rest.empty() &&
               (SameNoCase(word, "/get") || SameNoCase(word, "/drop") || SameNoCase(word, "/a") ||
                SameNoCase(word, "/use") || SameNoCase(word, "/equip") || SameNoCase(word, "/unequip"))) {
        out.Line(player.Session, Cat({kNotice, "Which one? Click it, or type its name after ", word, "."}));
    } else if (SameNoCase(word, "/get")) {
        get(out, player, rest);
    } else if (SameNoCase(word, "/drop")) {
        drop(out, player, rest);
    } else if (SameNoCase(word, "/a")) {
        attack(out, player, rest);
    } else if (SameNoCase(word, "/use")) {
        use(out, player, rest);
    } else if (SameNoCase(word, "/equip")) {
        equip(out, player, rest);
    } else if (SameNoCase(word, "/unequip")) {
        unequip(out, player, rest);
    } else if (SameNoCase(word, "/cast")) {
        cast(out, player, rest);
    } else if (SameNoCase(word, "/deposit")) {
        bank(out, player, rest, true);
    } else if (SameNoCase(word, "/withdraw")) {
        bank(out, player, rest, false);
    } else {
        out.Line(player.Session, Cat({kNotice, "Unknown command."}));
    }
}

void World::who(Outbox& out, const Player& player) const {
    out.Line(player.Session, Cat({"{80ffff{Players in the game: ", std::to_string(Players.size())}));
    for (const Player& other : Players) {
        out.Line(player.Session,
                 Cat({"{ffffff{", PlainText(other.Name), kGrey, " - ", RoomAt(other.Room).Title}));
    }
}

void World::voiceChat(Outbox& out, const Player& player, std::string_view name) const {
    const Player* target = findByName(TrimSpaces(name));
    if (!target) {
        out.Line(player.Session, Cat({kNotice, "Nobody called ", PlainText(name), " is playing."}));
        return;
    }
    if (target->Session == player.Session) {
        out.Line(player.Session, Cat({kNotice, "You can't voicechat with yourself."}));
        return;
    }
    if (player.Address.empty()) {
        out.Line(player.Session, Cat({kNotice, "Voicechat is not possible from where you connect."}));
        return;
    }
    out.To(target->Session, Cat({"VoiceChat", player.Name, "/", player.Address}));
    out.Line(player.Session, Cat({kNotice, "Asking ", PlainText(target->Name), " for a voicechat."}));
}

void World::page(Outbox& out, const Player& player, std::string_view rest) const {
    const auto [name, text] = FirstWord(rest);
    const std::string said = PlainText(text);
    if (name.empty() || TrimSpaces(said).empty()) {
        out.Line(player.Session, Cat({kNotice, "Page whom, and what? Type /p name text."}));
        return;
    }
    const Player* target = findByName(name);
    if (!target) {
        out.Line(player.Session, Cat({kNotice, "Nobody called ", PlainText(name), " is playing."}));
        return;
    }
    out.Line(player.Session, Cat({kPage, "You page ", PlainText(target->Name), ", \"", said, "\""}));
    out.Line(target->Session, Cat({kPage, PlainText(player.Name), " pages you, \"", said, "\""}));
    // Names are field-safe (the account store sees to that), so the client's "/r " shortcut gets it whole.
    out.To(target->Session, "PageReply" + player.Name);
    out.To(target->Session, "Soundpagerecieve");
}

void World::monitor(Outbox& out, const Player& player, std::string_view rest) {
    const std::string_view name = FirstWord(rest).first;
    if (name.empty()) {
        out.Line(player.Session, Cat({kNotice, "Monitor whom? Type /monitor name."}));
        return;
    }
    const Player* target = findByName(name);
    if (!target) {
        out.Line(player.Session, Cat({kNotice, "Nobody called ", PlainText(name), " is playing."}));
        return;
    }
    // One request per pair at a time: repeating the command before the answer asks nothing new, and the
    // list stays bounded by the players in the game.
    const bool asked = std::any_of(Monitoring.begin(), Monitoring.end(), [&](const MonitorRequest& r) {
        return r.Target == target->Session && r.Requester == player.Session;
    });
    if (!asked) {
        Monitoring.push_back({target->Session, player.Session, player.Name});
        out.To(target->Session, "Monitor" + player.Name);
    }
    out.Line(player.Session, Cat({kNotice, "Asking ", PlainText(target->Name), " for their recent input."}));
}

void World::monitorAnswer(Outbox& out, const Player& player, std::string_view value) {
    // requester "/" then 15 input lines, each followed by "NLC". Only an answer to a request this world
    // sent is shown, so no client can put text into another player's window this way.
    const std::size_t slash = value.find('/');
    if (slash == std::string_view::npos) return;
    const std::string_view requester = value.substr(0, slash);
    const auto it = std::find_if(Monitoring.begin(), Monitoring.end(), [&](const MonitorRequest& r) {
        return r.Target == player.Session && r.RequesterName == requester;
    });
    if (it == Monitoring.end()) return;
    const int to = it->Requester;
    Monitoring.erase(it);

    out.Line(to, Cat({kSpeech, "Recent input of ", PlainText(player.Name), ":"}));
    std::size_t shown = 0;
    std::string_view entries = value.substr(slash + 1);
    while (!entries.empty() && shown < kMaxMonitorLines) {
        const std::size_t end = entries.find("NLC");
        const std::string_view entry = entries.substr(0, end);
        entries = end == std::string_view::npos ? std::string_view() : entries.substr(end + 3);
        const std::string text = PlainText(entry);
        if (TrimSpaces(text).empty()) continue;
        out.Line(to, Cat({kGrey, "  ", text}));
        ++shown;
    }
    if (shown == 0) out.Line(to, Cat({kGrey, "  (nothing typed yet)"}));
}

int World::ArmourOf(const Character& self) {
    int armour = 0;
    for (const int thing : self.Equipped) {
        if (thing >= 0) armour += ThingAt(thing).Armour;
    }
    return armour;
}

void World::sendPanels(Outbox& out, const Player& player) const {
    const int session = player.Session;
    const Character& self = player.Self;
    out.To(session, RoomObjects(player.Room));
    sendInventory(out, player);
    std::string all = "OtherEquipment";
    for (int slot = 0; slot < kEquipmentSlots; ++slot) {
        const int thing = self.Equipped[std::size_t(slot)];
        all += slot == 0 ? "" : "/";
        if (thing >= 0)
            all += Cat({ThingAt(thing).Name, "/", Num(ThingAt(thing).Picture)});
        else
            all += "/";
    }
    out.To(session, all);
    // The four slots the game window shows itself: armour, shield, helmet, weapon.
    for (int slot = 0; slot < 4; ++slot) {
        const int thing = self.Equipped[std::size_t(slot)];
        out.To(session, thing < 0 ? Cat({"Equipment", Num(slot)})
                                  : Cat({"Equipment", Num(slot), "/", ThingAt(thing).Name, "/",
                                         Num(ThingAt(thing).Picture)}));
    }
    std::string commands = "MainCommands";
    for (const std::string_view caption : kRoomCommands.at(std::size_t(player.Room)))
        commands += Field(caption);
    out.To(session, commands);
    std::string spells = "SL";
    for (const SpellData& spell : kSpells)
        spells += Field(spell.Name);
    out.To(session, spells);
}

void World::sendStatus(Outbox& out, const Player& player) const {
    const int session = player.Session;
    const Character& self = player.Self;
    out.To(session, Cat({"HPChange", Pair(self.Hp, self.HpMax)}));
    out.To(session, Cat({"MGChange", Pair(self.Magic, self.MagicMax)}));
    out.To(session, Cat({"Stamina", Pair(self.Stamina, self.StaminaMax)}));
    out.To(session,
           Cat({"XPChange", Pair(self.Xp, self.XpTarget), "/", FractionText(self.Xp, self.XpTarget)}));
    out.To(session, Cat({"LevelChange", Num(self.Level)}));
    out.To(session, Cat({"GoldChange", Num(self.Gold)}));
    out.To(session, Cat({"BankGoldChange", Num(self.Bank)}));
    out.To(session, Cat({"MainArmorChange", Num(ArmourOf(self))}));
}

void World::sendRoomObjects(Outbox& out, int room) const {
    const std::string objects = RoomObjects(room);
    for (const Player& other : Players) {
        if (other.Room == room) out.To(other.Session, objects);
    }
}

std::string World::RoomObjects(int room) const {
    std::string objects = "PLA";
    for (const RoomThing& t : Rooms.at(std::size_t(room))) {
        const ThingData& thing = ThingAt(t.Thing);
        objects += Field(Cat({thing.Name, thing.Colour}));
        objects += Field(Num(thing.Picture));
    }
    return objects;
}

void World::sendInventory(Outbox& out, const Player& player) const {
    std::string items = "Inventory";
    for (const int thing : player.Self.Inventory)
        items += Cat({Field(ThingAt(thing).Name), Field(Num(ThingAt(thing).Picture))});
    out.To(player.Session, items);
}

int World::findInRoom(const Player& player, std::string_view name) const {
    const std::vector<RoomThing>& things = Rooms.at(std::size_t(player.Room));
    for (std::size_t i = 0; i < things.size(); ++i) {
        if (SameNoCase(ThingAt(things[i].Thing).Name, name)) return int(i);
    }
    return -1;
}

namespace {
// The index of the first thing so named in a list of things, or -1.
template <typename List> int FindThing(const List& list, std::string_view name) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i] >= 0 && SameNoCase(ThingAt(list[i]).Name, name)) return int(i);
    }
    return -1;
}
} // namespace

void World::look(Outbox& out, const Player& player, std::string_view name) const {
    if (name.empty()) {
        describeRoom(out, player);
        out.To(player.Session, RoomObjects(player.Room));
        return;
    }
    const int inRoom = findInRoom(player, name);
    const int carried = FindThing(player.Self.Inventory, name);
    const int worn = FindThing(player.Self.Equipped, name);
    int thing = -1;
    if (inRoom >= 0)
        thing = Rooms.at(std::size_t(player.Room))[std::size_t(inRoom)].Thing;
    else if (carried >= 0)
        thing = player.Self.Inventory[std::size_t(carried)];
    else if (worn >= 0)
        thing = player.Self.Equipped[std::size_t(worn)];
    if (thing < 0) {
        out.Line(player.Session, Cat({kNotice, "You see no ", PlainText(name), " here."}));
        return;
    }
    out.Line(player.Session, Cat({kGrey, ThingAt(thing).Description}));
}

void World::get(Outbox& out, Player& player, std::string_view name) {
    const int index = findInRoom(player, name);
    if (index < 0) {
        out.Line(player.Session, Cat({kNotice, "There is no ", PlainText(name), " here."}));
        return;
    }
    std::vector<RoomThing>& things = Rooms.at(std::size_t(player.Room));
    const int thing = things[std::size_t(index)].Thing;
    const ThingData& data = ThingAt(thing);
    if (data.Type == Kind::Creature || data.Type == Kind::Pet) {
        out.Line(player.Session, Cat({kNotice, "The ", data.Name, " will not be picked up."}));
        return;
    }
    if (data.Type != Kind::Coin && player.Self.Inventory.size() >= kInventorySlots) {
        out.Line(player.Session, Cat({kNotice, "You can't carry any more."}));
        return;
    }
    things.erase(things.begin() + index);
    out.Line(player.Session, Cat({kNotice, "You pick up the ", data.Name, "."}));
    tellRoom(out, player.Room, player.Session,
             Cat({kGrey, PlainText(player.Name), " picks up the ", data.Name, "."}));
    if (data.Type == Kind::Coin) {
        player.Self.Gold += data.Value;
        sendGold(out, player);
    } else {
        player.Self.Inventory.push_back(thing);
        sendInventory(out, player);
    }
    sendRoomObjects(out, player.Room);
}

void World::drop(Outbox& out, Player& player, std::string_view name) {
    const int index = FindThing(player.Self.Inventory, name);
    if (index < 0) {
        out.Line(player.Session, Cat({kNotice, "You don't have ", PlainText(name), "."}));
        return;
    }
    std::vector<RoomThing>& things = Rooms.at(std::size_t(player.Room));
    if (things.size() >= kMaxRoomObjects) {
        out.Line(player.Session, Cat({kNotice, "There is no room to drop anything here."}));
        return;
    }
    const int thing = player.Self.Inventory[std::size_t(index)];
    player.Self.Inventory.erase(player.Self.Inventory.begin() + index);
    things.push_back({thing, ThingAt(thing).Hp});
    out.Line(player.Session, Cat({kNotice, "You drop the ", ThingAt(thing).Name, "."}));
    tellRoom(out, player.Room, player.Session,
             Cat({kGrey, PlainText(player.Name), " drops the ", ThingAt(thing).Name, "."}));
    sendInventory(out, player);
    sendRoomObjects(out, player.Room);
}

void World::attack(Outbox& out, Player& player, std::string_view name) {
    const int index = findInRoom(player, name);
    if (index < 0) {
        out.Line(player.Session, Cat({kNotice, "There is no ", PlainText(name), " here."}));
        return;
    }
    const ThingData& data = ThingAt(Rooms.at(std::size_t(player.Room))[std::size_t(index)].Thing);
    if (data.Type == Kind::Pet) {
        out.Line(player.Session,
                 Cat({kNotice, "The ", data.Name, " opens one eye. You think better of it."}));
        return;
    }
    if (data.Type != Kind::Creature) {
        out.Line(player.Session, Cat({kNotice, "You can't fight the ", data.Name, "."}));
        return;
    }
    constexpr int kAttackStamina = 2;
    Character& self = player.Self;
    if (self.Stamina < kAttackStamina) {
        out.Line(player.Session, Cat({kNotice, "You are too tired to fight."}));
        return;
    }
    self.Stamina -= kAttackStamina;
    const int weapon = self.Equipped[3];
    const int damage = 2 + self.Level + (weapon >= 0 ? ThingAt(weapon).Attack : 0);
    out.To(player.Session, Cat({"Stamina", Pair(self.Stamina, self.StaminaMax)}));
    hurt(out, player, std::size_t(index), damage);
}

void World::hurt(Outbox& out, Player& player, std::size_t index, int damage) {
    std::vector<RoomThing>& things = Rooms.at(std::size_t(player.Room));
    RoomThing& target = things.at(index);
    const ThingData& data = ThingAt(target.Thing);
    Character& self = player.Self;
    target.Hp -= damage;
    out.Line(player.Session, Cat({"{00ffff{", "You hit the ", data.Name, " for ", Num(damage), "."}));
    if (target.Hp > 0) {
        // It strikes back; a character is never beaten below 1 hit point.
        self.Hp = std::max(1, self.Hp - data.Strike);
        out.Line(player.Session,
                 Cat({"{0000ff{", "The ", data.Name, " strikes you for ", Num(data.Strike), "."}));
        out.To(player.Session, Cat({"HPChange", Pair(self.Hp, self.HpMax)}));
        gainXp(out, player, damage);
        return;
    }
    things.erase(things.begin() + std::ptrdiff_t(index));
    out.Line(player.Session, Cat({kNotice, "The ", data.Name, " flees into the shadows."}));
    if (data.Value > 0) {
        self.Gold += data.Value;
        out.Line(player.Session, Cat({kNotice, "You find ", Num(data.Value), " gold."}));
        sendGold(out, player);
    }
    gainXp(out, player, damage + data.Xp);
    sendRoomObjects(out, player.Room);
}

void World::gainXp(Outbox& out, Player& player, std::int64_t xp) {
    Character& self = player.Self;
    self.Xp += xp;
    bool levelled = false;
    while (self.Xp >= self.XpTarget && self.Level < kTopLevel) {
        ++self.Level;
        self.XpTarget *= 2;
        self.HpMax += 5;
        self.MagicMax += 5;
        levelled = true;
    }
    out.To(player.Session,
           Cat({"XPChange", Pair(self.Xp, self.XpTarget), "/", FractionText(self.Xp, self.XpTarget)}));
    if (!levelled) return;
    self.Hp = self.HpMax;
    self.Magic = self.MagicMax;
    out.Line(player.Session, Cat({"{00ffff{", "You reach level ", Num(self.Level), "!"}));
    out.To(player.Session, Cat({"LevelChange", Num(self.Level)}));
    out.To(player.Session, Cat({"HPChange", Pair(self.Hp, self.HpMax)}));
    out.To(player.Session, Cat({"MGChange", Pair(self.Magic, self.MagicMax)}));
}

void World::use(Outbox& out, Player& player, std::string_view name) {
    Character& self = player.Self;
    const int index = FindThing(self.Inventory, name);
    if (index < 0) {
        out.Line(player.Session, Cat({kNotice, "You don't have ", PlainText(name), "."}));
        return;
    }
    const ThingData& data = ThingAt(self.Inventory[std::size_t(index)]);
    if (data.Type != Kind::Food) {
        out.Line(player.Session, Cat({kNotice, "You can't use the ", data.Name, "."}));
        return;
    }
    self.Inventory.erase(self.Inventory.begin() + index);
    self.Hp = std::min(self.HpMax, self.Hp + data.Hp);
    self.Magic = std::min(self.MagicMax, self.Magic + data.Magic);
    self.Stamina = std::min(self.StaminaMax, self.Stamina + data.Stamina);
    out.Line(player.Session, Cat({kNotice, "You finish the ", data.Name, "."}));
    sendInventory(out, player);
    if (data.Hp > 0) out.To(player.Session, Cat({"HPChange", Pair(self.Hp, self.HpMax)}));
    if (data.Magic > 0) out.To(player.Session, Cat({"MGChange", Pair(self.Magic, self.MagicMax)}));
    if (data.Stamina > 0) out.To(player.Session, Cat({"Stamina", Pair(self.Stamina, self.StaminaMax)}));
}

void World::equip(Outbox& out, Player& player, std::string_view name) {
    Character& self = player.Self;
    const int index = FindThing(self.Inventory, name);
    if (index < 0) {
        out.Line(player.Session, Cat({kNotice, "You don't have ", PlainText(name), "."}));
        return;
    }
    const int thing = self.Inventory[std::size_t(index)];
    const ThingData& data = ThingAt(thing);
    if (data.Slot < 0) {
        out.Line(player.Session, Cat({kNotice, "You can't wear the ", data.Name, "."}));
        return;
    }
    // Whatever the slot held goes into the place the new thing leaves.
    int& slot = self.Equipped[std::size_t(data.Slot)];
    if (slot >= 0)
        self.Inventory[std::size_t(index)] = slot;
    else
        self.Inventory.erase(self.Inventory.begin() + index);
    slot = thing;
    out.Line(player.Session, Cat({kNotice, "You put on the ", data.Name, "."}));
    sendInventory(out, player);
    out.To(player.Session, Cat({"Equipment", Num(data.Slot), "/", data.Name, "/", Num(data.Picture)}));
    out.To(player.Session, Cat({"MainArmorChange", Num(ArmourOf(self))}));
}

void World::unequip(Outbox& out, Player& player, std::string_view name) {
    Character& self = player.Self;
    const int slot = FindThing(self.Equipped, name);
    if (slot < 0) {
        out.Line(player.Session, Cat({kNotice, "You aren't wearing ", PlainText(name), "."}));
        return;
    }
    if (self.Inventory.size() >= kInventorySlots) {
        out.Line(player.Session, Cat({kNotice, "You can't carry any more."}));
        return;
    }
    const int thing = self.Equipped[std::size_t(slot)];
    self.Equipped[std::size_t(slot)] = -1;
    self.Inventory.push_back(thing);
    out.Line(player.Session, Cat({kNotice, "You take off the ", ThingAt(thing).Name, "."}));
    sendInventory(out, player);
    out.To(player.Session, Cat({"Equipment", Num(slot)}));
    out.To(player.Session, Cat({"MainArmorChange", Num(ArmourOf(self))}));
}

void World::cast(Outbox& out, Player& player, std::string_view rest) {
    // "spell/target" from a click on a room object, or the spell alone.
    const std::size_t slash = rest.find('/');
    const std::string_view spellName = TrimSpaces(rest.substr(0, slash));
    const std::string_view target =
        slash == std::string_view::npos ? std::string_view() : TrimSpaces(rest.substr(slash + 1));
    const auto spell = std::find_if(kSpells.begin(), kSpells.end(),
                                    [&](const SpellData& s) { return SameNoCase(s.Name, spellName); });
    if (spell == kSpells.end()) {
        out.Line(player.Session, Cat({kNotice, "You know no spell called ", PlainText(spellName), "."}));
        return;
    }
    Character& self = player.Self;
    if (self.Magic < spell->Cost) {
        out.Line(player.Session, Cat({kNotice, "You don't have the magic for ", spell->Name, "."}));
        return;
    }
    int index = -1;
    if (spell->What == Effect::Damage) {
        index = target.empty() ? -1 : findInRoom(player, target);
        const Kind kind = index < 0
                              ? Kind::Item
                              : ThingAt(Rooms.at(std::size_t(player.Room))[std::size_t(index)].Thing).Type;
        if (kind != Kind::Creature) {
            out.Line(player.Session,
                     Cat({kNotice, "Cast ", spell->Name, " at a creature: click one in the room."}));
            return;
        }
    }
    self.Magic -= spell->Cost;
    out.Line(player.Session, Cat({"{ff80ff{", "You cast ", spell->Name, "."}));
    out.To(player.Session, Cat({"MGChange", Pair(self.Magic, self.MagicMax)}));
    switch (spell->What) {
    case Effect::Damage:
        hurt(out, player, std::size_t(index), spell->Amount);
        break;
    case Effect::Heal:
        self.Hp = std::min(self.HpMax, self.Hp + spell->Amount);
        out.To(player.Session, Cat({"HPChange", Pair(self.Hp, self.HpMax)}));
        break;
    case Effect::Refresh:
        self.Stamina = std::min(self.StaminaMax, self.Stamina + spell->Amount);
        out.To(player.Session, Cat({"Stamina", Pair(self.Stamina, self.StaminaMax)}));
        break;
    case Effect::Show:
        out.Line(player.Session, Cat({kGrey, spell->Text}));
        break;
    }
}

void World::bank(Outbox& out, Player& player, std::string_view amount, bool deposit) {
    if (player.Room != kBankRoom) {
        out.Line(player.Session, Cat({kNotice, "There is no bank here."}));
        return;
    }
    const std::optional<std::int64_t> n = AmountOf(amount);
    if (!n || *n == 0) {
        out.Line(player.Session,
                 Cat({kNotice, deposit ? "Deposit" : "Withdraw", " how much? Type a whole number."}));
        return;
    }
    Character& self = player.Self;
    std::int64_t& from = deposit ? self.Gold : self.Bank;
    std::int64_t& to = deposit ? self.Bank : self.Gold;
    if (*n > from) {
        out.Line(player.Session, Cat({kNotice, deposit ? "You don't have that much gold."
                                                       : "Your account doesn't hold that much gold."}));
        return;
    }
    from -= *n;
    to += *n;
    out.Line(player.Session, Cat({kNotice, deposit ? "You deposit " : "You withdraw ", Num(*n), " gold."}));
    out.To(player.Session, Cat({"GoldChange", Num(self.Gold)}));
    out.To(player.Session, Cat({"BankGoldChange", Num(self.Bank)}));
    out.To(player.Session, "Soundcoins");
}

void World::trade(Outbox& out, Player& player, std::string_view caption) {
    const std::vector<std::string_view>& here = kRoomCommands.at(std::size_t(player.Room));
    if (caption == kRingTheBell && player.Room == kBellRoom) {
        ringBell(out, player);
        return;
    }
    const auto ware =
        std::find_if(kWares.begin(), kWares.end(), [&](const Ware& w) { return w.Caption == caption; });
    if (ware == kWares.end() || std::find(here.begin(), here.end(), caption) == here.end()) {
        out.Line(player.Session, Cat({kNotice, "Nobody here trades in that."}));
        return;
    }
    Character& self = player.Self;
    if (self.Gold < ware->Price) {
        out.Line(player.Session, Cat({kNotice, "You can't afford that."}));
        return;
    }
    if (ware->Thing >= 0 && self.Inventory.size() >= kInventorySlots) {
        out.Line(player.Session, Cat({kNotice, "You can't carry any more."}));
        return;
    }
    self.Gold -= ware->Price;
    if (ware->Thing >= 0) {
        self.Inventory.push_back(ware->Thing);
        out.Line(player.Session, Cat({kNotice, "You buy the ", ThingAt(ware->Thing).Name, " for ",
                                      Num(ware->Price), " gold."}));
        sendInventory(out, player);
    } else {
        out.Line(player.Session, Cat({kNotice, "The fiddler tips his hat and plays {rc{a merry jig{rc{."}));
    }
    sendGold(out, player);
}

void World::sendGold(Outbox& out, const Player& player) const {
    out.To(player.Session, Cat({"GoldChange", Num(player.Self.Gold)}));
    out.To(player.Session, "Soundcoins");
}

void World::ringBell(Outbox& out, const Player& player) const {
    out.Line(player.Session, Cat({kNotice, "You pull the rope. The great bell booms out over the town."}));
    // Heard in the tower and all over the town, by the ringer too.
    for (const Player& other : Players) {
        if (other.Room != kBellRoom && MusicOf(other.Room) != MusicOf(kSquareRoom)) continue;
        if (other.Session != player.Session)
            out.Line(other.Session, Cat({kGrey, "The great bell of the tower rings out over the town."}));
        out.To(other.Session, "Soundbell");
    }
}

} // namespace gr::dev
