// The whole game window: a room change (every panel and status message the demo world sends when the
// player walks, dispatched and painted), a resize of the full window, and a flood of game text from the
// received bytes to the screen, each in a shown window whose pictures are all in the data folder and
// already loaded.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <bzlib.h>
#include <chrono>
#include <cstdio>
#include <deque>
#include <fstream>
#include <string>
#include <vector>

#include "BenchPlatform.h"
#include "app/App.h"
#include "core/Random.h"
#include "core/ReceivePath.h"
#include "devserver/Pictures.h"
#include "devserver/Skins.h"
#include "devserver/World.h"
#include "game/Game.h"
#include "text/TextWindow.h"
#include "downloads/PictureStore.h"

namespace {

// What the demo world sends its player for one step: room text, objects, inventory, equipment, commands,
// spells and status values.
std::vector<std::string> Step(gr::dev::World& world, int session, std::string_view direction) {
    for (const gr::dev::Delivery& d : world.Handle(session, direction))
        if (d.Session == session) return d.Messages;
    return {};
}

double Since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// A shown game window in the demo world, north of the square and back again, with every picture the two
// steps name kept in the data folder as a finished download would have left it, and loaded.
class FullGame {
  public:
    // skin: one of the local server's skins to play in, or none for the built-in look.
    explicit FullGame(const std::string& skin = {})
        : app(gr::Platform{dialogs, ending, shell, random}, home.path()) {
        if (!skin.empty()) {
            QDir(home.path()).mkpath(QStringLiteral("skins"));
            const QString base =
                QDir(home.path()).filePath(QStringLiteral("skins/") + QString::fromStdString(skin));
            QFile file(base + QStringLiteral(".skn"));
            if (file.open(QIODevice::WriteOnly))
                file.write(QByteArray::fromStdString(gr::dev::MakeSkinFile(skin)));
            QFile picture(base + QStringLiteral(".jpg"));
            if (picture.open(QIODevice::WriteOnly)) picture.write(gr::dev::MakeSkinPicture(skin));
            app.SaveSetting(QStringLiteral("Skin"), QString::fromStdString(skin) + QStringLiteral(".skn"));
        }
        constexpr int kSession = 1;
        world.Enter(kSession, "Bench");
        Steps = {Step(world, kSession, "Dirnn"), Step(world, kSession, "Dirss")};
        QDir(home.path()).mkpath(QStringLiteral("gfx"));
        std::vector<int> numbers;
        static const QRegularExpression number(QStringLiteral("/(\\d{4})(?=/|$)"));
        for (const auto& step : Steps)
            for (const std::string& m : step)
                for (const auto& match : number.globalMatch(QString::fromStdString(m))) {
                    const int n = match.captured(1).toInt();
                    QFile file(QDir(home.path()).filePath(QStringLiteral("gfx/%1.jpg").arg(n)));
                    if (gr::dev::MakePicture(n).isEmpty() || file.exists() ||
                        !file.open(QIODevice::WriteOnly))
                        continue;
                    file.write(gr::dev::MakePicture(n));
                    numbers.push_back(n);
                }
        app.Deployment.Web = QStringLiteral("127.0.0.1:9");
        app.Session.CharacterName = "Bench";
        game = std::make_unique<gr::Game>(app);
        game->Form_Load();
        for (int n : numbers)
            app.Pictures().Picture(n);
        game->resize(900, 600);
        game->show();
        QCoreApplication::processEvents();
        for (std::size_t i = 0; i < Steps.size(); ++i)
            Change(i);
    }
    // One step's messages queued, one dispatcher tick, then the event loop paints.
    void Change(std::size_t i) {
        for (const std::string& m : Steps[i % Steps.size()])
            app.Wire.InQueue.Put(m);
        game->Worker_Timer();
        QCoreApplication::processEvents();
    }

    // Received text as the connection reads it: through the receive path into the queue, one dispatcher
    // tick, then the event loop.
    void Receive(const std::vector<std::string>& reads) {
        for (const std::string& read : reads)
            assembler.Feed(read, [this](std::string_view message) { app.Wire.InQueue.Put(message); });
        game->Worker_Timer();
        QCoreApplication::processEvents();
    }

    std::vector<std::vector<std::string>> Steps;
    std::unique_ptr<gr::Game> game;
    gr::ReceiveAssembler assembler{gr::Bzip2Api::Linked()};

