#include "sound/SoundPlayer.h"

#include <QDir>
#include <QFile>

#include "platform/Media.h"
#include "downloads/Downloads.h"

namespace gr {

namespace {
MediaAlias AliasOf(SoundKind kind) {
    return kind == SoundKind::Effect ? MediaAlias::Sound : MediaAlias::Midi;
}
std::size_t Slot(SoundKind kind) {
    return kind == SoundKind::Effect ? 0 : 1;
}
} // namespace

SoundPlayer::SoundPlayer(Media& media, Downloads& downloads, QString folder,
                         std::function<void(const std::string&)> say,
                         std::function<void(const QString&)> downloading, QObject* parent)
    : QObject(parent), Device(media), Service(downloads), Folder(std::move(folder)), Say(std::move(say)),
      Downloading(std::move(downloading)) {
    // What the device finds out while playing (a piece too heavy to play in time) goes to the game text.
    Device.OnNotice([this](const QString& line) { Say(line.toStdString()); });
}

SoundPlayer::~SoundPlayer() {
    Device.OnNotice({});
}

void SoundPlayer::PlaySoundEffect(const std::string& name) {
    Play(SoundKind::Effect, name);
}

void SoundPlayer::PlayMusic(const std::string& name) {
    Play(SoundKind::Music, name);
    if (!name.empty()) CurrentMusic = name;
}

void SoundPlayer::StopAll() {
    Device.Stop(MediaAlias::Sound);
    Device.Stop(MediaAlias::Midi);
    Device.Close(MediaAlias::Sound);
    Device.Close(MediaAlias::Midi);
    Wait[0] = {};
    Wait[1] = {};
    ShowDownloading();
}

void SoundPlayer::Play(SoundKind kind, const std::string& name) {
    const MediaAlias alias = AliasOf(kind);
    Device.Stop(alias);
    Device.Close(alias);
    Waiting& wait = Wait[Slot(kind)];
    wait = {}; // a newer request replaces one still waiting
    const auto file = name.empty() ? std::nullopt : SoundFileFor(kind, name);
    if (!file) {
        ShowDownloading();
        return;
    }
    const QString local = QDir(Folder).filePath(QString::fromStdString(file->Local));
    if (IsKept(kind, local)) {
        ShowDownloading();
        Start(kind, local);
        return;
    }
    DownloadRequest request;
    request.Kind = kind == SoundKind::Effect ? DownloadKind::Sound : DownloadKind::Music;
    request.Path = QString::fromStdString(file->Web);
    request.File = QString::fromStdString(file->Local);
    request.MaxBytes = qint64(MaxSoundBytes(kind));
    request.Accept = [kind](const QByteArray& body) {
        return IsSoundFile(kind, std::string_view(body.constData(), std::size_t(body.size())));
    };
    if (Service.Fetch(std::move(request), this, [this, kind, name](const DownloadResult& result) {
            Arrived(kind, name, result.Saved);
        }))
        wait = {name, local};
    ShowDownloading();
}

bool SoundPlayer::IsKept(SoundKind kind, const QString& file) {
    // A file that is not what it claims (cut short, or left by something else) is fetched again rather
    // than handed to the player. Both are checked whole: an effect's samples must lie within the file.
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly) || f.size() > qint64(MaxSoundBytes(kind))) return false;
    const QByteArray bytes = f.read(qint64(MaxSoundBytes(kind)));
    return IsSoundFile(kind, std::string_view(bytes.constData(), std::size_t(bytes.size())));
}

void SoundPlayer::Arrived(SoundKind kind, const std::string& name, bool saved) {
    Waiting& wait = Wait[Slot(kind)];
    if (wait.Name != name) return; // replaced or stopped meanwhile: the file is kept, nothing plays
    const QString file = wait.File;
    wait = {};
    ShowDownloading();
    if (saved) Start(kind, file);
}

void SoundPlayer::Start(SoundKind kind, const QString& file) {
    const MediaAlias alias = AliasOf(kind);
    if (Device.Open(alias, file)) Device.Play(alias);
    TellProblem();
}

void SoundPlayer::ShowDownloading() {
    if (!Wait[0].Name.empty())
        Downloading(QStringLiteral("Downloading Sound Effect"));
    else if (!Wait[1].Name.empty())
        Downloading(QStringLiteral("Downloading Music"));
    else
        Downloading(QString());
}

void SoundPlayer::TellProblem() {
    const QString problem = Device.Problem();
    if (problem.isEmpty() || ProblemTold) return;
    ProblemTold = true;
    Say(problem.toStdString());
}

} // namespace gr
