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

const RoomData& RoomAt(int room) {
    return kRooms.at(std::size_t(room));
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

int World::RoomCount() {
    return int(kRooms.size());
}

std::string_view World::RoomTitle(int room) {
    return RoomAt(room).Title;
}

int World::ExitFrom(int room, Direction direction) {
    return RoomAt(room).Exits.at(std::size_t(direction));
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

Deliveries World::Enter(int session, std::string_view name) {
    Outbox out;
    leave(out, session);
    Players.push_back({session, std::string(name), 0});
    const Player& player = Players.back();
    const std::string shown = PlainText(name);
    out.Line(session, Cat({"{00ffff{Welcome to Gloamrest, ", shown, "!"}));
    out.Line(session, Cat({kGrey, "Walk with n, e, s, w, u and d. Type to talk; /who lists the players, "
                                  "/p name text pages one."}));
    describeRoom(out, player);
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
    player.Room = to;
    tellRoom(out, player.Room, player.Session, Cat({kGrey, shown, " arrives from ", kArriving[index], "."}));
    describeRoom(out, player);
}

void World::chat(Outbox& out, const Player& player, std::string_view text) const {
    const std::string said = PlainText(text);
    if (TrimSpaces(said).empty()) return; // Enter on an empty line sends "GeneralChat" alone
    const std::string line = Cat({kSpeech, PlainText(player.Name), " says, \"", said, "\""});
    for (const Player& listener : Players)
        out.Line(listener.Session, line);
}

void World::command(Outbox& out, const Player& player, std::string_view line) {
    const auto [word, rest] = FirstWord(line);
    if (SameNoCase(word, "/who")) {
        who(out, player);
    } else if (SameNoCase(word, "/p")) {
        page(out, player, rest);
    } else if (SameNoCase(word, "/monitor")) {
        monitor(out, player, rest);
    } else if (SameNoCase(word, "/textsize")) {
        // The client sets its text size itself and sends the line on as well: nothing to answer.
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

} // namespace gr::dev
