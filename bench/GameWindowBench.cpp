// The whole game window: a room change (every panel and status message the demo world sends when the
// player walks, dispatched and painted) and a resize of the full window, each in a shown window whose
// pictures are all in the data folder and already loaded.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "BenchPlatform.h"
#include "core/App.h"
#include "core/Random.h"
#include "devserver/Pictures.h"
#include "devserver/Skins.h"
#include "devserver/World.h"
#include "game/Game.h"
#include "skin/PictureStore.h"

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

    std::vector<std::vector<std::string>> Steps;
    std::unique_ptr<gr::Game> game;

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

BENCHMARK(BM_RoomChange)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Resize)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
