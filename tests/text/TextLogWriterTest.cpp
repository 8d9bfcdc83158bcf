// The game text log's writer: lines reach the day's files in order on a thread of their own, the day
// follows each line's local date, a stalled disk drops and counts lines instead of holding the window,
// and a failing folder is reported once.
#include "text/TextLogWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <functional>
#include <sstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace gr {
namespace {

std::vector<DrawOp> Line(const std::string& text, std::uint32_t colour = 0xFFFFFF) {
    TextStyle style;
    style.Colour = colour;
    return {DrawOp{DrawOp::Kind::Text, text, style}, DrawOp{DrawOp::Kind::LineBreak, {}, style},
            DrawOp{DrawOp::Kind::EndOfLine, {}, style}};
}

QDateTime At(int year, int month, int day, int hour, int minute, int second) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second));
}

class TextLogWriterTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(Home.isValid()); }

    std::unique_ptr<TextLogWriter> Make(const QString& folder = QString()) {
        return std::make_unique<TextLogWriter>(
            folder.isEmpty() ? Home.path() : folder, "Aldric",
            [this](const QString& reason) {
                std::lock_guard guard(reportLock);
                Reports.push_back(reason);
            },
            [this] {
                std::lock_guard guard(reportLock);
                return Now.toMSecsSinceEpoch();
            });
    }
    void SetNow(const QDateTime& now) {
        std::lock_guard guard(reportLock);
        Now = now;
    }
    std::vector<QString> ReportsSoFar() {
        std::lock_guard guard(reportLock);
        return Reports;
    }
    std::string Read(const QString& name, const QString& folder = QString()) const {
        QFile f(QDir(folder.isEmpty() ? Home.path() : folder).filePath(name));
        if (!f.open(QIODevice::ReadOnly)) return "<missing>";
        return f.readAll().toStdString();
    }
    static int Count(const std::string& text, const std::string& what) {
        int n = 0;
        for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
            ++n;
        return n;
    }

    QTemporaryDir Home;
    std::mutex reportLock;
    std::vector<QString> Reports;
    QDateTime Now = At(2026, 12, 11, 20, 15, 0);
};

TEST_F(TextLogWriterTest, LinesArriveInOrderAndTheDaysSessionsShareItsFiles) {
    auto log = Make();
    std::string expected = "--- Game text of Aldric from 2026-12-11 20:15:00 ---\n";
    for (int i = 0; i < 2000; ++i) {
        log->Append(Line("line " + std::to_string(i), std::uint32_t(i)));
        expected += "line " + std::to_string(i) + "\n";
    }
    log->WaitUntilWritten();
    // Readable while the session goes on: everything queued so far is in the files.
    EXPECT_EQ(expected, Read("logs/Aldric-2026-12-11.txt"));
    const std::string page = Read("logs/Aldric-2026-12-11.html");
    EXPECT_EQ(0u, page.find("<!DOCTYPE html>"));
    EXPECT_NE(std::string::npos,
              page.find("<div class=\"note\">Game text of Aldric from 2026-12-11 20:15:00</div>\n"
                        "<div><span style=\"color:#000000\">line 0</span></div>\n"
                        "<div><span style=\"color:#010000\">line 1</span></div>\n"));
    EXPECT_EQ(2000, Count(page, "<div><span"));
    EXPECT_EQ(page.size() - std::string("<div><span style=\"color:#cf0700\">line 1999</span></div>\n").size(),
              page.find("<div><span style=\"color:#cf0700\">line 1999</span></div>\n"));
    log.reset();

    // A later session of the same day goes on in the same files, the page's head written only once.
    SetNow(At(2026, 12, 11, 22, 0, 5));
    log = Make();
    log->Append(Line("again"));
    log.reset();
    EXPECT_EQ(expected + "--- Game text of Aldric from 2026-12-11 22:00:05 ---\nagain\n",
              Read("logs/Aldric-2026-12-11.txt"));
    const std::string both = Read("logs/Aldric-2026-12-11.html");
    EXPECT_EQ(1, Count(both, "<!DOCTYPE"));
    EXPECT_EQ(1, Count(both, "<body>"));
    EXPECT_EQ(0u, both.find(page));
    EXPECT_TRUE(ReportsSoFar().empty());
}

TEST_F(TextLogWriterTest, ASessionPastMidnightMovesToTheNextDaysFiles) {
    auto log = Make();
    SetNow(At(2026, 12, 31, 23, 59, 59));
    log->Append(Line("late"));
    SetNow(At(2027, 1, 1, 0, 0, 1));
    log->Append(Line("early"));
    log->Append(Line("later"));
    log.reset();
    EXPECT_EQ("--- Game text of Aldric from 2026-12-31 23:59:59 ---\nlate\n",
              Read("logs/Aldric-2026-12-31.txt"));
    EXPECT_EQ("--- Game text of Aldric from 2027-01-01 00:00:01 ---\nearly\nlater\n",
              Read("logs/Aldric-2027-01-01.txt"));
    const std::string newDay = Read("logs/Aldric-2027-01-01.html");
    EXPECT_EQ(0u, newDay.find("<!DOCTYPE html>"));
    EXPECT_EQ(std::string::npos, newDay.find("late<"));
}

