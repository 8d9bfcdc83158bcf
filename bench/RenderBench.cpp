// The text display under a stream of play: marked-up lines drawn into a shown TextWindow with the default
// buffer of 40000 characters, so that trimming happens during the run. Reported: lines per second, the
// slowest single line in milliseconds, and, as the limit that matters, the same visible text appended to a
// plain text edit in one run per line.
#include <QApplication>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "BenchPlatform.h"
#include "core/Random.h"
#include "core/WireText.h"
#include "text/TextWindow.h"

namespace {

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
    gr::bench::NoShell shell;
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

// The baseline: the same visible text appended to a plain text edit as one run per line, with the same
// trimming, the edit laying out and painting all it holds: what a display built on Qt's text edit costs at
// least, whatever its markup.
void BM_PlainAppend(benchmark::State& state) {
    std::vector<QString> stream;
    for (const std::string& line : Stream())
        stream.push_back(gr::FromWire(Visible(line)));
    // A text edit as the display was before it drew only the lines in view: the same font, colours and
    // buffer, laid out and painted whole by Qt.
    QTextEdit TD;
    TD.setReadOnly(true);
    TD.setUndoRedoEnabled(false);
    TD.setFrameShape(QFrame::NoFrame);
    TD.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    TD.setStyleSheet(QStringLiteral("QTextEdit { background: #0b0814; color: #c0c0c0; border: none; }"));
    TD.document()->setDocumentMargin(8);
    TD.setFont(QFont(QStringLiteral("DejaVu Sans"), gr::kDefaultTextSize));
    QObject::connect(TD.verticalScrollBar(), &QScrollBar::rangeChanged, &TD,
                     [&TD](int, int maximum) { TD.verticalScrollBar()->setValue(maximum); });
    constexpr int kTextBufferSize = 40000;
    Shown shown(&TD);
    QTextCursor end(TD.document());
    std::size_t i = 0;
    for (auto _ : state) {
        if (TD.document()->characterCount() - 1 > kTextBufferSize) {
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
    gr::bench::NoShell shell;
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

BENCHMARK(BM_RenderLine)->MinTime(2.0);
BENCHMARK(BM_PlainAppend)->MinTime(2.0);
BENCHMARK(BM_RenderHostileLine)->Unit(benchmark::kMillisecond)->Arg(0)->Arg(1);

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
