#pragma once
// The pictures of the local web host: one small JPEG for every picture number, made on demand with Qt and
// kept. Each number gets its own background colour, shape and the number itself drawn in a pixel font, so
// that a player sees at once which picture landed in which slot.
#include <QByteArray>
#include <QHash>

class QImage;

namespace gr::dev {

constexpr int kFirstPicture = 1000;
constexpr int kLastPicture = 4000;
// Width and height of every picture, in pixels.
constexpr int kPictureSize = 40;

// The JPEG bytes of picture `number` (kFirstPicture to kLastPicture); empty for any other number or when
// Qt cannot write JPEG.
QByteArray MakePicture(int number);
// An image as JPEG bytes at the host's quality; empty when Qt cannot write JPEG.
QByteArray JpegBytes(const QImage& image);
// Whether this Qt can write JPEG (its image format plugin is installed).
bool CanMakePictures();

// Pictures made once and kept for the life of the host: at most one per number.
class PictureCache {
  public:
    // The picture's bytes, made on first use; empty for numbers outside the range.
    const QByteArray& Picture(int number);
    qsizetype Size() const { return Made.size(); }

  private:
    QHash<int, QByteArray> Made;
    QByteArray None;
};

} // namespace gr::dev
