// The demo world's logic without sockets: moves, what others see, chat, "/" commands, paging, monitoring
// and the markup of everything it sends.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>
#include <queue>
#include <set>
#include <string>
#include <vector>

#include "devserver/Music.h"
#include "devserver/ServerProtocol.h"
#include "devserver/Sounds.h"
#include "devserver/World.h"

namespace gr::dev {
namespace {

using Lines = std::vector<std::string>;

std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> parts;
    for (;;) {
        const std::size_t at = text.find(separator);
        parts.emplace_back(text.substr(0, at));
        if (at == std::string_view::npos) return parts;
        text.remove_prefix(at + 1);
    }
}

bool IsTag(std::string_view tag) {
    auto all = [](std::string_view s, int (*test)(int)) {
        return !s.empty() &&
               std::all_of(s.begin(), s.end(), [test](char c) { return test((unsigned char)c); });
    };
    return tag == "u" || tag == "i" || tag == "rc" ||
           (tag.starts_with("s") && all(tag.substr(1), std::isdigit)) ||
           (tag.size() == 6 && all(tag, std::isxdigit));
}

// What is wrong with a markup line as the text window reads it ("" when nothing): text in piece 0 (never
// shown), a segment that ends on a tag or holds an unknown tag (the window stops drawing the line there), an
// unpaired "rc" (the rainbow would leak into later lines), an address that is not a word of its own or not
// on the local web host.
std::string MarkupProblem(std::string_view line) {
    std::size_t rainbows = 0;
    for (const std::string& segment : Split(line, '}')) {
        if (segment.empty()) continue;
        const std::vector<std::string> pieces = Split(segment, '{');
        if (!pieces[0].empty()) return "hidden text: " + pieces[0];
        if (pieces.size() % 2 == 0) return "ends on a tag: " + segment;
        for (std::size_t i = 1; i < pieces.size(); i += 2) {
            if (!IsTag(pieces[i])) return "bad tag: " + pieces[i];
            if (pieces[i] == "rc") ++rainbows;
            const std::string& text = pieces[i + 1];
            for (std::size_t at = text.find("http"); at != std::string::npos;
                 at = text.find("http", at + 1)) {
                if (at != 0 && text[at - 1] != ' ') return "address inside a word: " + text;
                if (text.compare(at, 22, "http://127.0.0.1:8080/") != 0)
                    return "not a local address: " + text;
            }
        }
    }
    return rainbows % 2 == 0 ? "" : "unpaired rc";
}

// The characters a markup line shows.
std::size_t VisibleLength(std::string_view line) {
    std::size_t length = 0;
    for (const std::string& segment : Split(line, '}')) {
        const std::vector<std::string> pieces = Split(segment, '{');
        for (std::size_t i = 2; i < pieces.size(); i += 2)
            length += pieces[i].size();
    }
    return length;
}

// Checks what the world sends: every message framable, every session once, every "TMD" line good markup,
// every effect and piece named one that the web host serves.
Deliveries Checked(Deliveries deliveries) {
    std::set<int> sessions;
    for (const Delivery& delivery : deliveries) {
        EXPECT_TRUE(sessions.insert(delivery.Session).second) << "session " << delivery.Session << " twice";
        for (const std::string& message : delivery.Messages) {
            EXPECT_TRUE(IsFramable(message)) << message;
            if (message.starts_with("TMD")) {
                EXPECT_EQ(MarkupProblem(message.substr(3)), "") << message;
            }
            if (message.starts_with("Sound")) {
                EXPECT_FALSE(MakeSound(message.substr(5)).empty()) << message;
            }
            if (message.starts_with("Music")) {
                EXPECT_FALSE(MakeMusic(message.substr(5)).empty()) << message;
            }
        }
    }
    return deliveries;
}

// The "Sound" and "Music" messages among messages.
Lines Audio(const Lines& messages) {
    Lines audio;
    std::copy_if(messages.begin(), messages.end(), std::back_inserter(audio),
                 [](const std::string& m) { return m.starts_with("Sound") || m.starts_with("Music"); });
    return audio;
}

// The game text among messages: the "TMD" lines, without the panel and status messages.
Lines Text(const Lines& messages) {
    Lines text;
    std::copy_if(messages.begin(), messages.end(), std::back_inserter(text),
                 [](const std::string& m) { return m.starts_with("TMD"); });
    return text;
}

Lines To(const Deliveries& deliveries, int session) {
    for (const Delivery& delivery : deliveries) {
        if (delivery.Session == session) return delivery.Messages;
    }
    return {};
}

std::map<int, Lines> BySession(const Deliveries& deliveries) {
    std::map<int, Lines> result;
    for (const Delivery& delivery : deliveries)
        result[delivery.Session] = delivery.Messages;
    return result;
}

std::string TitleLine(int room) {
    return "TMD{s12{{80ffff{" + std::string(World::RoomTitle(room));
}

int RoomTitled(std::string_view title) {
    for (int room = 0; room < World::RoomCount(); ++room) {
        if (World::RoomTitle(room) == title) return room;
    }
    return -1;
}

constexpr std::array<std::string_view, kDirectionCount> kDirMessages = {"Dirnn", "Diree", "Dirss",
                                                                        "Dirww", "Diruu", "Dirdd"};

enum Session { Ann = 1, Bob = 2, Cal = 3, Stranger = 9 };

TEST(World, MapIsConnectedAndEveryWayLeadsBack) {
    const int rooms = World::RoomCount();
    EXPECT_GE(rooms, 4);
    EXPECT_LE(rooms, 6);
    constexpr std::array<Direction, kDirectionCount> kOpposite = {
        Direction::South, Direction::West, Direction::North, Direction::East, Direction::Down, Direction::Up};
    std::set<int> reached = {0};
    std::queue<int> next({0});
    while (!next.empty()) {
        const int room = next.front();
        next.pop();
        for (int d = 0; d < kDirectionCount; ++d) {
            const int to = World::ExitFrom(room, Direction(d));
            if (to < 0) continue;
            ASSERT_LT(to, rooms);
            EXPECT_EQ(World::ExitFrom(to, kOpposite[std::size_t(d)]), room)
                << World::RoomTitle(room) << " " << kDirMessages[std::size_t(d)];
            if (reached.insert(to).second) next.push(to);
        }
    }
    EXPECT_EQ(reached.size(), std::size_t(rooms));
}

TEST(World, EnteringGreetsTheCharacterInTheFirstRoom) {
    World world;
    const Deliveries first = Checked(world.Enter(Ann, "Ann"));
    ASSERT_EQ(first.size(), 1u);
    const Lines greeting = Text(first[0].Messages);
    ASSERT_GE(greeting.size(), 4u);
    EXPECT_EQ(greeting[0], "TMD{00ffff{Welcome to Gloamrest, Ann!");
    EXPECT_EQ(greeting[2], TitleLine(0));
    EXPECT_EQ(greeting.back(), "TMD{00c000{Exits: north, east, down.");
    EXPECT_EQ(world.RoomOf(Ann), 0);

    const Deliveries second = Checked(world.Enter(Bob, "Bob"));
    EXPECT_EQ(Text(To(second, Bob)).back(), "TMD{ff8888{Also here: Ann.");
    EXPECT_EQ(To(second, Ann), Lines{"TMD{c0c0c0{Bob has entered the game."});

    // Another character on the same session: the first one leaves, the new one starts over in room 0.
    world.Handle(Bob, "Dirnn");
    const Deliveries again = Checked(world.Enter(Bob, "Bo{ff0000{b"));
    EXPECT_EQ(To(again, Bob)[0], "TMD{00ffff{Welcome to Gloamrest, Boff0000b!");
    EXPECT_EQ(To(again, Ann), Lines{"TMD{c0c0c0{Boff0000b has entered the game."});
    EXPECT_EQ(world.PlayerCount(), 2u);
    EXPECT_EQ(world.RoomOf(Bob), 0);
}

TEST(World, WalkingFollowsTheExitsAndBlockedWaysSayNo) {
    struct Step {
        std::string_view message;
        std::string_view room; // the room walked into; "" blocked; "-" ignored
    };
    const Step steps[] = {
        {"Dirss", ""},
        {"Dirww", ""},
        {"Dirnn", "The Old Library"},
        {"Dirnn", ""},
        {"Diruu", "The Bell Tower"},
        {"Diruu", ""},
        {"Dirdd", "The Old Library"},
        {"Dirss", "Lamplit Square"},
        {"Diree", "Harbour Steps"},
        {"Diree", ""},
        {"Dirww", "Lamplit Square"},
        {"Dirdd", "The Cellar Tavern"},
        {"Dirdd", ""},
        {"Diruu", "Lamplit Square"},
        {"dirnn", "-"},
        {"Dirn", "-"},
        {"Dirnn ", "-"},
        {"Dirxx", "-"},
    };
    World world;
    world.Enter(Ann, "Ann");
    for (const Step& step : steps) {
        SCOPED_TRACE(std::string(step.message) + " to " + std::string(step.room));
        const int before = world.RoomOf(Ann);
        const Deliveries out = Checked(world.Handle(Ann, step.message));
        if (step.room == "-") {
            EXPECT_TRUE(out.empty());
            EXPECT_EQ(world.RoomOf(Ann), before);
        } else if (step.room.empty()) {
            EXPECT_EQ(out, (Deliveries{{Ann, {"TMD{00c000{You can't go that way."}}}));
            EXPECT_EQ(world.RoomOf(Ann), before);
        } else {
            const int room = RoomTitled(step.room);
            ASSERT_GE(room, 0);
            EXPECT_EQ(world.RoomOf(Ann), room);
            ASSERT_EQ(out.size(), 1u);
            EXPECT_EQ(out[0].Messages.at(0), TitleLine(room));
            EXPECT_TRUE(Text(out[0].Messages).back().starts_with("TMD{00c000{Exits: "));
        }
    }
}

TEST(World, OthersSeeArrivalsAndDepartures) {
    struct Step {
        int mover;
        std::string_view message;
        std::map<int, Lines> others; // what everyone but the mover is sent
    };
    const Step steps[] = {
        {Cal, "Dirnn", {{Ann, {"TMD{c0c0c0{Cal leaves north."}}, {Bob, {"TMD{c0c0c0{Cal leaves north."}}}},
        {Ann,
         "Dirnn",
         {{Bob, {"TMD{c0c0c0{Ann leaves north."}}, {Cal, {"TMD{c0c0c0{Ann arrives from the south."}}}},
        {Ann, "Diruu", {{Cal, {"TMD{c0c0c0{Ann leaves upwards."}}}},
        {Ann, "Dirdd", {{Cal, {"TMD{c0c0c0{Ann arrives from above."}}}},
        {Bob, "Diree", {}},
        {Bob, "Diree", {}}, // blocked: nobody else hears of it
        {Bob, "Dirww", {}},
        {Cal,
         "Dirss",
         {{Ann, {"TMD{c0c0c0{Cal leaves south."}}, {Bob, {"TMD{c0c0c0{Cal arrives from the north."}}}},
    };
    World world;
    world.Enter(Ann, "Ann");
    world.Enter(Bob, "Bob");
    world.Enter(Cal, "Cal");
    for (const Step& step : steps) {
        SCOPED_TRACE(std::to_string(step.mover) + " " + std::string(step.message));
        std::map<int, Lines> got = BySession(Checked(world.Handle(step.mover, step.message)));
        EXPECT_EQ(got.count(step.mover), 1u);
        got.erase(step.mover);
        EXPECT_EQ(got, step.others);
    }
    // Ann in the library, Bob and Cal in the square.
    EXPECT_EQ(To(world.Handle(Bob, "Dirww"), Bob), Lines{"TMD{00c000{You can't go that way."});
    EXPECT_EQ(Text(To(Checked(world.Handle(Ann, "Dirss")), Ann)).back(), "TMD{ff8888{Also here: Bob, Cal.");

    EXPECT_EQ(Checked(world.Leave(Cal)), (Deliveries{{Ann, {"TMD{c0c0c0{Cal has left the game."}},
                                                     {Bob, {"TMD{c0c0c0{Cal has left the game."}}}));
    EXPECT_TRUE(world.Leave(Cal).empty());
    EXPECT_TRUE(world.Leave(Stranger).empty());
    EXPECT_FALSE(world.IsPlaying(Cal));
    EXPECT_EQ(world.PlayerCount(), 2u);
}

TEST(World, ChatReachesEveryPlayerAsPlainText) {
    struct Case {
        std::string typed;
        std::optional<std::string> said; // nullopt: Ann looks around (what "Look Around" sends)
    };
    const Case cases[] = {
        {"hello", "hello"},
        {"{0000ff{red}text", "0000ffredtext"},
        {"a %$ b", "a % $ b"},
        {"x&SYy{[}]", "x& SYy[]"},
        {"tab\there", "tabhere"},
        {"caf\xE9", "caf\xE9"},
        {std::string(1000, 'a'), std::string(kMaxSpokenBytes, 'a')},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"}{}{", std::nullopt},
    };
    World world;
    world.Enter(Ann, "Ann");
    world.Enter(Bob, "Bob");
    world.Handle(Bob, "Dirnn"); // chat is heard in every room
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        const Deliveries out = Checked(world.Handle(Ann, "GeneralChat" + c.typed));
        if (!c.said) {
            ASSERT_EQ(out.size(), 1u);
            EXPECT_EQ(To(out, Ann).at(0), TitleLine(0));
            EXPECT_TRUE(To(out, Ann).back().starts_with("PLAgold coin00d7ff/1001/"));
            continue;
        }
        const std::string line = "TMD{ffff80{Ann says, \"" + *c.said + "\"";
        EXPECT_EQ(out, (Deliveries{{Ann, {line}}, {Bob, {line}}}));
    }
    EXPECT_TRUE(world.Handle(Stranger, "GeneralChathello").empty()); // not in the game
}

