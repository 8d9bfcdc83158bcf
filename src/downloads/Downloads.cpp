#include "downloads/Downloads.h"

#include <QDir>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QTimer>

#include <algorithm>

namespace gr {

namespace {
const QByteArray kUserAgent = QByteArrayLiteral("Gloamrest-Client");
constexpr int kMaxRedirects = 3;
} // namespace

Downloads::Downloads(const QString& web, const QString& folder, QObject* parent)
    : QObject(parent), Host(ParseWebHost(web.toStdString())), Folder(folder),
      Manager(new QNetworkAccessManager(this)) {
    // Redirects are followed only to the same host, port and scheme; any other one ends the download.
    Manager->setRedirectPolicy(QNetworkRequest::SameOriginRedirectPolicy);
    // Straight to the web host, as the game's own connection goes: no proxy found in the environment
    // decides where our requests go.
    Manager->setProxy(QNetworkProxy::NoProxy);
}

Downloads::~Downloads() {
    // Nobody is told about downloads that end with the service.
    for (auto& [reply, job] : Active) {
        disconnect(reply, nullptr, this, nullptr);
        reply->abort();
        delete reply;
    }
    Active.clear();
}

int Downloads::Queued() const {
    std::size_t n = 0;
    for (const auto& queue : Queues)
        n += queue.size();
    return int(n);
}

Downloads::Job* Downloads::FindJob(const QString& file) {
    for (auto& [reply, job] : Active)
        if (job.Request.File == file) return &job;
    for (auto& queue : Queues)
        for (auto& job : queue)
            if (job.Request.File == file) return &job;
    return nullptr;
}

bool Downloads::Fetch(DownloadRequest request, QObject* context, Done done) {
    if (!IsSafeWebPath(request.Path.toStdString()) || !IsSafeLocalFile(request.File.toStdString()))
        return false;
    if (Job* same = FindJob(request.File)) {
        same->Waiters.push_back({context, context != nullptr, std::move(done)});
        return true;
    }
    request.MaxBytes = std::max<qint64>(request.MaxBytes, 0);
    auto& queue = Queues[std::size_t(request.Kind) % kDownloadKinds];
    if (queue.size() >= kMaxQueued) return false;
    Job job;
    job.Request = std::move(request);
    job.Waiters.push_back({context, context != nullptr, std::move(done)});
    queue.push_back(std::move(job));
    Report();
    SchedulePump();
    return true;
}

void Downloads::SchedulePump() {
    // Started from the event loop, never inside the caller's own call: a caller may be painting a panel,
    // and a download that fails at once must not call it back from within.
    if (PumpPending) return;
    PumpPending = true;
    QTimer::singleShot(0, this, [this] {
        PumpPending = false;
        Pump();
    });
}

void Downloads::Pump() {
    // The queues take turns, so a long list of one kind does not starve the others.
    while (Running() < kMaxRunning && Queued() > 0) {
        for (std::size_t tried = 0; tried < kDownloadKinds; ++tried) {
            auto& queue = Queues[NextKind];
            NextKind = (NextKind + 1) % kDownloadKinds;
            if (queue.empty()) continue;
            Job job = std::move(queue.front());
            queue.pop_front();
            Start(std::move(job));
            break;
        }
    }
    Report();
}

void Downloads::Start(Job job) {
    if (!Host) {
        Tell(job, {});
        return;
    }
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(QString::fromStdString(Host->Host));
    url.setPort(Host->Port);
    url.setPath(job.Request.Path);
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, kUserAgent);
    // The body as it is on the host: its length is then the announced length, and the bound counts the
    // bytes that arrive.
    request.setRawHeader("Accept-Encoding", "identity");
    request.setMaximumRedirectsAllowed(kMaxRedirects);
    request.setTransferTimeout(PaceWindowMs);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    QNetworkReply* reply = Manager->get(request);
    // Qt gathers a reply's bytes before we see them; its buffer is bounded, so a body that never ends holds
    // the transfer back (the host waits) instead of filling memory, and every byte is counted as it is read.
    reply->setReadBufferSize(kReadBufferBytes);
    Active.emplace(reply, std::move(job));
    connect(reply, &QNetworkReply::metaDataChanged, this, [this, reply] { OnMetaData(reply); });
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] { OnReadyRead(reply); });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { OnFinished(reply); });
    // The pace timer belongs to the reply, so it ends with it.
    auto* pace = new QTimer(reply);
    pace->setInterval(PaceWindowMs);
    connect(pace, &QTimer::timeout, this, [this, reply] { CheckPace(reply); });
    pace->start();
}

