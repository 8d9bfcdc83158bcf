#include "text/TextLogWriter.h"

#include <QFile>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <utility>

#include "core/WireText.h"
#include "text/TextLog.h"

namespace gr {

namespace {

std::size_t BytesOf(const std::vector<DrawOp>& ops) {
    std::size_t bytes = ops.size() * sizeof(DrawOp);
    for (const DrawOp& op : ops)
        bytes += op.Text.size();
    return bytes;
}

QString ErrorText(int error) {
    return QString::fromStdString(std::error_code(error, std::generic_category()).message());
}

} // namespace

// The two files of the day being written, opened for appending.
class TextLogWriter::Files {
  public:
    Files(QString folder, std::string character)
        : folder(std::move(folder)), character(std::move(character)) {}
    ~Files() { Close(); }

    bool OpenFor(const QDate& date) const { return plain && date == day; }

    // Opens (making them when missing) the files of that day; false with the reason when that fails.
    bool Open(const QDate& date, QString& reason) {
        Close();
        const std::string stem = LogFileStem(character, LogDate{date.year(), date.month(), date.day()});
        if (stem.empty()) {
            reason = QStringLiteral("the character's name cannot be a file name");
            return false;
        }
        std::error_code error;
        const std::filesystem::path logs = Path(std::string(kLogFolder));
        std::filesystem::create_directories(logs, error);
        if (error) {
            reason = QString::fromStdString(error.message()) + QStringLiteral(" (") + FromWire(kLogFolder) +
                     QLatin1Char(')');
            return false;
        }
        plainName = stem + std::string(kPlainLogSuffix);
        htmlName = stem + std::string(kHtmlLogSuffix);
        plain = OpenOne(plainName, reason);
        if (!plain) return false;
        html = OpenOne(htmlName, reason);
        if (!html) return false;
        day = date;
        // A page made now gets its head; one that a session of the same day began goes on.
        if (std::fseek(html, 0, SEEK_END) != 0) return Failure(htmlName, reason);
        const long size = std::ftell(html);
        if (size < 0) return Failure(htmlName, reason);
        if (size == 0 && !Put(html, HtmlLogHeader(character))) return Failure(htmlName, reason);
        return true;
    }

    bool Put(const std::string& plainText, const std::string& htmlText, QString& reason) {
        if (!Put(plain, plainText)) return Failure(plainName, reason);
        if (!Put(html, htmlText)) return Failure(htmlName, reason);
        return true;
    }

    // Hands what was written to the system, so that a reader sees every line written so far.
    bool Flush(QString& reason) {
        if (plain && std::fflush(plain) != 0) return Failure(plainName, reason);
        if (html && std::fflush(html) != 0) return Failure(htmlName, reason);
        return true;
    }

    void Close() {
        for (std::FILE** file : {&plain, &html}) {
            if (*file) std::fclose(*file);
            *file = nullptr;
        }
    }

  private:
    std::filesystem::path Path(const std::string& wireName) const {
        const QByteArray local = QFile::encodeName(folder + QLatin1Char('/') + FromWire(wireName));
        return std::filesystem::path(std::string(local.constData(), std::size_t(local.size())));
    }

    std::FILE* OpenOne(const std::string& name, QString& reason) {
        std::FILE* file = std::fopen(Path(name).c_str(), "ab");
        if (!file) Failure(name, reason);
        return file;
    }

    static bool Put(std::FILE* file, const std::string& text) {
        return text.empty() || std::fwrite(text.data(), 1, text.size(), file) == text.size();
    }

    // The reason as the system gives it, and the file it concerns.
    bool Failure(const std::string& name, QString& reason) const {
        reason = ErrorText(errno) + QStringLiteral(" (") + FromWire(name) + QLatin1Char(')');
        return false;
    }

    const QString folder;
    const std::string character;
    QDate day;
    std::string plainName, htmlName;
    std::FILE* plain = nullptr;
    std::FILE* html = nullptr;
};

TextLogWriter::TextLogWriter(QString dataFolder, std::string character_, FailureReport failed_, Clock clock_)
    : folder(std::move(dataFolder)), character(std::move(character_)), failedReport(std::move(failed_)),
      clock(clock_ ? std::move(clock_) : Clock([] { return QDateTime::currentMSecsSinceEpoch(); })),
      worker([this] { Run(); }) {}

TextLogWriter::~TextLogWriter() {
    {
        std::lock_guard guard(lock);
        // Lines dropped at the very end are still counted in the log.
        if (dropped > 0 && !failed) queue.push_back(Entry{clock(), {}, 0, std::exchange(dropped, 0)});
        stopping = true;
    }
    wake.notify_all();
    worker.join();
}

void TextLogWriter::Append(const std::vector<DrawOp>& ops) {
    if (failed || ops.empty()) return;
    const std::size_t bytes = BytesOf(ops);
    Entry entry{clock(), {}, bytes, 0};
    {
        std::lock_guard guard(lock);
        if (queue.size() >= kMaxQueuedLines || queuedBytes + bytes > kMaxQueuedBytes) {
            ++dropped;
            return;
        }
        entry.Ops = ops;
        entry.DroppedBefore = std::exchange(dropped, 0);
        queuedBytes += bytes;
        queue.push_back(std::move(entry));
    }
    wake.notify_one();
}

void TextLogWriter::WaitUntilWritten() {
    std::unique_lock guard(lock);
    written.wait(guard, [this] { return (queue.empty() && inHand == 0) || failed; });
}

std::size_t TextLogWriter::Queued() {
    std::lock_guard guard(lock);
    return queue.size();
}

void TextLogWriter::Run() {
    Files files(folder, character);
    for (;;) {
        std::deque<Entry> batch;
        {
            std::unique_lock guard(lock);
            wake.wait(guard, [this] { return stopping || !queue.empty(); });
            if (queue.empty()) break; // stopping, and everything is written
            batch.swap(queue);
            queuedBytes = 0;
            inHand = batch.size();
        }
        // The disk is only touched here, with the queue free for the window.
        QString reason;
        bool ok = !failed;
        for (const Entry& entry : batch)
            if (ok) ok = Write(files, entry, reason);
        if (ok) ok = files.Flush(reason);
        if (!ok && !failed) {
            files.Close();
            failed = true;
            if (failedReport) failedReport(reason);
        }
        {
            std::lock_guard guard(lock);
            inHand = 0;
            if (failed) queue.clear(); // nothing more is written: the lines are let go
        }
        written.notify_all();
    }
}

bool TextLogWriter::Write(Files& files, const Entry& entry, QString& reason) {
    std::string plain;
    std::string html;
    const QDateTime time = QDateTime::fromMSecsSinceEpoch(entry.Time);
    const QDate date = time.date();
    if (!files.OpenFor(date)) {
        // A session's first line, or the first after midnight: a new file, or more of the day's.
        if (!files.Open(date, reason)) return false;
        const std::string note = "Game text of " + character + " from " +
                                 ToWire(time.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
        plain += PlainLogNote(note);
        html += HtmlLogNote(note);
    }
    if (entry.DroppedBefore > 0) {
        const std::string note = std::to_string(entry.DroppedBefore) +
                                 (entry.DroppedBefore == 1 ? " line was" : " lines were") +
                                 " not logged here: the game text came faster than the log could be written.";
        plain += PlainLogNote(note);
        html += HtmlLogNote(note);
    }
    plain += PlainLogLines(entry.Ops);
    html += HtmlLogLines(entry.Ops);
    return files.Put(plain, html, reason);
}

} // namespace gr