TEST_F(TextLogWriterTest, AStalledDiskDropsAndCountsLinesWithoutHoldingTheWindow) {
    // Short lines fill the queue's count of lines; long ones its bytes first.
    struct Case {
        const char* what;
        std::size_t filler; // bytes after each line's number
        int lines;          // handed over while the disk stalls
    };
    const Case cases[] = {
        {"short lines", 0, int(TextLogWriter::kMaxQueuedLines) * 2 + 5},
        {"long lines", kMaxMarkupLineBytes, int(TextLogWriter::kMaxQueuedBytes / kMaxMarkupLineBytes) + 50},
    };
    for (const Case& c : cases) {
        // The day's plain file is a pipe nobody reads yet: the log's thread waits in opening it, as on a
        // stalled disk, while the window goes on handing lines over.
        const QString folder = QDir(Home.path()).filePath(QString::fromLatin1(c.what));
        QDir(folder).mkpath(QStringLiteral("logs"));
        const QByteArray pipe =
            QFile::encodeName(QDir(folder).filePath(QStringLiteral("logs/Aldric-2026-12-11.txt")));
        ASSERT_EQ(0, mkfifo(pipe.constData(), 0600));
        const std::string filler(c.filler, '.');
        auto log = Make(folder);
        log->Append(Line("0" + filler));
        for (int i = 0; i < 500 && log->Queued() > 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ASSERT_EQ(0u, log->Queued()) << c.what; // taken, and now waiting for the disk
        for (int i = 1; i <= c.lines; ++i)
            log->Append(Line(std::to_string(i) + filler));
        // Every line was handed over without waiting; the queue kept what its bounds hold.
        const int kept = int(log->Queued());
        EXPECT_LE(kept, int(TextLogWriter::kMaxQueuedLines)) << c.what;
        EXPECT_LE(std::size_t(kept) * c.filler, TextLogWriter::kMaxQueuedBytes) << c.what;
        EXPECT_LT(kept, c.lines) << c.what;
        if (c.filler == 0)
            EXPECT_EQ(int(TextLogWriter::kMaxQueuedLines), kept);
        else
            // one more line, of at most four digits, would have passed the bound
            EXPECT_GE(std::size_t(kept + 1) * (c.filler + 4 + 3 * sizeof(DrawOp)),
                      TextLogWriter::kMaxQueuedBytes)
                << c.what;
        // Now the disk takes them.
        std::string plain;
        std::thread reader([&] {
            std::ifstream in(pipe.constData(), std::ios::binary);
            std::ostringstream all;
            all << in.rdbuf();
            plain = std::move(all).str();
        });
        log->WaitUntilWritten();
        log->Append(Line("after"));
        log.reset();
        reader.join();

        // The lines that were kept come in order, then the log says how many are missing where they were.
        std::string expected = "--- Game text of Aldric from 2026-12-11 20:15:00 ---\n";
        for (int i = 0; i <= kept; ++i)
            expected += std::to_string(i) + filler + "\n";
        const std::string note =
            std::to_string(c.lines - kept) +
            " lines were not logged here: the game text came faster than the log could be written.";
        expected += "--- " + note + " ---\nafter\n";
        EXPECT_TRUE(expected == plain)
            << c.what << ": " << plain.size() << " bytes, " << expected.size() << " expected";
        // The page says the same.
        const std::string page = Read("logs/Aldric-2026-12-11.html", folder);
        EXPECT_EQ(kept + 2, Count(page, "<div><span")) << c.what;
        EXPECT_NE(std::string::npos, page.find("<div class=\"note\">" + note +
                                               "</div>\n<div><span style=\"color:#ffffff\">after<"))
            << c.what;
    }
    EXPECT_TRUE(ReportsSoFar().empty());
}

TEST_F(TextLogWriterTest, AFolderThatCannotBeWrittenIsReportedOnceAndTheLogStops) {
    struct Case {
        const char* what;
        std::function<void(const QDir&)> prepare;
        const char* reason; // part of the reported reason
    };
    const Case cases[] = {
        {"logs is a file",
         [](const QDir& home) {
             QFile f(home.filePath(QStringLiteral("logs")));
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
         },
         "(logs)"},
        {"a full disk",
         [](const QDir& home) {
             home.mkpath(QStringLiteral("logs"));
             ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"),
                                     home.filePath(QStringLiteral("logs/Aldric-2026-12-11.html"))));
         },
         "No space left on device (logs/Aldric-2026-12-11.html)"},
        {"the day's file is a folder",
         [](const QDir& home) { home.mkpath(QStringLiteral("logs/Aldric-2026-12-11.txt")); },
         "(logs/Aldric-2026-12-11.txt)"},
    };
    for (const Case& c : cases) {
        QTemporaryDir home;
        ASSERT_TRUE(home.isValid());
        c.prepare(QDir(home.path()));
        {
            std::lock_guard guard(reportLock);
            Reports.clear();
        }
        TextLogWriter log(
            home.path(), "Aldric",
            [this](const QString& reason) {
                std::lock_guard guard(reportLock);
                Reports.push_back(reason);
            },
            [] { return At(2026, 12, 11, 20, 15, 0).toMSecsSinceEpoch(); });
        log.Append(Line("first"));
        log.WaitUntilWritten();
        EXPECT_TRUE(log.Failed()) << c.what;
        for (int i = 0; i < 50; ++i)
            log.Append(Line("more"));
        log.WaitUntilWritten();
        const std::vector<QString> reports = ReportsSoFar();
        ASSERT_EQ(1u, reports.size()) << c.what;
        EXPECT_TRUE(reports[0].contains(QString::fromLatin1(c.reason)))
            << c.what << ": " << reports[0].toStdString();
    }
}

} // namespace
} // namespace gr
