// A hostile or broken server against the real client over a real socket: bombs, endless and dripped
// batches, huge lines, cut, joined, empty and random chunks, floods of every keyword, names that try to
// leave their folders, a close in the middle of a batch. After each, what must hold: the client is alive
// and answers the next "Monitor" in time (so nothing hangs and the messages keep their order), its memory
// stays bounded, nothing is written outside the folders of the data folder, and no program is started and
// no address opened.
#include <QRegularExpression>
#include <QTest>
#include <bzlib.h>
#include <sys/socket.h>

#include <fstream>
#include <functional>
#include <numeric>
#include <random>
#include <set>

#include "core/ReceivePath.h"
#include "login/AccountRecords.h"
#include "support/GameFixture.h"

namespace gr::test {
namespace {

class HostileServer : public GameFixture {
  protected:
    // A chunk as the server sends it: a bzip2 stream without its first seven bytes.
    static std::string Compressed(const std::string& text) {
        std::string out(text.size() + text.size() / 100 + 1000, '\0');
        unsigned length = unsigned(out.size());
        EXPECT_EQ(BZ_OK, BZ2_bzBuffToBuffCompress(out.data(), &length, const_cast<char*>(text.data()),
                                                  unsigned(text.size()), 9, 0, 0));
        out.resize(length);
        return out.substr(7);
    }
    // The client answers "Monitor" with its recent lines: the dispatcher is alive and behind no one.
    bool Answers() {
        const std::string requester = "staff" + std::to_string(++monitors);
        peer.Send("Monitor" + requester + "%${[}]");
        return WaitFor(
            [&] {
                for (const std::string& m : peer.Messages(kKey))
                    if (m.starts_with("Monitor" + requester + "/")) return true;
                return false;
            },
            5000);
    }
    static double RssMb() {
        std::ifstream status("/proc/self/status");
        for (std::string row; std::getline(status, row);)
            if (row.rfind("VmRSS:", 0) == 0) return std::stod(row.substr(6)) / 1024.0;
        return 0;
    }
    // What must hold after each attack.
    void Holds(const std::string& attack, double rssBefore) {
        SCOPED_TRACE(attack);
        EXPECT_TRUE(Answers()) << "no answer to Monitor";
        EXPECT_TRUE(shell.Opened.isEmpty()) << shell.Opened.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(shell.Started.isEmpty()) << shell.Started.join(QLatin1Char(' ')).toStdString();
        // Files only where the client keeps them: its settings, pictures, sounds, music, skins, logs.
        static const QStringList kFolders = {QStringLiteral("gfx/"), QStringLiteral("sounds/"),
                                             QStringLiteral("music/"), QStringLiteral("skins/"),
                                             QStringLiteral("logs/")};
        for (const QString& file : DataFiles()) {
            const bool known = std::any_of(kFolders.begin(), kFolders.end(),
                                           [&](const QString& f) { return file.startsWith(f); }) ||
                               !file.contains(QLatin1Char('/'));
            EXPECT_TRUE(known && !file.contains(QStringLiteral(".."))) << file.toStdString();
        }
        // Bounded: the largest buffers the client allows are tens of megabytes; the sanitizer's own
        // bookkeeping adds to that.
        EXPECT_LT(RssMb() - rssBefore, 600) << "memory grew by " << RssMb() - rssBefore << " MB";
        peer.Received.clear();
    }
    static std::string RandomBytes(std::mt19937& random, std::size_t n) {
        std::string s(n, '\0');
        for (char& c : s)
            c = char(random() & 0xFF);
        return s;
    }
    // Sends text a few kilobytes at a time, letting the client read as a network would deliver it.
    void Stream(const std::string& text, std::size_t step = 64 * 1024) {
        for (std::size_t at = 0; at < text.size(); at += step) {
            peer.Send(text.substr(at, step));
            QCoreApplication::processEvents();
        }
    }

    void LeavesMidBatch(bool reset);