TEST(World, SlashCommands) {
    const Lines unknown = {"TMD{00c000{Unknown command."};
    const Lines pageUsage = {"TMD{00c000{Page whom, and what? Type /p name text."};
    const Lines monitorUsage = {"TMD{00c000{Monitor whom? Type /monitor name."};
    const Lines who = {"TMD{80ffff{Players in the game: 2", "TMD{ffffff{Ann{c0c0c0{ - Lamplit Square",
                       "TMD{ffffff{Bob{c0c0c0{ - The Old Library"};
    struct Case {
        std::string_view line;
        Lines reply;
    };
    const Case cases[] = {
        {"/who", who},
        {"/WHO", who},
        {"/who cares", who},
        {"/dance", unknown},
        {"/", unknown},
        {"/whois", unknown},
        {"/pp bob hi", unknown},
        {"/p", pageUsage},
        {"/p bob", pageUsage},
        {"/p bob   ", pageUsage},
        {"/p bob {}", pageUsage},
        {"/p nobody hi", {"TMD{00c000{Nobody called nobody is playing."}},
        {"/p n{0000ff{x hi", {"TMD{00c000{Nobody called n0000ffx is playing."}},
        {"/monitor", monitorUsage},
        {"/monitor nobody", {"TMD{00c000{Nobody called nobody is playing."}},
        {"/textsize 12", {}}, // the client handles it and sends the line on as well
    };
    World world;
    world.Enter(Ann, "Ann");
    world.Enter(Bob, "Bob");
    world.Handle(Bob, "Dirnn");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const Deliveries out = Checked(world.Handle(Ann, c.line));
        EXPECT_EQ(To(out, Ann), c.reply);
        EXPECT_EQ(out.size(), c.reply.empty() ? 0u : 1u) << "others are sent nothing";
    }
}

