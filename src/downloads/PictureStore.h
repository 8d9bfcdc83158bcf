#pragma once
// The game's pictures by number: loaded once from "gfx/N.jpg" in the data folder, or fetched from the web
// host's "/grpics/N.jpg" through the download service, with the placeholder DL shown meanwhile. Each
// picture is asked for once per run; one whose download failed is asked for again when it is next wanted,
// but no sooner than a minute after the failure. A body is kept only when it decodes as a picture of a
// sensible size. pictureArrived(N) tells the panels to redraw every slot that shows picture N.
//
// Memory: each picture is decoded straight to the size a slot shows at most (kShownSide), and the pictures
// held in memory are bounded as a whole (kHeldBytes): past it, those shown least recently are let go; they
// are on disk, and are read again when next shown.
#include <QObject>
#include <QPixmap>
#include <QString>
#include <chrono>
#include <functional>
#include <list>
#include <unordered_map>

#include "downloads/PictureSource.h"

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
    // The largest a slot shows a picture, in pixels either way: slots of a skin scaled up to a large screen
    // stay sharp, and a large picture costs no more than this.
    static constexpr int kShownSide = 256;
    // The pictures held in memory at once, in bytes of pixels: a few screens' worth of the largest pictures,
    // thousands of the game's usual small ones.
    static constexpr qint64 kHeldBytes = 48ll << 20;
    static constexpr std::chrono::seconds kRetryAfter{60};

    // The picture in bytes, when they decode as a picture no larger than kMaxPictureSide either way; decoded
    // to fit within kShownSide.
    static bool Decode(const QByteArray& bytes, QImage& image);
    // The bytes of pixels held now (never past kHeldBytes, but for the one picture just shown).
    qint64 HeldBytes() const { return Held; }

  signals:
    void pictureArrived(int number);

  private:
    struct Entry {
        enum class State { Loaded, Fetching, Failed } Is = State::Fetching;
        QPixmap Pixmap;
        std::chrono::steady_clock::time_point FailedAt;
        std::list<int>::iterator Shown; // its place in Recent, while Loaded
    };
    void Request(int number, Entry& entry);
    void Arrived(int number, bool saved, const QByteArray& body);
    // Holds the picture in the entry, as the one shown most recently, and lets go of the least recently
    // shown others while the whole is past kHeldBytes.
    void Hold(int number, Entry& entry, const QImage& image);
    void Touch(Entry& entry);

    Downloads& Service;
    QString Folder;
    Clock Now;
    QPixmap Placeholder;
    std::unordered_map<int, Entry> Pictures; // nodes: an entry stays put while others come and go
    std::list<int> Recent;                   // loaded pictures, the most recently shown first
    qint64 Held = 0;
};

} // namespace gr
