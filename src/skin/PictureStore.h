#pragma once
// The game's pictures by number: loaded once from "gfx/N.jpg" in the data folder, or fetched from the web
// host's "/grpics/N.jpg" through the download service, with the placeholder DL shown meanwhile. Each
// picture is asked for once per run; one whose download failed is asked for again when it is next wanted,
// but no sooner than a minute after the failure. A body is kept only when it decodes as a picture of a
// sensible size. pictureArrived(N) tells the panels to redraw every slot that shows picture N.
#include <QHash>
#include <QObject>
#include <QPixmap>
#include <QString>
#include <chrono>
#include <functional>

#include "skin/PictureSource.h"

class QByteArray;
class QImage;

namespace gr {

class Downloads;

class PictureStore final : public QObject, public PictureSource {
    Q_OBJECT
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    // folder: the data folder, below which "gfx" lies. clock: the steady clock unless a test gives one.
    PictureStore(Downloads& downloads, const QString& folder, Clock clock = {}, QObject* parent = nullptr);

    QPixmap Picture(int number) override;
    // The placeholder DL: what a slot shows while its picture is on its way.
    const QPixmap& DL() const { return Placeholder; }

    static constexpr qint64 kMaxPictureBytes = 1 << 20;
    static constexpr int kMaxPictureSide = 2048; // pixels; a larger picture is not one of the game's
    static constexpr std::chrono::seconds kRetryAfter{60};

    // The picture in bytes, when they decode as a picture no larger than kMaxPictureSide either way.
    static bool Decode(const QByteArray& bytes, QImage& image);

signals:
    void pictureArrived(int number);

private:
    struct Entry {
        enum class State { Loaded, Fetching, Failed } Is = State::Fetching;
        QPixmap Pixmap;
        std::chrono::steady_clock::time_point FailedAt;
    };
    void Request(int number, Entry& entry);
    void Arrived(int number, bool saved, const QByteArray& body);

    Downloads& Service;
    QString Folder;
    Clock Now;
    QPixmap Placeholder;
    QHash<int, Entry> Pictures;
};

} // namespace gr