TEST(World, VoiceChatRequestsReachTheNamedPlayerWithTheRequestersAddress) {
    World world;
    world.Enter(Ann, "Ann", "127.0.0.1");
    world.Enter(Bob, "Bob", "192.0.2.7");
    world.Enter(Cal, "Cal");
    world.Handle(Bob, "Diree"); // anywhere in the game
    EXPECT_EQ(
        Checked(world.Handle(Ann, "/voicechat BOB")),
        (Deliveries{{Bob, {"VoiceChatAnn/127.0.0.1"}}, {Ann, {"TMD{00c000{Asking Bob for a voicechat."}}}));
    EXPECT_EQ(
        Checked(world.Handle(Bob, "/VoiceChat ann")),
        (Deliveries{{Ann, {"VoiceChatBob/192.0.2.7"}}, {Bob, {"TMD{00c000{Asking Ann for a voicechat."}}}));
    const struct {
        int from;
        std::string_view line;
        std::string_view reply;
    } refused[] = {
        {Ann, "/voicechat nobody", "TMD{00c000{Nobody called nobody is playing."},
        {Ann, "/voicechat ann", "TMD{00c000{You can't voicechat with yourself."},
        {Cal, "/voicechat ann", "TMD{00c000{Voicechat is not possible from where you connect."},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(Checked(world.Handle(c.from, c.line)), (Deliveries{{c.from, {std::string(c.reply)}}}));
    }
}

TEST(World, PagingReachesTheNamedPlayer) {
    struct Case {
        std::string_view line;
        std::string_view said;
    };
    const Case cases[] = {
        {"/p bob Meet me at the tower", "Meet me at the tower"},
        {"/P BOB   two  spaces  ", "two  spaces"},
        {"/p Bob {ff0000{blue}", "ff0000blue"},
    };
    World world;
    world.Enter(Ann, "Ann");
    world.Enter(Bob, "Bob");
    world.Enter(Cal, "Cal");
    world.Handle(Bob, "Diree");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const std::string said(c.said);
        EXPECT_EQ(
            BySession(Checked(world.Handle(Ann, c.line))),
            (std::map<int, Lines>{
                {Ann, {"TMD{ff80ff{You page Bob, \"" + said + "\""}},
                {Bob, {"TMD{ff80ff{Ann pages you, \"" + said + "\"", "PageReplyAnn", "Soundpagerecieve"}},
            }));
    }
    // The reply shortcut's answer comes back the same way.
    EXPECT_EQ(To(world.Handle(Bob, "/p Ann  yes"), Ann),
              (Lines{"TMD{ff80ff{Bob pages you, \"yes\"", "PageReplyBob", "Soundpagerecieve"}));
}

