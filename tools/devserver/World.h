#pragma once
// The local server's demo world, plain C++ (no Qt): a few rooms joined by directions, the objects and
// creatures in them, the players with their status, inventory, equipment and spells, and what the game
// window's messages and panel clicks do. Panels and status values go out in the game window's own
// messages ("PLA", "Inventory", "Equipment", "OtherEquipment", "MainCommands", "SL", "HPChange" and the
// rest). Every operation returns the messages to send and to which
// sessions; the caller sends them. Game text goes out as "TMD" lines in the text window's markup: segments
// separated by "}", pieces by "{", piece 0 never shown, then tag, text, tag, text; a tag is "u", "i", "rc",
// "s" + size or a colour of six hex digits in blue-green-red order.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace gr::dev {

// Sounds and music go out as "Sound" + effect and "Music" + piece, names the local web host serves (see
// Sounds.h and Music.h): a knock through a door, the bell, the page chime, coins whenever gold changes hands,
// and the area's piece on entering, on walking into another area and on "MusicOn".

// The messages for one session, in the order they are to be sent.
struct Delivery {
    int Session = 0;
    std::vector<std::string> Messages;

    bool operator==(const Delivery&) const = default;
};
// Each session appears at most once, in the order it was first given a message.
using Deliveries = std::vector<Delivery>;

// Walking directions, in the order of the messages "Dirnn", "Diree", "Dirss", "Dirww", "Diruu", "Dirdd".
enum class Direction { North, East, South, West, Up, Down };
constexpr int kDirectionCount = 6;

// Bytes of player text (chat, pages, monitored input) shown in one line; the rest is cut, so that one
// player cannot fill the others' windows with a single huge line.
constexpr std::size_t kMaxSpokenBytes = 400;
// Monitored input lines shown per answer: a client sends 15, more only when a line held "NLC" itself.
constexpr std::size_t kMaxMonitorLines = 30;
// The game window's panels: 14 inventory slots, 13 equipment slots (0 armour, 1 shield, 2 helmet,
// 3 weapon, then cloak, boots, gloves, ring and the rest).
constexpr std::size_t kInventorySlots = 14;
constexpr int kEquipmentSlots = 13;
// Objects one room holds; dropping more is refused.
constexpr std::size_t kMaxRoomObjects = 60;
// The highest level a character reaches; experience past it still counts.
constexpr int kTopLevel = 99;

class World {
  public:
    World();

    // The fixed demo map; room 0 is where every character enters.
    static int RoomCount();
    static std::string_view RoomTitle(int room);
    // The room that the direction leads to from `room`, or -1 when the way is blocked.
    static int ExitFrom(int room, Direction direction);
    // The piece of music of the room's area ("town", "library", "tavern"); rooms of one area share it.
    static std::string_view MusicOf(int room);
    // Whether the way from `room` in that direction leads through a door (walking it sends "Sounddoor").
    static bool IsDoor(int room, Direction direction);

    // The character enters the first room: a welcome, the room, every panel and status value (each "StChg"
    // index once) and the area's music for the session, an arrival line for the others there. A session that
    // is already playing leaves first (another character of the account).
    // `address` is the network address the session's client connects from: voice chat requests name it.
    Deliveries Enter(int session, std::string_view name, std::string_view address = {});
    // The session's player leaves the world; the others in the room are told. Nothing for a session that
    // is not playing.
    Deliveries Leave(int session);
    // A message from the session's client during play (directions, chat, "/" lines and the panel actions,
    // "BuySellButton" with a command button's caption, "PING", "MusicOn", the client's answers). Messages of
    // sessions that are not playing, and messages the world does not know, do nothing.
    Deliveries Handle(int session, std::string_view message);
    // "KBA" for every player: the client answers "Update1" and "Update0" by turns.
    Deliveries KeepAlive() const;

    bool IsPlaying(int session) const { return find(session) != nullptr; }
    std::size_t PlayerCount() const { return Players.size(); }
    // The room of the session's player, -1 when it is not playing.
    int RoomOf(int session) const;

