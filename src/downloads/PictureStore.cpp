#include "downloads/PictureStore.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>

#include "downloads/Downloads.h"
#include "downloads/PictureDecode.h"
#include "downloads/WebPaths.h"

namespace gr {

namespace {

static_assert(kFirstPictureNumber == 1000 && kLastPictureNumber == 4000);

// The placeholder: a small hourglass in a dotted frame, drawn once.
QPixmap PaintPlaceholder() {
    QPixmap pixmap(32, 32);
    pixmap.fill(QColor(0x20, 0x20, 0x20));
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x90, 0x90, 0x90), 1, Qt::DotLine));
    painter.drawRect(1, 1, 29, 29);
    painter.setPen(QPen(QColor(0xd0, 0xb0, 0x60), 1.5));
    painter.setBrush(QColor(0xd0, 0xb0, 0x60, 0x60));
    const QPointF glass[] = {{10, 8}, {22, 8}, {16, 16}, {22, 24}, {10, 24}, {16, 16}};
    painter.drawPolygon(glass, 6);
    return pixmap;
}

qint64 PixelBytes(const QPixmap& pixmap) {
    return qint64(pixmap.width()) * pixmap.height() * std::max(pixmap.depth(), 8) / 8;
}

QString Text(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

PictureStore::PictureStore(Downloads& downloads, const QString& folder, Clock clock, QObject* parent)
    : QObject(parent), Service(downloads), Folder(folder),
      Now(clock ? std::move(clock) : Clock([] { return std::chrono::steady_clock::now(); })),
      Placeholder(PaintPlaceholder()) {}

bool PictureStore::Decode(const QByteArray& bytes, QImage& image) {
    if (bytes.isEmpty() || bytes.size() > kMaxPictureBytes) return false;
    image = DecodePicture(bytes, kMaxPictureSide, QSize(kShownSide, kShownSide));
    return !image.isNull();
}

void PictureStore::Touch(Entry& entry) {
    Recent.splice(Recent.begin(), Recent, entry.Shown);
}

void PictureStore::Hold(int number, Entry& entry, const QImage& image) {
    if (entry.Is == Entry::State::Loaded) {
        Held -= PixelBytes(entry.Pixmap);
        Recent.erase(entry.Shown);
    }
    entry.Is = Entry::State::Loaded;
    entry.Pixmap = QPixmap::fromImage(image);
    Held += PixelBytes(entry.Pixmap);
    entry.Shown = Recent.insert(Recent.begin(), number);
    while (Held > kHeldBytes && Recent.size() > 1) {
        const int oldest = Recent.back();
        Recent.pop_back();
        const auto it = Pictures.find(oldest);
        Held -= PixelBytes(it->second.Pixmap);
        Pictures.erase(it); // read again from its file when next shown
    }
}

QPixmap PictureStore::Picture(int number) {
    if (!IsPictureNumber(number)) return {};
    auto it = Pictures.find(number);
    if (it == Pictures.end()) {
        it = Pictures.emplace(number, Entry{}).first;
        QFile file(QDir(Folder).filePath(Text(PictureFile(number))));
        QImage image;
        if (file.open(QIODevice::ReadOnly) && Decode(file.read(kMaxPictureBytes + 1), image)) {
            Hold(number, it->second, image);
        } else {
            // Missing, or not a picture (then it is fetched again and replaced).
            Request(number, it->second);
        }
    } else if (it->second.Is == Entry::State::Loaded) {
        Touch(it->second);
    } else if (it->second.Is == Entry::State::Failed && Now() - it->second.FailedAt >= kRetryAfter) {
        Request(number, it->second);
    }
    return it->second.Is == Entry::State::Loaded ? it->second.Pixmap : Placeholder;
}

void PictureStore::Request(int number, Entry& entry) {
    entry.Is = Entry::State::Fetching;
    DownloadRequest request;
    request.Kind = DownloadKind::Picture;
    request.Path = Text(PictureWebPath(number));
    request.File = Text(PictureFile(number));
    request.MaxBytes = kMaxPictureBytes;
    request.Accept = [](const QByteArray& body) {
        QImage image;
        return Decode(body, image);
    };
    const bool queued = Service.Fetch(std::move(request), this, [this, number](const DownloadResult& result) {
        Arrived(number, result.Saved, result.Body);
    });
    if (!queued) {
        entry.Is = Entry::State::Failed;
        entry.FailedAt = Now();
    }
}

void PictureStore::Arrived(int number, bool saved, const QByteArray& body) {
    const auto it = Pictures.find(number);
    if (it == Pictures.end()) return;
    QImage image;
    if (saved && Decode(body, image)) {
        Hold(number, it->second, image);
        emit pictureArrived(number);
        return;
    }
    it->second.Is = Entry::State::Failed;
    it->second.FailedAt = Now();
}

} // namespace gr