TEST(World, MonitorShowsTheAnswerOnlyToWhoAsked) {
    const std::string fifteenEmpty = [] {
        std::string entries;
        for (int i = 0; i < 15; ++i)
            entries += "NLC";
        return entries;
    }();
    World world;
    world.Enter(Ann, "Ann");
    world.Enter(Bob, "Bob");
    world.Enter(Cal, "Cal");
    const Lines asking = {"TMD{00c000{Asking Bob for their recent input."};

    EXPECT_EQ(BySession(Checked(world.Handle(Ann, "/monitor bob"))),
              (std::map<int, Lines>{{Ann, asking}, {Bob, {"MonitorAnn"}}}));
    EXPECT_EQ(Checked(world.Handle(Ann, "/Monitor BOB")), (Deliveries{{Ann, asking}})) << "asked once";

    struct Answer {
        int from;
        std::string message;
        Deliveries expected;
    };
    const Answer answers[] = {
        {Cal, "MonitorAnn/forgedNLC", {}},       // Cal was not asked
        {Bob, "MonitorCal/" + fifteenEmpty, {}}, // nor for Cal
        {Bob, "MonitorAnn", {}},                 // no "/"
        {Bob,
         "MonitorAnn/" + fifteenEmpty.substr(6) + "nNLC/p cal {hi}NLC",
         {{Ann, {"TMD{ffff80{Recent input of Bob:", "TMD{c0c0c0{  n", "TMD{c0c0c0{  /p cal hi"}}}},
        {Bob, "MonitorAnn/nNLC", {}}, // answered already
    };
    for (const Answer& a : answers) {
        SCOPED_TRACE(a.message);
        EXPECT_EQ(Checked(world.Handle(a.from, a.message)), a.expected);
    }

    world.Handle(Ann, "/monitor bob");
    EXPECT_EQ(Checked(world.Handle(Bob, "MonitorAnn/" + fifteenEmpty)),
              (Deliveries{{Ann, {"TMD{ffff80{Recent input of Bob:", "TMD{c0c0c0{  (nothing typed yet)"}}}));

    // A line that held "NLC" itself splits into more lines; the number shown stays bounded.
    world.Handle(Ann, "/monitor bob");
    std::string many = "MonitorAnn/";
    for (std::size_t i = 0; i < 3 * kMaxMonitorLines; ++i)
        many += "xNLC";
    EXPECT_EQ(To(Checked(world.Handle(Bob, many)), Ann).size(), 1 + kMaxMonitorLines);

    // A request whose asker has gone is dropped with it.
    world.Handle(Ann, "/monitor bob");
    world.Leave(Ann);
    EXPECT_TRUE(world.Handle(Bob, "MonitorAnn/" + fifteenEmpty).empty());
}

TEST(World, PingKeepAliveAndQuietMessages) {
    struct Case {
        std::string_view message;
        Lines reply;
    };
    const Case cases[] = {
        {"PING", {"PING"}}, {"PING ", {}},   {"ping", {}},           {"ImStillOn", {}},
        {"Update0", {}},    {"Update1", {}}, {"MachineIDx/y/z", {}}, {"Something else", {}},
    };
    World world;
    EXPECT_TRUE(world.KeepAlive().empty());
    world.Enter(Ann, "Ann");
    world.Enter(Bob, "Bob");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const Deliveries out = world.Handle(Ann, c.message);
        EXPECT_EQ(out, (c.reply.empty() ? Deliveries{} : Deliveries{{Ann, c.reply}}));
    }
    EXPECT_TRUE(world.Handle(Stranger, "PING").empty());
    EXPECT_EQ(world.KeepAlive(), (Deliveries{{Ann, {"KBA"}}, {Bob, {"KBA"}}}));
}

// Walks a player into every room and checks each room's text as the text window will read it.
TEST(World, RoomTextIsGoodMarkupWithLinksRainbowsAndColours) {
    std::set<std::string> colours;
    bool link = false;
    bool rainbow = false;
    for (int target = 0; target < World::RoomCount(); ++target) {
        SCOPED_TRACE(World::RoomTitle(target));
        // The way there, by breadth-first search over the exits.
        std::map<int, std::vector<std::string_view>> paths = {{0, {}}};
        std::queue<int> next({0});
        while (!next.empty() && !paths.count(target)) {
            const int room = next.front();
            next.pop();
            for (int d = 0; d < kDirectionCount; ++d) {
                const int to = World::ExitFrom(room, Direction(d));
                if (to < 0 || paths.count(to)) continue;
                paths[to] = paths[room];
                paths[to].push_back(kDirMessages[std::size_t(d)]);
                next.push(to);
            }
        }
        ASSERT_TRUE(paths.count(target));
        World world;
        Lines text = Text(To(world.Enter(Ann, "Ann"), Ann));
        for (const std::string_view step : paths[target])
            text = Text(To(Checked(world.Handle(Ann, step)), Ann));
        ASSERT_EQ(world.RoomOf(Ann), target);
        for (const std::string& line : text) {
            ASSERT_TRUE(line.starts_with("TMD")) << line;
            EXPECT_EQ(MarkupProblem(line.substr(3)), "") << line;
            EXPECT_LE(VisibleLength(line.substr(3)), 200u) << line;
            link = link || line.find(" http://127.0.0.1:8080/") != std::string::npos;
            rainbow = rainbow || line.find("{rc{") != std::string::npos;
            for (const std::string& segment : Split(line.substr(3), '}')) {
                const std::vector<std::string> pieces = Split(segment, '{');
                for (std::size_t i = 1; i < pieces.size(); i += 2) {
                    if (pieces[i].size() == 6) colours.insert(pieces[i]);
                }
            }
        }
    }
    EXPECT_TRUE(link);
    EXPECT_TRUE(rainbow);
    EXPECT_GE(colours.size(), 6u);
}