    int monitors = 0;
};

TEST_F(HostileServer, WireAttacksLeaveTheClientAnsweringInOrder) {
    Game& g = Entered();
    ASSERT_TRUE(Answers());
    peer.Received.clear();
    std::mt19937 random(20261211);
    const auto bytes = [&](std::size_t n) { return RandomBytes(random, n); };
    const std::vector<std::pair<std::string, std::function<void()>>> attacks = {
        {"a chunk that expands to 64 MiB",
         [&] { peer.Send(Compressed("TMD" + std::string(64u << 20, 'A') + "%$") + "{[}]"); }},
        {"a batch that never ends (past the bound of pending text)",
         [&] {
             // Past the bound the text so far is dropped; what follows until a terminator is one broken
             // batch, and the next batch is read as usual.
             Stream(std::string(kMaxPendingBatchBytes + (1u << 20), 'x') + "{[}]");
         }},
        {"a single line of four megabytes",
         [&] { Stream("TMD{ffffff{" + std::string(4u << 20, 'w') + "%${[}]"); }},
        {"a batch dripped one byte at a time",
         [&] {
             const std::string batch =
                 Compressed("TMD{ffffff{drip%$PLAx00ffff/1001/%$") + "&SYTMDplain%${[}]";
             for (char c : batch) {
                 peer.Send(std::string(1, c));
                 QCoreApplication::processEvents();
             }
         }},
        {"chunks cut, joined and empty",
         [&] {
             const std::string chunk = Compressed("TMDwhole%$");
             peer.Send(chunk.substr(0, chunk.size() / 2) + "{[}]");
             peer.Send(chunk + chunk.substr(3) + "{[}]");
             peer.Send("&SY&SY&SY{[}]{[}]{[}]");
             peer.Send(chunk + "&SY" + "%$%$%$" + "{[}]");
         }},
        {"random batches",
         [&] {
             for (int i = 0; i < 200; ++i)
                 peer.Send(bytes(random() % 2000) + (i % 3 ? "&SY" + bytes(random() % 300) : std::string()) +
                           "{[}]");
         }},
        {"random compressed chunks",
         [&] {
             for (int i = 0; i < 50; ++i) {
                 std::string chunk = Compressed(bytes(200 + random() % 2000));
                 for (int flip = 0; flip < 3; ++flip)
                     chunk[4 + random() % (chunk.size() - 4)] ^= char(1 << (random() % 8));
                 peer.Send(chunk + "{[}]");
             }
         }},
    };
    for (const auto& [name, attack] : attacks) {
        const double rss = RssMb();
        attack();
        Holds(name, rss);
    }
    EXPECT_EQ(&g, app->game) << "the game window stays";
}

TEST_F(HostileServer, FloodsOfEveryKeywordAndNamesThatLeaveTheirFolders) {
    Entered();
    ASSERT_TRUE(Answers());
    peer.Received.clear();
    std::mt19937 random(11);
    // Every keyword of play but those that end the session, each with values a broken server might send.
    static const char* kKeywords[] = {"TMD",
                                      "PLA",
                                      "Stamina",
                                      "XPChange",
                                      "LevelChange",
                                      "GoldChange",
                                      "BankGoldChange",
                                      "HPChange",
                                      "MGChange",
                                      "MainArmorChange",
                                      "Inventory",
                                      "MainCommands",
                                      "Equipment",
                                      "OtherEquipment",
                                      "SL",
                                      "StChg",
                                      "Browse",
                                      "Sound",
                                      "Music",
                                      "KBA",
                                      "VoiceChat",
                                      "PageReply",
                                      "PING",
                                      "ABOUT",
                                      "MID",
                                      "PROC"};
    const std::vector<std::string> values = {"",
                                             "/",
                                             "%",
                                             "^%^",
                                             "-1/0",
                                             "999999999999999999999/1",
                                             "1e308/1e-308",
                                             "NaN/inf",
                                             std::string(5000, '/'),
                                             "../../../etc/passwd",
                                             "..\\..\\evil",
                                             "/tmp/evil",
                                             "C:\\evil",
                                             "http://evil.example/x",
                                             "file:///etc/passwd",
                                             std::string(100000, 'z'),
                                             "a\r\nb\tc\x01\x7f\xff",
                                             "{[}]",
                                             "&SY"};
    const double rss = RssMb();
    std::string batch;
    int count = 0;
    for (const char* keyword : kKeywords)
        for (int i = 0; i < 40; ++i) {
            batch += keyword + values[random() % values.size()] + "%$";
            if (++count % 50 == 0) {
                peer.Send(Compressed(batch) + "{[}]");
                batch.clear();
                QCoreApplication::processEvents();
            }
        }
    peer.Send(Compressed(batch) + "{[}]");
    // Names that try to leave their folders, and the terminator inside names.
    peer.Send("Sound../../evil%$Sound/etc/passwd%$Music..\\..\\evil.mid%$Music/tmp/x%$Sound" +
              std::string(300, 'a') + "%$SoundCON%$Musicnul%${[}]");
    Holds("keyword floods and names", rss);
}

TEST_F(HostileServer, EveryLineArrivesOnceAndInOrderHoweverItIsFramedAndWhateverComesBetween) {
    Game& g = Entered();
    g.TD->TextBufferSize = 10'000'000; // no trimming: every line must be there to be counted
    std::mt19937 random(7);
    const auto bytes = [&](std::size_t n) { return RandomBytes(random, n); };
    // Numbered lines go out in batches of one to forty, each batch framed in one of several ways, with
    // broken batches between; the reads are cut at random points, joined, or dripped.
    constexpr int kLines = 3000;
    std::string wire;
    for (int next = 0; next < kLines;) {
        const int count = std::min(kLines - next, 1 + int(random() % 40));
        std::string text;
        for (int i = 0; i < count; ++i, ++next)
            text += "TMD{ffffff{Line-" + std::to_string(next) + "-end%$";
        switch (random() % 4) {
        case 0: wire += Compressed(text); break;
        case 1: wire += text; break;
        case 2: { // split into a compressed and a plain chunk
            const auto cut = text.find("TMD", text.size() / 2);
            wire += Compressed(text.substr(0, cut)) + "&SY" + text.substr(cut);
            break;
        }
        default: wire += "&SY&SY" + Compressed(text) + "&SY"; break;
        }
        wire += "{[}]";
        switch (random() % 4) {
        case 0: wire += bytes(random() % 500) + "{[}]"; break;            // random bytes
        case 1: wire += Compressed(bytes(300)).substr(0, 40) + "{[}]"; break; // a cut stream
        default: break;
        }
    }
    for (std::size_t at = 0; at < wire.size();) {
        const std::size_t step = random() % 8 == 0 ? 1 : 1 + random() % 3000;
        peer.Send(wire.substr(at, step));
        at += step;
        if (random() % 4 == 0) QCoreApplication::processEvents();
    }
    ASSERT_TRUE(Answers());
    // Every number once, in order.
    const QString text = Text();
    const QRegularExpression line(QStringLiteral("Line-(\\d+)-end"));
    std::vector<int> seen;
    for (auto it = line.globalMatch(text); it.hasNext();)
        seen.push_back(it.next().captured(1).toInt());
    std::vector<int> expected(kLines);
    std::iota(expected.begin(), expected.end(), 0);
    EXPECT_EQ(expected, seen);
}

// The peer leaves with half a batch sent, by a close or by a reset (no lingering: the kernel sends RST).
// The client notices, says so and ends; nothing crashes on the half batch it held.
void HostileServer::LeavesMidBatch(bool reset) {
    Entered();
    ASSERT_TRUE(Answers());
    peer.Send(Compressed("TMD{ffffff{half a batch%$") + "&SYTMDpar");
    QCoreApplication::processEvents();
    if (reset) {
        const linger now{1, 0};
        ASSERT_EQ(0, setsockopt(int(peer.Socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &now, sizeof now));
        peer.Socket->abort();
    } else {
        peer.Socket->disconnectFromHost();
    }
    ASSERT_TRUE(WaitFor([&] { return app->platform.ending.Ended(); }));
    EXPECT_EQ(QStringList{QStringLiteral("Connection dropped by remote host.")}, dialogs.Shown);
    QTest::qWait(100);
    EXPECT_TRUE(shell.Opened.isEmpty());
    EXPECT_TRUE(shell.Started.isEmpty());
}

TEST_F(HostileServer, ACloseInTheMiddleOfABatchEndsThePlayCleanly) { LeavesMidBatch(false); }
TEST_F(HostileServer, AResetInTheMiddleOfABatchEndsThePlayCleanly) { LeavesMidBatch(true); }

// The login phase: odd keys, huge and malformed account lists, names that are paths or hold the
// terminator. The login dispatcher stays alive and in order (a character-creation answer sent last
// arrives), the account table keeps its bound, and nothing is written outside the data folder.
class HostileLogin : public LodgeFixture {
  protected:
    Peer peer;
};

TEST_F(HostileLogin, OddKeysAndAccountListsLeaveTheLoginDispatcherWorking) {
    LoggedIn(peer, "Zq7secret");
    std::vector<std::string> answers;
    app->CharacterCreationAnswer = [&](std::string_view text) { answers.emplace_back(text); };
    std::string huge = "Displaybob/bob@example.org/100000/";
    for (int i = 0; i < 100000; ++i)
        huge += "N" + std::to_string(i) + ":1:Elf:Mage:Male:Never/";
    const std::vector<std::string> messages = {
        "KEYCODE",
        "KEYCODE 5",
        "KEYCODE 59" + std::string(100000, 'k'),
        std::string("KEYCODE 59\x01\x02\xff", 13),
        "KEYCODE xx12345678",
        huge,
        "Display",
        "Display////////",
        "Displaybob/e/-5/a:b/",
        "Displaybob/e/99999999999999999999/x:1:Elf:Mage:Male:Never/",
        "Displaybob/e/2/../../etc/passwd:1:Elf:Mage:Male:Never/..\\evil:1:a:b:c:d/",
        "Displaybob/" + std::string(100000, 'e') + "/1/" + std::string(70000, 'n') +
            ":1:Elf:Mage:Male:Never/",
        "Display" + std::string(50000, '/'),
        "Display" + std::string(50000, ':'),
        "GenerateUserStatsIn1/2/3",
    };
    std::string batch;
    for (const std::string& m : messages)
        batch += m + "%$";
    peer.Send(batch + "{[}]");
    ASSERT_TRUE(WaitFor([&] { return !answers.empty(); }, 20000)) << "the last message never arrived";
    EXPECT_EQ(std::vector<std::string>{"StatsIn1/2/3"}, answers);
    EXPECT_EQ(std::size_t(kCritRows), app->Account.CritTable.size());
    EXPECT_TRUE(shell.Opened.isEmpty());
    EXPECT_TRUE(shell.Started.isEmpty());
    for (const QString& file : DataFiles())
        EXPECT_FALSE(file.contains(QLatin1Char('/'))) << "a file in a folder: " << file.toStdString();
}

} // namespace
} // namespace gr::test
