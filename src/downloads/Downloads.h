#pragma once
// The client's one download service: fetches a path from the game's web host into a file below the data
// folder and says how it went. Pictures use it now; sounds, music and skins go through it as well.
//
// What it keeps: only a complete "200" answer whose body stays within the request's bound and passes the
// request's check; the file is written through QSaveFile, so a cut download never leaves half a file.
// What it asks: plain http to the deployment's web host only, "User-Agent: Gloamrest-Client", no redirect
// to another host, port or scheme, a path and a file of plain names (WebPaths.h). A few downloads run at
// once, one queue per kind, taken in turn; progress goes out through progressChanged.
#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <array>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "downloads/WebPaths.h"

class QNetworkAccessManager;
class QNetworkReply;

namespace gr {

// What a download is for; each kind has its own queue, and the queues take turns.
enum class DownloadKind { Picture, Sound, Music, Skin };
constexpr std::size_t kDownloadKinds = 4;

struct DownloadRequest {
    DownloadKind Kind = DownloadKind::Picture;
    QString Path;        // on the web host, e.g. "/grpics/1149.jpg"
    QString File;        // below the data folder, e.g. "gfx/1149.jpg"
    qint64 MaxBytes = 0; // a longer body is dropped (and its transfer stopped)
    // True when the body is worth keeping (a picture that decodes, a sound that plays); none keeps any body.
    std::function<bool(const QByteArray&)> Accept;
};

// How a download ended; Body holds the bytes written when Saved.
struct DownloadResult {
    bool Saved = false;
    QByteArray Body;
};

class Downloads : public QObject {
    Q_OBJECT
  public:
    using Done = std::function<void(const DownloadResult&)>;

    // web: the deployment's web host ("host" or "host:port"); folder: the data folder that local files are
    // relative to. A web host that is not a plain host and port makes every download fail at once.
    Downloads(const QString& web, const QString& folder, QObject* parent = nullptr);
    ~Downloads() override;

    // Queues a download; done is called once when it ends, unless context (when given) is gone by then. A
    // second request for a file already queued or running joins that download. False (and nothing queued,
    // done never called) when the path or the file is not a plain name, or the queue of the kind is full.
    bool Fetch(DownloadRequest request, QObject* context, Done done);

    int Running() const { return int(Active.size()); }
    int Queued() const;
    static constexpr int kMaxRunning = 3;           // at once, so one slow picture does not hold up the rest
    static constexpr std::size_t kMaxQueued = 4096; // per kind; more than every picture number there is
    // A transfer gives up its place when a window of this length passes with fewer than kMinBytesPerWindow
    // new bytes of body: a stalled host, and a host that trickles a byte now and then to hold the place
    // forever (a stall timeout alone is reset by every byte).
    static constexpr int kTransferTimeoutMs = 30000;
    static constexpr qint64 kMinBytesPerWindow = 16 * 1024;
    // What a reply may hold that has not been read yet: a few network reads' worth.
    static constexpr qint64 kReadBufferBytes = 64 * 1024;
    // Other values for the two (tests shorten the window); downloads started afterwards use them.
    void SetPace(int windowMs, qint64 minBytesPerWindow) {
        PaceWindowMs = windowMs;
        PaceMinBytes = minBytesPerWindow;
    }

  signals:
    // The number of downloads running and waiting changed; both 0 when everything is done.
    void progressChanged(int running, int queued);

  private:
    struct Waiter {
        QPointer<QObject> Context;
        bool Bound = false; // had a context: told only while it lives
        Done Call;
    };
    struct Job {
        DownloadRequest Request;
        std::vector<Waiter> Waiters;
        QByteArray Body;
        bool TooLong = false;
        qint64 BodyAtLastWindow = 0;
    };

    void SchedulePump();
    void Pump();
    void Start(Job job);
    void OnMetaData(QNetworkReply* reply);
    // At the end of each pace window: a transfer that brought too little since the last one is stopped.
    void CheckPace(QNetworkReply* reply);
    void OnReadyRead(QNetworkReply* reply);
    // Reads what has arrived into the job's body; false once the body is past its bound.
    static bool Take(QNetworkReply* reply, Job& job);
    void OnFinished(QNetworkReply* reply);
    bool IsComplete(QNetworkReply* reply, const Job& job) const;
    bool Save(const Job& job) const;
    static void Tell(Job& job, const DownloadResult& result);
    void Report();
    Job* FindJob(const QString& file);

    std::optional<WebHost> Host;
    QString Folder;
    QNetworkAccessManager* Manager;
    std::array<std::deque<Job>, kDownloadKinds> Queues;
    std::size_t NextKind = 0;
    std::map<QNetworkReply*, Job> Active;
    bool PumpPending = false;
    int PaceWindowMs = kTransferTimeoutMs;
    qint64 PaceMinBytes = kMinBytesPerWindow;
    int ReportedRunning = 0, ReportedQueued = 0;
};

} // namespace gr