TEST(World, MarkupCheckOfTheseTests) {
    // The checker above is what the other tests rely on: it must refuse what the text window cannot draw.
    const std::pair<std::string_view, bool> cases[] = {
        {"{00c000{Hello", true},
        {"{s12{{80ffff{Title}{s8{{c0c0c0{text", true},
        {"{rc{abc{rc{def", true},
        {"{c0c0c0{see http://127.0.0.1:8080/ now", true},
        {"hidden{00c000{x", false},
        {"{00c000{x{u", false},
        {"{s8{c0c0c0{text", false},
        {"{zzzzzz{x", false},
        {"{rc{abc", false},
        {"{c0c0c0{see(http://127.0.0.1:8080/)", false},
        {"{c0c0c0{see http://example.org/ now", false},
    };
    for (const auto& [line, good] : cases)
        EXPECT_EQ(MarkupProblem(line).empty(), good) << line;
}

// The panel and status messages of entering, exactly as the game window reads them.
TEST(World, EnteringSendsEveryPanelAndStatusValue) {
    World world;
    const Lines panels = {
        "PLAgold coin00d7ff/1001/gold coin00d7ff/1001/gold coin00d7ff/1001/brass lantern00c0ff/1010/"
        "old map80c0e0/1020/leather boots2060a0/1260/",
        "Inventorybread/1320/healing draught/1300/blue tonic/1310/iron sword/1200/",
        "OtherEquipmentleather armour/1210///////wool cloak/1250////////////////",
        "Equipment0/leather armour/1210",
        "Equipment1",
        "Equipment2",
        "Equipment3",
        "MainCommandsLook Around/Deposit Gold/Withdraw Gold/",
        "SLSpark/Heal/Frost Needle/Lantern Light/Mend/Second Wind/Ember/Calm/Far Sight/Warding/",
    };
    const Lines rows = {"StChg0/12",  "StChg1/10",    "StChg2/14", "StChg3/11",
                        "StChg4/9",   "StChg5/13",    "StChg6/1",  "StChg7/4",
                        "StChg8/120", "StChg9/12500", "StChg10/0", "StChg14/Lamplighter"};
    const Lines status = {"HPChange40/40", "MGChange30/30", "Stamina30/30",        "XPChange0/100/0",
                          "LevelChange1",  "GoldChange120", "BankGoldChange12500", "MainArmorChange4"};
    Lines expected = panels;
    expected.insert(expected.end(), rows.begin(), rows.end());
    expected.insert(expected.end(), status.begin(), status.end());
    expected.push_back("Musictown");

    const Lines got = To(Checked(world.Enter(Ann, "Ann")), Ann);
    const Lines text = Text(got);
    EXPECT_EQ(Lines(got.begin() + std::ptrdiff_t(text.size()), got.end()), expected);
    // One batch: the client's receive queue holds 61 messages.
    EXPECT_LE(got.size(), 61u);
    // "OtherEquipment" is 13 pairs, no trailing "/".
    EXPECT_EQ(Split(got[text.size() + 2].substr(14), '/').size(), 26u);
}

// Every room, walked into: the panels again (no "StChg"), each list in its format, every picture a number
// the web host serves, every object name longer than its colour suffix, at most six command buttons' worth
// plus a scroll where a room has more.
TEST(World, EveryRoomChangeSendsThePanelsInTheirFormats) {
    World world;
    world.Enter(Ann, "Ann");
    const std::string_view walk[] = {"Dirnn", "Diruu", "Dirdd", "Dirss", "Diree", "Dirww", "Dirdd", "Diruu"};
    std::set<std::string> pictures;
    bool bank = false;
    std::size_t mostObjects = 0, mostCommands = 0;
    for (const std::string_view step : walk) {
        SCOPED_TRACE(step);
        const Lines got = To(Checked(world.Handle(Ann, step)), Ann);
        std::map<std::string, std::size_t> kinds;
        for (const std::string& m : got) {
            for (const std::string_view kw :
                 {"PLA", "Inventory", "OtherEquipment", "Equipment", "MainCommands", "SL", "HPChange",
                  "MGChange", "Stamina", "XPChange", "LevelChange", "GoldChange", "BankGoldChange",
                  "MainArmorChange", "StChg"}) {
                if (m.starts_with(kw)) {
                    ++kinds[std::string(kw)];
                    break;
                }
            }
            auto pairs = [&](std::size_t keyword) {
                const std::vector<std::string> fields = Split(m.substr(keyword), '/');
                EXPECT_EQ(fields.size() % 2, 1u) << m;
                EXPECT_EQ(fields.back(), "") << m;
                std::set<std::string> names;
                for (std::size_t i = 0; i + 1 < fields.size(); i += 2) {
                    EXPECT_GT(fields[i].size(), keyword == 3 ? 6u : 0u) << m;
                    pictures.insert(fields[i + 1]);
                    names.insert(fields[i]);
                }
                return names.size();
            };
            if (m.starts_with("PLA")) mostObjects = std::max(mostObjects, pairs(3));
            if (m.starts_with("Inventory")) pairs(9);
            if (m.starts_with("MainCommands")) {
                const std::vector<std::string> captions = Split(m.substr(12), '/');
                EXPECT_EQ(captions.back(), "");
                EXPECT_EQ(captions.front(), "Look Around");
                mostCommands = std::max(mostCommands, captions.size() - 1);
                bank = bank || m == "MainCommandsLook Around/Deposit Gold/Withdraw Gold/";
            }
        }
        EXPECT_EQ(kinds["StChg"], 0u);
        EXPECT_EQ(kinds["Equipment"], 4u);
        for (const char* kw :
             {"PLA", "Inventory", "OtherEquipment", "MainCommands", "SL", "HPChange", "MGChange", "Stamina",
              "XPChange", "LevelChange", "GoldChange", "BankGoldChange", "MainArmorChange"}) {
            EXPECT_EQ(kinds[kw], 1u) << kw;
        }
    }
    for (const std::string& picture : pictures) {
        EXPECT_EQ(picture.size(), 4u) << picture;
        EXPECT_GE(std::stoi(picture), 1000) << picture;
        EXPECT_LE(std::stoi(picture), 4000) << picture;
    }
    EXPECT_TRUE(bank);
    EXPECT_GE(mostObjects, 10u) << "a room whose objects scroll";
    EXPECT_GE(mostCommands, 7u) << "a room whose command buttons scroll";
}

