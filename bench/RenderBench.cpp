// The text display under a stream of play: marked-up lines drawn into a shown TextWindow with the default
// buffer of 40000 characters, so that trimming happens during the run. Reported: lines per second, the
// slowest single line in milliseconds, and, as the limit that matters, the same visible text appended to a
// plain text edit in one run per line. And the whole game window at a room change: every panel and status
// message the demo world sends when the player walks, dispatched and painted.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "core/App.h"
#include "core/Random.h"
#include "core/WireText.h"
#include "devserver/Pictures.h"
#include "devserver/World.h"
#include "game/Game.h"
#include "game/TextWindow.h"
#include "platform/Dialogs.h"
#include "platform/Ending.h"
#include "platform/Shell.h"
#include "skin/PictureStore.h"

namespace {

class NoShell final : public gr::Shell {
  public:
    bool OpenUrl(const QString&) override { return true; }
    bool StartProgram(const QString&, const QStringList&) override { return true; }
};

// Room text, chat, combat, loot, a link now and then and a short rainbow phrase.
std::vector<std::string> Stream() {
    static const char* lines[] = {
        "{FFFFFF{The Gloaming Road}{C0C0C0{A cold wind drifts down from the hills; lanterns sway on their "
        "posts. "
        "A narrow path leads north towards the old mill, and the road runs on east and west.",
        "{C0C0C0{Exits: north, east, west.",
        "{00FF00{Tamsin says, \"Meet me at the ferry before the bells ring %d.\"",
        "{FF8000{A gloam wolf snarls and circles you, looking for an opening.",
        "{0000FF{The gloam wolf bites you for {s12{%d{s8{ damage!",
        "{00C0FF{You slash the gloam wolf for %d damage.",
        "{FFFF00{You receive %d gold pieces.",
        "{ff8888{[Chat] Brynn: the map is at http://127.0.0.1:8080/maps/mill.png if anyone needs it",
        "{C0C0C0{You hear the creak of a cart somewhere to the east.",
        "{00C000{{i{Your wounds close a little.{i{ (%d)",
        "{FFFFFF{Corwen shouts, {rc{happy midwinter{rc{ everyone!",
        "{808080{[OOC] Aldric: anyone for the crypt run at %d?",
    };
    std::vector<std::string> stream;
    char buffer[512];
    for (int i = 0; i < 600; ++i) {
        std::snprintf(buffer, sizeof buffer, lines[(i * 7) % 12], (i * 37) % 1000);
        stream.push_back(buffer);
    }
    return stream;
}

// What a line shows: the text pieces without the markup, for the plain baseline.
std::string Visible(const std::string& line) {
    std::string out;
    int piece = 0; // within a segment: 0 hidden, then tag, text, tag, text
    for (char c : line) {
        if (c == '{')
            ++piece;
        else if (c == '}')
            piece = 0;
        else if (piece > 0 && piece % 2 == 0)
            out += c;
    }
    return out;
}

struct Shown {
    QWidget* widget;
    explicit Shown(QWidget* w) : widget(w) {
        w->resize(900, 600);
        w->show();
        QCoreApplication::processEvents();
    }
};

double ThreadMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

void BM_RenderLine(benchmark::State& state) {
    const std::vector<std::string> stream = Stream();
    NoShell shell;
    gr::ClockSeededRandom random;
    gr::TextWindow TD(shell, random);
    Shown shown(&TD);
    // One pass of the stream first: the first lines load the fonts, once per run of the client.
    for (const std::string& line : stream)
        TD.RenderLine(line);
    QCoreApplication::processEvents();
    std::size_t i = 0;
    // The slowest line in milliseconds: on the wall clock, on this thread's processor time (what the line
    // itself costs, without the waits of a shared machine), and of the lines that trimmed the window first.
    double worst = 0, worstCpu = 0, worstTrim = 0;
    for (auto _ : state) {
        const bool trims = TD.document()->characterCount() - 1 > TD.TextBufferSize;
        const auto start = std::chrono::steady_clock::now();
        const double startCpu = ThreadMilliseconds();
        TD.RenderLine(stream[i % stream.size()]);
        const double tookCpu = ThreadMilliseconds() - startCpu;
        const double took =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        worst = std::max(worst, took);
        worstCpu = std::max(worstCpu, tookCpu);
        if (trims) worstTrim = std::max(worstTrim, tookCpu);
        // The event loop gets a turn now and then, as it would between batches: painting and scrolling.
        if (++i % 20 == 0) QCoreApplication::processEvents();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
    state.counters["worst_line_ms"] = worst;
    state.counters["worst_line_cpu_ms"] = worstCpu;
    state.counters["worst_trim_cpu_ms"] = worstTrim;
    state.counters["chars_in_window"] = TD.document()->characterCount();
}

// The baseline: the same visible text appended to the same window as one plain run per line, with the
// same trimming, so that the ratio to BM_RenderLine is the cost of the markup and its styled runs.
void BM_PlainAppend(benchmark::State& state) {
    std::vector<QString> stream;
    for (const std::string& line : Stream())
        stream.push_back(gr::FromWire(Visible(line)));
    NoShell shell;
    gr::ClockSeededRandom random;
    gr::TextWindow TD(shell, random);
    Shown shown(&TD);
    QTextCursor end(TD.document());
    std::size_t i = 0;
    for (auto _ : state) {
        if (TD.document()->characterCount() - 1 > TD.TextBufferSize) {
            QString kept = TD.document()->toRawText().right(gr::TextWindow::kKeptAfterTrim);
            kept.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
            TD.document()->clear();
            end.insertText(kept);
        }
        end.movePosition(QTextCursor::End);
        end.beginEditBlock();
        end.insertText(stream[i % stream.size()]);
        end.insertBlock();
        end.endEditBlock();
        if (++i % 20 == 0) QCoreApplication::processEvents();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}

// The worst a server can send in one line, drawn alone (the painting that follows is bounded by the
// window's size and left out): /0 a line of the greatest length in words, /1 a rainbow line with as many
// runs as a line may have.
void BM_RenderHostileLine(benchmark::State& state) {
    std::string line = state.range(0) ? "{rc{" : "{ffffff{";
    while (line.size() < gr::kMaxMarkupLineBytes)
        line += state.range(0) ? "x" : "wolf ";
    NoShell shell;
    gr::ClockSeededRandom random;
    gr::TextWindow TD(shell, random);
    Shown shown(&TD);
    for (auto _ : state) {
        TD.RenderLine(line);
        state.PauseTiming();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}

class NoDialogs final : public gr::Dialogs {
  public:
    void ShowMessage(const QString&) override {}
    bool ShowQuestion(const QString&) override { return false; }
};

class NoEnding final : public gr::Ending {
  protected:
    void Finish() override {}
};

// What the demo world sends its player for one step: room text, objects, inventory, equipment, commands,
// spells and status values.
std::vector<std::string> Step(gr::dev::World& world, int session, std::string_view direction) {
    for (const gr::dev::Delivery& d : world.Handle(session, direction))
        if (d.Session == session) return d.Messages;
    return {};
}

// A full room change in a shown game window whose pictures are all in the data folder and already loaded:
// the messages of one step are queued, one tick of the dispatcher hands them to the panels, and the event
// loop paints. The steps go north and back, so every change replaces what the panels showed. Items are room
// changes; worst_change_ms is the slowest, painting included.
void BM_RoomChange(benchmark::State& state) {
    QTemporaryDir home;
    gr::dev::World world;
    constexpr int kSession = 1;
    world.Enter(kSession, "Bench");
    const std::vector<std::vector<std::string>> steps = {Step(world, kSession, "Dirnn"),
                                                         Step(world, kSession, "Dirss")};
    // Every picture the steps name, kept in the data folder as a finished download would have left it.
    QDir(home.path()).mkpath(QStringLiteral("gfx"));
    std::vector<int> numbers;
    static const QRegularExpression number(QStringLiteral("/(\\d{4})(?=/|$)"));
    for (const auto& step : steps)
        for (const std::string& m : step)
            for (const auto& match : number.globalMatch(QString::fromStdString(m))) {
                const int n = match.captured(1).toInt();
                QFile file(QDir(home.path()).filePath(QStringLiteral("gfx/%1.jpg").arg(n)));
                if (gr::dev::MakePicture(n).isEmpty() || file.exists() || !file.open(QIODevice::WriteOnly))
                    continue;
                file.write(gr::dev::MakePicture(n));
                numbers.push_back(n);
            }

    NoDialogs dialogs;
    NoEnding ending;
    NoShell shell;
    gr::ClockSeededRandom random;
    gr::App app(gr::Platform{dialogs, ending, shell, random}, home.path());
    app.Deployment.Web = QStringLiteral("127.0.0.1:9");
    app.Session.CharacterName = "Bench";
    gr::Game game(app);
    game.Form_Load();
    for (int n : numbers)
        app.Pictures().Picture(n);
    Shown shown(&game);
    auto change = [&](const std::vector<std::string>& messages) {
        for (const std::string& m : messages)
            app.Wire.InQueue.Put(m);
        game.Worker_Timer();
        QCoreApplication::processEvents();
    };
    for (const auto& step : steps)
        change(step);
    std::size_t i = 0;
    double worst = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        change(steps[i++ % steps.size()]);
        worst = std::max(
            worst,
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
    state.counters["messages_per_change"] = double(steps[0].size());
    state.counters["worst_change_ms"] = worst;
}

BENCHMARK(BM_RenderLine)->MinTime(2.0);
BENCHMARK(BM_PlainAppend)->MinTime(2.0);
BENCHMARK(BM_RenderHostileLine)->Unit(benchmark::kMillisecond)->Arg(0)->Arg(1);
BENCHMARK(BM_RoomChange)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