void Downloads::CheckPace(QNetworkReply* reply) {
    const auto it = Active.find(reply);
    if (it == Active.end()) return;
    Job& job = it->second;
    Take(reply, job); // count what has arrived but not yet been read
    if (!job.TooLong && job.Body.size() - job.BodyAtLastWindow >= PaceMinBytes) {
        job.BodyAtLastWindow = job.Body.size();
        return;
    }
    reply->abort(); // finishes the reply; nothing here may touch it afterwards
}

void Downloads::OnMetaData(QNetworkReply* reply) {
    const auto it = Active.find(reply);
    if (it == Active.end()) return;
    // A body announced past the bound is not worth waiting for.
    bool ok = false;
    const qint64 length = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong(&ok);
    if (ok && length > it->second.Request.MaxBytes) {
        it->second.TooLong = true;
        reply->abort(); // finishes the reply; nothing here may touch it afterwards
    }
}

bool Downloads::Take(QNetworkReply* reply, Job& job) {
    if (job.TooLong) return false;
    if (!reply->isOpen()) return true; // stopped: nothing more to read
    job.Body += reply->read(job.Request.MaxBytes + 1 - job.Body.size());
    if (job.Body.size() <= job.Request.MaxBytes) return true;
    // Bodies are bounded: past the bound nothing is kept.
    job.TooLong = true;
    job.Body.clear();
    return false;
}

void Downloads::OnReadyRead(QNetworkReply* reply) {
    const auto it = Active.find(reply);
    if (it == Active.end()) return;
    if (!Take(reply, it->second)) reply->abort(); // finishes the reply; nothing here may touch it afterwards
}

bool Downloads::IsComplete(QNetworkReply* reply, const Job& job) const {
    if (reply->error() != QNetworkReply::NoError) return false;
    if (reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() != 200) return false;
    // Where the answer finally came from: our host, port and scheme, whatever the redirect policy did.
    const QUrl from = reply->url();
    if (from.scheme() != QLatin1String("http") ||
        from.host().compare(QString::fromStdString(Host->Host), Qt::CaseInsensitive) != 0 ||
        from.port(80) != Host->Port)
        return false;
    // The whole body: as long as announced, or ended by the last chunk of a chunked body. A body that
    // only ends when the connection closes may have been cut, so it is not kept.
    bool ok = false;
    const qint64 length = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong(&ok);
    if (ok) return length == job.Body.size();
    return reply->rawHeader("Transfer-Encoding").toLower().contains("chunked");
}

void Downloads::OnFinished(QNetworkReply* reply) {
    const auto it = Active.find(reply);
    if (it == Active.end()) return;
    Take(reply, it->second); // what is left to read
    Job job = std::move(it->second);
    Active.erase(reply);
    reply->deleteLater();

    DownloadResult result;
    if (!job.TooLong && IsComplete(reply, job) && (!job.Request.Accept || job.Request.Accept(job.Body)) &&
        Save(job)) {
        result.Saved = true;
        result.Body = std::move(job.Body);
    }
    Report();
    SchedulePump();
    Tell(job, result);
}

bool Downloads::Save(const Job& job) const {
    const QString path = QDir(Folder).filePath(job.Request.File);
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(job.Body) != job.Body.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

void Downloads::Tell(Job& job, const DownloadResult& result) {
    for (auto& waiter : job.Waiters)
        if (waiter.Call && (waiter.Context || !waiter.Bound)) waiter.Call(result);
}

void Downloads::Report() {
    if (Running() == ReportedRunning && Queued() == ReportedQueued) return;
    ReportedRunning = Running();
    ReportedQueued = Queued();
    emit progressChanged(ReportedRunning, ReportedQueued);
}

} // namespace gr