// What the clicks send, one after another from the entry, and everything the world answers.
TEST(World, PanelActionsChangeTheWorld) {
    const std::string square = "PLAgold coin00d7ff/1001/gold coin00d7ff/1001/brass lantern00c0ff/1010/";
    struct Step {
        std::string line;
        Lines reply;
    };
    const Step steps[] = {
        {"/get gold coin",
         {"TMD{00c000{You pick up the gold coin.", "GoldChange125", "Soundcoins",
          square + "old map80c0e0/1020/leather boots2060a0/1260/"}},
        {"/get OLD MAP",
         {"TMD{00c000{You pick up the old map.",
          "Inventorybread/1320/healing draught/1300/blue tonic/1310/iron sword/1200/old map/1020/",
          square + "leather boots2060a0/1260/"}},
        {"/get old map", {"TMD{00c000{There is no old map here."}},
        {"/l old map", {"TMD{c0c0c0{A map of the town, soft with age."}},
        {"/l wool cloak", {"TMD{c0c0c0{A warm grey cloak."}},
        {"/l {0000ff{x", {"TMD{00c000{You see no 0000ffx here."}},
        {"/equip iron sword",
         {"TMD{00c000{You put on the iron sword.",
          "Inventorybread/1320/healing draught/1300/blue tonic/1310/old map/1020/",
          "Equipment3/iron sword/1200", "MainArmorChange4"}},
        {"/equip old map", {"TMD{00c000{You can't wear the old map."}},
        {"/unequip leather armour",
         {"TMD{00c000{You take off the leather armour.",
          "Inventorybread/1320/healing draught/1300/blue tonic/1310/old map/1020/"
          "leather armour/1210/",
          "Equipment0", "MainArmorChange1"}},
        {"/unequip leather armour", {"TMD{00c000{You aren't wearing leather armour."}},
        {"/use bread",
         {"TMD{00c000{You finish the bread.",
          "Inventoryhealing draught/1300/blue tonic/1310/old map/1020/leather armour/1210/", "Stamina30/30"}},
        {"/use old map", {"TMD{00c000{You can't use the old map."}},
        {"/drop old map",
         {"TMD{00c000{You drop the old map.",
          "Inventoryhealing draught/1300/blue tonic/1310/leather armour/1210/",
          square + "leather boots2060a0/1260/old map80c0e0/1020/"}},
        {"/deposit 100",
         {"TMD{00c000{You deposit 100 gold.", "GoldChange25", "BankGoldChange12600", "Soundcoins"}},
        {"/withdraw 50",
         {"TMD{00c000{You withdraw 50 gold.", "GoldChange75", "BankGoldChange12550", "Soundcoins"}},
        {"/withdraw 99999", {"TMD{00c000{Your account doesn't hold that much gold."}},
        {"/deposit 76", {"TMD{00c000{You don't have that much gold."}},
        {"/deposit 0", {"TMD{00c000{Deposit how much? Type a whole number."}},
        {"/deposit -5", {"TMD{00c000{Deposit how much? Type a whole number."}},
        {"/deposit 2.5", {"TMD{00c000{Deposit how much? Type a whole number."}},
        {"/withdraw 9999999999", {"TMD{00c000{Withdraw how much? Type a whole number."}},
        {"BuySellButtonBuy Cider", {"TMD{00c000{Nobody here trades in that."}}, // not sold in the square
        {"Dirdd", {}}, // the tavern: checked by the room test
        {"/a grey rat",
         {"Stamina28/30", "TMD{00ffff{You hit the grey rat for 6.",
          "TMD{0000ff{The grey rat strikes you for 2.", "HPChange38/40", "XPChange6/100/0.06"}},
        {"/a grey rat",
         {"Stamina26/30", "TMD{00ffff{You hit the grey rat for 6.",
          "TMD{00c000{The grey rat flees into the shadows.", "TMD{00c000{You find 2 gold.", "GoldChange77",
          "Soundcoins", "XPChange22/100/0.22", "PLAcider00a0e0/1330/stew0060a0/1340/grey rat808080/2000/"}},
        {"/cast Spark/grey rat",
         {"TMD{ff80ff{You cast Spark.", "MGChange27/30", "TMD{00ffff{You hit the grey rat for 6.",
          "TMD{0000ff{The grey rat strikes you for 2.", "HPChange36/40", "XPChange28/100/0.28"}},
        {"/cast heal", {"TMD{ff80ff{You cast Heal.", "MGChange22/30", "HPChange40/40"}},
        {"/cast Spark", {"TMD{00c000{Cast Spark at a creature: click one in the room."}},
        {"/cast Spark/cider", {"TMD{00c000{Cast Spark at a creature: click one in the room."}},
        {"/cast Nonsense/grey rat", {"TMD{00c000{You know no spell called Nonsense."}},
        {"/cast /", {"TMD{00c000{You know no spell called ."}},
        {"/a cider", {"TMD{00c000{You can't fight the cider."}},
        {"/a", {"TMD{00c000{Which one? Click it, or type its name after /a."}},
        {"/equip   ", {"TMD{00c000{Which one? Click it, or type its name after /equip."}},
        {"/get grey rat", {"TMD{00c000{The grey rat will not be picked up."}},
        {"BuySellButtonBuy Cider",
         {"TMD{00c000{You buy the cider for 2 gold.",
          "Inventoryhealing draught/1300/blue tonic/1310/leather armour/1210/cider/1330/", "GoldChange75",
          "Soundcoins"}},
        {"BuySellButtonTip The Fiddler",
         {"TMD{00c000{The fiddler tips his hat and plays {rc{a merry jig{rc{.", "GoldChange74",
          "Soundcoins"}},
        {"BuySellButtonDeposit Gold", {"TMD{00c000{Nobody here trades in that."}},
        {"BuySellButton", {"TMD{00c000{Nobody here trades in that."}},
        {"/deposit 5", {"TMD{00c000{There is no bank here."}},
        {"/use cider",
         {"TMD{00c000{You finish the cider.",
          "Inventoryhealing draught/1300/blue tonic/1310/leather armour/1210/", "HPChange40/40",
          "Stamina30/30"}},
        {"/equip leather armour",
         {"TMD{00c000{You put on the leather armour.", "Inventoryhealing draught/1300/blue tonic/1310/",
          "Equipment0/leather armour/1210", "MainArmorChange4"}},
        {"/get " + std::string(2000, 'x'),
         {"TMD{00c000{There is no " + std::string(kMaxSpokenBytes, 'x') + " here."}},
    };
    World world;
    world.Enter(Ann, "Ann");
    for (const Step& step : steps) {
        SCOPED_TRACE(step.line);
        const Deliveries out = Checked(world.Handle(Ann, step.line));
        EXPECT_EQ(out.size(), 1u) << "nobody else is in the room";
        if (!step.reply.empty()) {
            EXPECT_EQ(To(out, Ann), step.reply);
        }
    }
}

