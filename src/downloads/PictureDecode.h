#pragma once
// The one way a picture from outside (the web host, or a file it left in the data folder) is decoded. Our
// own check reads its header first (PictureHeader.h); the image reader is then told the format instead of
// guessing it, must report the size the check read, is held to an allocation limit of its own, and decodes
// straight to the size the picture is shown at, so that a picture costs what it shows, not what it claims.
#include <QImage>
#include <QSize>

class QByteArray;

namespace gr {

// The largest single image an image reader may allocate, in megabytes: a 4096 x 4096 picture at four bytes
// a pixel, the largest skin background.
constexpr int kPictureAllocationLimitMb = 64;

// The picture in bytes, when its header passes the check with no side past maxSide, and decoded to fit
// within fit (aspect ratio kept, never enlarged) when fit is valid. A null image otherwise.
QImage DecodePicture(const QByteArray& bytes, int maxSide, QSize fit = {});

} // namespace gr