  private:
    QTemporaryDir home;
    gr::dev::World world;
    gr::bench::NoDialogs dialogs;
    gr::bench::NoEnding ending;
    gr::bench::NoShell shell;
    gr::ClockSeededRandom random;
    gr::App app;
};

// Items are room changes; worst_change_ms is the slowest, painting included. The steps go north and back,
// so every change replaces what the panels showed.
void BM_RoomChange(benchmark::State& state) {
    FullGame full;
    std::size_t i = 0;
    double worst = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        full.Change(i++);
        worst = std::max(worst, Since(start));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
    state.counters["messages_per_change"] = double(full.Steps[0].size());
    state.counters["worst_change_ms"] = worst;
}

// Items are resizes of the full window, in the local server's harbour skin, between its design size and
// twice that, each placed and painted.
void BM_Resize(benchmark::State& state) {
    FullGame full("harbour");
    const QSize sizes[] = {QSize(794, 640), QSize(1588, 1240)};
    std::size_t i = 0;
    double worst = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        full.game->resize(sizes[i++ % 2]);
        QCoreApplication::processEvents();
        worst = std::max(worst, Since(start));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
    state.counters["worst_resize_ms"] = worst;
}

// Game text as the server floods it: batches of 50 "TMD" lines (room text, chat, combat, links, a rainbow
// phrase), each batch one compressed chunk cut into 1460-byte reads, through the receive path, dispatched
// and drawn into the shown game window, the event loop run after every batch. Items are lines.
// worst_latency_ms: the longest from a batch's first byte to the end of the event loop turn in which the
// view painted its newest line; rss_mb: the client's memory after the run (100,000 lines).
void BM_DisplayFlood(benchmark::State& state) {
    static const char* kinds[] = {
        "{FFFFFF{The Gloaming Road}{C0C0C0{A cold wind drifts down from the hills; lanterns sway on their "
        "posts. A narrow path leads north towards the old mill, and the road runs on east and west.",
        "{00FF00{Tamsin says, \"Meet me at the ferry before the bells ring %d.\"",
        "{0000FF{The gloam wolf bites you for {s12{%d{s8{ damage!",
        "{00C0FF{You slash the gloam wolf for %d damage.",
        "{ff8888{[Chat] Brynn: the map is at http://127.0.0.1:8080/maps/mill.png if anyone needs it",
        "{00C000{{i{Your wounds close a little.{i{ (%d)",
        "{FFFFFF{Corwen shouts, {rc{happy midwinter{rc{ everyone!",
        "{808080{[OOC] Aldric: anyone for the crypt run at %d?",
    };
    std::vector<std::vector<std::string>> batches;
    char line[512];
    for (int b = 0; b < 40; ++b) {
        std::string text;
        for (int i = 0; i < 50; ++i) {
            std::snprintf(line, sizeof line, kinds[(b * 50 + i) * 5 % 8], (b * 50 + i) * 37 % 1000);
            text += "TMD";
            text += line;
            text += "%$";
        }
        std::string packed(text.size() + 1000, '\0');
        unsigned length = static_cast<unsigned>(packed.size());
        BZ2_bzBuffToBuffCompress(packed.data(), &length, text.data(), static_cast<unsigned>(text.size()), 9,
                                 0, 0);
        packed.resize(length);
        const std::string batch = packed.substr(7) + "{[}]"; // the chunk as the server sends it
        std::vector<std::string> reads;
        for (std::size_t at = 0; at < batch.size(); at += 1460)
            reads.push_back(batch.substr(at, 1460));
        batches.push_back(std::move(reads));
    }
    FullGame full;
    gr::TextWindow& text = *full.game->TD;
    // Paints of the view, counted by a filter on its viewport.
    struct PaintCount : QObject {
        int Paints = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint) ++Paints;
            return false;
        }
    } paints;
    text.viewport()->installEventFilter(&paints);
    std::deque<std::chrono::steady_clock::time_point> waiting; // arrivals of batches not yet on screen
    double worst = 0;
    std::size_t i = 0;
    for (auto _ : state) {
        waiting.push_back(std::chrono::steady_clock::now());
        const int before = paints.Paints;
        full.Receive(batches[i++ % batches.size()]);
        if (paints.Paints != before && text.AtBottom()) {
            // The paint showed the newest text: every batch that waited is on screen.
            worst = std::max(worst, Since(waiting.front()));
            waiting.clear();
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * 50));
    state.counters["worst_latency_ms"] = worst;
    std::ifstream status("/proc/self/status");
    for (std::string row; std::getline(status, row);)
        if (row.rfind("VmRSS:", 0) == 0) state.counters["rss_mb"] = std::stod(row.substr(6)) / 1024.0;
}

BENCHMARK(BM_DisplayFlood)->Iterations(2000); // 100,000 lines
BENCHMARK(BM_RoomChange)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Resize)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