// Objects lie in rooms that players share: what one takes or drops, the others there see go or come.
TEST(World, OthersInTheRoomSeeObjectsTakenAndDropped) {
    World world;
    world.Enter(Ann, "Ann");
    world.Enter(Bob, "Bob");
    world.Enter(Cal, "Cal");
    world.Handle(Cal, "Dirnn");
    const std::string left =
        "PLAgold coin00d7ff/1001/gold coin00d7ff/1001/gold coin00d7ff/1001/old map80c0e0/1020/"
        "leather boots2060a0/1260/";
    std::map<int, Lines> got = BySession(Checked(world.Handle(Ann, "/get brass lantern")));
    EXPECT_EQ(got[Bob], (Lines{"TMD{c0c0c0{Ann picks up the brass lantern.", left}));
    EXPECT_EQ(got[Ann].back(), left);
    EXPECT_EQ(got.count(Cal), 0u);
    got = BySession(Checked(world.Handle(Ann, "/drop brass lantern")));
    EXPECT_EQ(got[Bob].front(), "TMD{c0c0c0{Ann drops the brass lantern.");
    EXPECT_EQ(got.count(Cal), 0u);
    // Bob walks away and back: the lantern lies where Ann left it.
    world.Handle(Bob, "Diree");
    const Lines back = To(world.Handle(Bob, "Dirww"), Bob);
    EXPECT_TRUE(std::find(back.begin(), back.end(), left + "brass lantern00c0ff/1010/") != back.end());
}

// Fourteen inventory slots: a full pack refuses more, coins still go to the purse.
TEST(World, AFullPackTakesNoMore) {
    World world;
    world.Enter(Ann, "Ann");
    world.Handle(Ann, "Dirdd");
    int bought = 0;
    while (bought < 20 && To(world.Handle(Ann, "BuySellButtonBuy Bread"), Ann).size() == 4)
        ++bought;
    EXPECT_EQ(bought, int(kInventorySlots) - 4) << "four things carried from the start";
    EXPECT_EQ(To(world.Handle(Ann, "BuySellButtonBuy Bread"), Ann),
              Lines{"TMD{00c000{You can't carry any more."});
    EXPECT_EQ(To(world.Handle(Ann, "/get stew"), Ann), Lines{"TMD{00c000{You can't carry any more."});
    EXPECT_EQ(To(world.Handle(Ann, "/unequip wool cloak"), Ann),
              Lines{"TMD{00c000{You can't carry any more."});
    const Lines equip = To(Checked(world.Handle(Ann, "/equip iron sword")), Ann);
    ASSERT_EQ(equip.size(), 4u) << "a free hand: the sword goes from the pack";
    EXPECT_EQ(Split(equip[1].substr(9), '/').size(), 2 * (kInventorySlots - 1) + 1);
    world.Handle(Ann, "Diruu");
    const Lines coin = To(Checked(world.Handle(Ann, "/get gold coin")), Ann);
    EXPECT_EQ(coin.at(1), "GoldChange" + std::to_string(120 - bought + 5));
    EXPECT_EQ(To(world.Handle(Ann, "/get brass lantern"), Ann).back(),
              "PLAgold coin00d7ff/1001/gold coin00d7ff/1001/old map80c0e0/1020/leather boots2060a0/1260/");
}

// Fighting the tower's bats with Ember until a level is reached; the bats come back when the tower is
// entered empty.
TEST(World, ExperienceRaisesTheLevel) {
    World world;
    world.Enter(Ann, "Ann");
    world.Handle(Ann, "Dirnn");
    world.Handle(Ann, "Diruu");
    Lines levelled;
    for (int turn = 0; turn < 40 && levelled.empty(); ++turn) {
        Lines got = To(Checked(world.Handle(Ann, "/cast Ember/bat")), Ann);
        if (got == Lines{"TMD{00c000{Cast Ember at a creature: click one in the room."}) {
            world.Handle(Ann, "Dirdd");
            world.Handle(Ann, "Diruu");
        } else if (got == Lines{"TMD{00c000{You don't have the magic for Ember."}) {
            ASSERT_EQ(To(world.Handle(Ann, "/use blue tonic"), Ann).size(), 3u) << "one tonic only";
        } else if (std::find(got.begin(), got.end(), "LevelChange2") != got.end()) {
            levelled = got;
        }
    }
    // Five bats at 17 experience each make 85 (30 magic), the tonic pays for the sixth: 102 of 100.
    ASSERT_FALSE(levelled.empty());
    const Lines tail(levelled.end() - 6, levelled.end() - 1); // the room's objects come last
    EXPECT_EQ(tail, (Lines{"XPChange102/200/0.51", "TMD{00ffff{You reach level 2!", "LevelChange2",
                           "HPChange45/45", "MGChange35/35"}));
}

