#pragma once
// Writes the game text log (game/TextLog.h) without ever making the window wait for the disk: the window
// hands each drawn line to a bounded queue, and a thread of the log's own appends the queued lines to the
// day's files.
#include <QDateTime>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "text/TextMarkup.h"

namespace gr {

class TextLogWriter {
  public:
    // The queue holds what a stalled disk has not yet taken. A flood of game text is some hundreds of lines
    // a second, so 10,000 lines ride out a disk that stalls for several seconds; and since the server
    // decides how long lines are, the queue also stops at 32 MiB of text. Lines beyond either bound are
    // dropped and counted, and the log says how many were dropped where they were.
    static constexpr std::size_t kMaxQueuedLines = 10000;
    static constexpr std::size_t kMaxQueuedBytes = 32u << 20;

    // The time a line is drawn, in milliseconds since the epoch (cheap to take for every line); the log's
    // thread turns it into local time, whose date picks the day's files.
    using Clock = std::function<qint64()>;
    // Told once, on the log's own thread, when the files cannot be written (the reason as the system gives
    // it); after that the log writes nothing more.
    using FailureReport = std::function<void(const QString& reason)>;

    // character must be a safe file name part (core/SafeName.h); a name that is not fails at the first line.
    TextLogWriter(QString dataFolder, std::string character, FailureReport failed, Clock clock = {});
    // Writes what is still queued, then ends the log's thread.
    ~TextLogWriter();
    TextLogWriter(const TextLogWriter&) = delete;
    TextLogWriter& operator=(const TextLogWriter&) = delete;

    // Called by the window for every drawn line; takes the time and queues the line, never waits for the
    // disk.
    void Append(const std::vector<DrawOp>& ops);
    // Waits until every line queued so far is written (or given up): for tests and for a clean ending.
    void WaitUntilWritten();
    bool Failed() const { return failed.load(); }
    // Lines queued and not yet taken by the log's thread.
    std::size_t Queued();

  private:
    struct Entry {
        qint64 Time = 0; // milliseconds since the epoch
        std::vector<DrawOp> Ops;
        std::size_t Bytes = 0;
        std::size_t DroppedBefore = 0; // lines dropped between the entry before and this one
    };
    class Files;

    void Run();
    // Appends one entry to the day's files; false (with the reason) when that fails.
    bool Write(Files& files, const Entry& entry, QString& reason);

    const QString folder;
    const std::string character;
    const FailureReport failedReport;
    const Clock clock;

    std::mutex lock;
    std::condition_variable wake;    // the log's thread: lines arrived, or the end
    std::condition_variable written; // WaitUntilWritten: the queue was taken and written
    std::deque<Entry> queue;
    std::size_t queuedBytes = 0;
    std::size_t dropped = 0; // lines dropped since the last one queued
    std::size_t inHand = 0;  // lines taken by the log's thread and not yet written
    bool stopping = false;
    std::atomic<bool> failed = false;
    std::thread worker; // last: started once everything above is in place
};

} // namespace gr