  private:
    // A character's state in the game window: status values, inventory and what it wears. Things are
    // indices into the world's table of things; -1 is an empty equipment slot.
    struct Character {
        std::array<int, 6> Stats = {12, 10, 14, 11, 9, 13}; // strength to charisma
        int Hp = 40, HpMax = 40;
        int Magic = 30, MagicMax = 30;
        int Stamina = 30, StaminaMax = 30;
        std::int64_t Xp = 0, XpTarget = 100;
        int Level = 1;
        std::int64_t Gold = 120, Bank = 12500;
        std::vector<int> Inventory;
        std::array<int, kEquipmentSlots> Equipped{};
    };
    struct Player {
        int Session = 0;
        std::string Name; // as the account store has it; shown with braces removed
        int Room = 0;
        Character Self;
        std::string Address; // where the client connects from (voice chat requests)
    };
    // An object lying in a room; creatures keep their hit points.
    struct RoomThing {
        int Thing = 0;
        int Hp = 0;
    };
    // A "/monitor" request sent to Target's client on behalf of Requester, not yet answered.
    struct MonitorRequest {
        int Target = 0;
        int Requester = 0;
        std::string RequesterName; // the text the target's client echoes back
    };
    class Outbox;

    const Player* find(int session) const;
    Player* find(int session);
    // The first player whose name matches, ignoring ASCII case.
    const Player* findByName(std::string_view name) const;

    void describeRoom(Outbox& out, const Player& player) const;
    void tellRoom(Outbox& out, int room, int except, const std::string& line) const;
    void leave(Outbox& out, int session);
    void walk(Outbox& out, Player& player, Direction direction);
    void chat(Outbox& out, const Player& player, std::string_view text) const;
    void command(Outbox& out, Player& player, std::string_view line);
    void who(Outbox& out, const Player& player) const;
    void page(Outbox& out, const Player& player, std::string_view rest) const;
    // "/voicechat name": the named player's client is told "VoiceChat" + requester "/" requester's address.
    void voiceChat(Outbox& out, const Player& player, std::string_view name) const;
    void monitor(Outbox& out, const Player& player, std::string_view rest);
    void monitorAnswer(Outbox& out, const Player& player, std::string_view value);

    static int ArmourOf(const Character& self);
    // The panels and status values, as the game window's messages.
    void sendPanels(Outbox& out, const Player& player) const;
    void sendStatus(Outbox& out, const Player& player) const;
    void sendRoomObjects(Outbox& out, int room) const; // to everyone in the room
    std::string RoomObjects(int room) const;           // the "PLA" message
    void sendInventory(Outbox& out, const Player& player) const;
    // What the panel actions do: "/l", "/get", "/drop", "/a", "/use", "/equip", "/unequip", "/cast",
    // "/deposit", "/withdraw" and the trade buttons.
    void look(Outbox& out, const Player& player, std::string_view name) const;
    void get(Outbox& out, Player& player, std::string_view name);
    void drop(Outbox& out, Player& player, std::string_view name);
    void attack(Outbox& out, Player& player, std::string_view name);
    void use(Outbox& out, Player& player, std::string_view name);
    void equip(Outbox& out, Player& player, std::string_view name);
    void unequip(Outbox& out, Player& player, std::string_view name);
    void cast(Outbox& out, Player& player, std::string_view rest);
    void bank(Outbox& out, Player& player, std::string_view amount, bool deposit);
    void trade(Outbox& out, Player& player, std::string_view caption);
    // The tower's "Ring The Bell" button: everyone in the tower and the town hears it.
    void ringBell(Outbox& out, const Player& player) const;
    // "GoldChange" and the clink of coins, after gold changed hands.
    void sendGold(Outbox& out, const Player& player) const;
    // Damage dealt to the creature at `index` of the player's room; it strikes back while it stands.
    void hurt(Outbox& out, Player& player, std::size_t index, int damage);
    void gainXp(Outbox& out, Player& player, std::int64_t xp);
    // The index in the player's room of the first object so named (ASCII case ignored), or -1.
    int findInRoom(const Player& player, std::string_view name) const;

    std::vector<Player> Players; // in the order they entered
    std::vector<std::vector<RoomThing>> Rooms;
    std::vector<MonitorRequest> Monitoring;
};

// Player text made safe for a markup line: "{" and "}" removed (no markup of one's own), control bytes
// removed, "%$" and "&SY" broken by a space (the framing has no escapes), cut to kMaxSpokenBytes.
std::string PlainText(std::string_view text);

} // namespace gr::dev