// A walk through every area: the area's music on entering and on crossing into another area only, a knock
// through the doors, and "MusicOn" answered with the music of where the player stands.
TEST(World, MusicFollowsTheAreaAndDoorsKnock) {
    struct Step {
        std::string_view message;
        Lines audio; // the "Sound" and "Music" messages the walker is sent
    };
    const Step steps[] = {
        {"MusicOn", {"Musictown"}},
        {"Diree", {}}, // the harbour: still the town, no door
        {"Diree", {}}, // blocked
        {"Dirww", {}},
        {"Dirnn", {"Sounddoor", "Musiclibrary"}},
        {"Diruu", {}}, // the bell tower, over the library
        {"MusicOn", {"Musiclibrary"}},
        {"Dirdd", {}},
        {"Dirss", {"Sounddoor", "Musictown"}},
        {"Dirdd", {"Sounddoor", "Musictavern"}},
        {"MusicOn", {"Musictavern"}},
        {"Dirdd", {}}, // blocked
        {"Diruu", {"Sounddoor", "Musictown"}},
        {"GeneralChathello", {}},
        {"Musicon", {}},
        {"MusicOn ", {}},
        {"MusicOff", {}},
    };
    World world;
    EXPECT_EQ(Audio(To(Checked(world.Enter(Ann, "Ann")), Ann)), Lines{"Musictown"});
    EXPECT_TRUE(Audio(To(world.Enter(Bob, "Bob"), Ann)).empty()) << "others hear nothing of an arrival";
    for (const Step& step : steps) {
        SCOPED_TRACE(step.message);
        const Deliveries out = Checked(world.Handle(Ann, step.message));
        EXPECT_EQ(Audio(To(out, Ann)), step.audio);
        EXPECT_TRUE(Audio(To(out, Bob)).empty()) << "sounds and music are the walker's own";
    }
    EXPECT_TRUE(world.Handle(Stranger, "MusicOn").empty()) << "not in the game";
    // Another character on the session starts over in the town, with its music.
    world.Handle(Ann, "Dirnn");
    EXPECT_EQ(Audio(To(world.Enter(Ann, "Ann"), Ann)), Lines{"Musictown"});
}

// Every room's music is a piece the web host serves, every piece belongs to an area, and more than one room
// shares an area (or music would restart on every step).
TEST(World, EveryAreaHasItsPiece) {
    std::map<std::string_view, int> rooms;
    for (int room = 0; room < World::RoomCount(); ++room) {
        ++rooms[World::MusicOf(room)];
        EXPECT_FALSE(MakeMusic(World::MusicOf(room)).empty()) << World::RoomTitle(room);
    }
    EXPECT_EQ(rooms.size(), kMusicNames.size());
    EXPECT_TRUE(std::any_of(rooms.begin(), rooms.end(), [](const auto& area) { return area.second > 1; }));
    // Doors lead somewhere and knock from both sides.
    constexpr std::array<Direction, kDirectionCount> kOpposite = {
        Direction::South, Direction::West, Direction::North, Direction::East, Direction::Down, Direction::Up};
    int doors = 0;
    for (int room = 0; room < World::RoomCount(); ++room) {
        for (int d = 0; d < kDirectionCount; ++d) {
            if (!World::IsDoor(room, Direction(d))) continue;
            ++doors;
            const int to = World::ExitFrom(room, Direction(d));
            ASSERT_GE(to, 0) << World::RoomTitle(room) << " " << kDirMessages[std::size_t(d)];
            EXPECT_TRUE(World::IsDoor(to, kOpposite[std::size_t(d)]))
                << World::RoomTitle(room) << " " << kDirMessages[std::size_t(d)];
        }
    }
    EXPECT_GT(doors, 0);
}

// The tower's bell is heard in the tower and all over the town, not in the library or the tavern; gold
// changing hands clinks for the one whose purse changed, and a page chimes for the one paged.
TEST(World, TheBellCoinsAndPagesSound) {
    World world;
    world.Enter(Ann, "Ann");
    world.Enter(Bob, "Bob");
    world.Enter(Cal, "Cal");
    world.Handle(Ann, "Dirnn");
    world.Handle(Ann, "Diruu");
    world.Handle(Bob, "Diree");
    world.Handle(Cal, "Dirnn");
    std::map<int, Lines> got = BySession(Checked(world.Handle(Ann, "BuySellButtonRing The Bell")));
    EXPECT_EQ(got[Ann],
              (Lines{"TMD{00c000{You pull the rope. The great bell booms out over the town.", "Soundbell"}));
    EXPECT_EQ(got[Bob],
              (Lines{"TMD{c0c0c0{The great bell of the tower rings out over the town.", "Soundbell"}));
    EXPECT_EQ(got.count(Cal), 0u) << "the library does not hear it";
    world.Handle(Cal, "Dirss");
    world.Handle(Cal, "Dirdd");
    EXPECT_EQ(BySession(world.Handle(Ann, "BuySellButtonRing The Bell")).count(Cal), 0u) << "nor the tavern";
    // Only in the tower.
    world.Handle(Ann, "Dirdd");
    EXPECT_EQ(Checked(world.Handle(Ann, "BuySellButtonRing The Bell")),
              (Deliveries{{Ann, {"TMD{00c000{Nobody here trades in that."}}}));

    struct Case {
        int who;
        std::string line;
        bool clinks;
    };
    const Case cases[] = {
        {Cal, "BuySellButtonBuy Stew", true},
        {Cal, "BuySellButtonTip The Fiddler", true},
        {Cal, "BuySellButtonBuy Lute", false},
        {Bob, "/get gold coin", true},
        {Bob, "/get gold coin", false}, // none left
        {Bob, "/deposit 5", false},     // no bank at the harbour
        {Bob, "Dirww", false},
        {Bob, "/deposit 5", true},
        {Bob, "/withdraw 99999999", false},
        {Bob, "/withdraw 1", true},
        {Bob, "/get brass lantern", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        got = BySession(Checked(world.Handle(c.who, c.line)));
        EXPECT_EQ(Audio(got[c.who]), c.clinks ? Lines{"Soundcoins"} : Lines{});
        for (const auto& [session, messages] : got) {
            if (session != c.who) {
                EXPECT_TRUE(Audio(messages).empty()) << session;
            }
        }
    }
    got = BySession(Checked(world.Handle(Cal, "/p ann hello")));
    EXPECT_TRUE(Audio(got[Cal]).empty());
    EXPECT_EQ(Audio(got[Ann]), Lines{"Soundpagerecieve"});
}

} // namespace
} // namespace gr::dev
