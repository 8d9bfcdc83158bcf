#include "skin/PictureStore.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>

#include "skin/Downloads.h"
#include "skin/WebPaths.h"

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
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // The size is read from the header first, so a small file that claims a huge picture is never unpacked.
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > kMaxPictureSide || size.height() > kMaxPictureSide) return false;
    return reader.read(&image) && !image.isNull();
}

QPixmap PictureStore::Picture(int number) {
    if (!IsPictureNumber(number)) return {};
    auto it = Pictures.find(number);
    if (it == Pictures.end()) {
        it = Pictures.insert(number, Entry{});
        QFile file(QDir(Folder).filePath(Text(PictureFile(number))));
        QImage image;
        if (file.open(QIODevice::ReadOnly) && Decode(file.read(kMaxPictureBytes + 1), image)) {
            it->Is = Entry::State::Loaded;
            it->Pixmap = QPixmap::fromImage(image);
        } else {
            // Missing, or not a picture (then it is fetched again and replaced).
            Request(number, *it);
        }
    } else if (it->Is == Entry::State::Failed && Now() - it->FailedAt >= kRetryAfter) {
        Request(number, *it);
    }
    return it->Is == Entry::State::Loaded ? it->Pixmap : Placeholder;
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
        it->Is = Entry::State::Loaded;
        it->Pixmap = QPixmap::fromImage(image);
        emit pictureArrived(number);
        return;
    }
    it->Is = Entry::State::Failed;
    it->FailedAt = Now();
}

} // namespace gr
