#pragma once
// Where the game window's panels get their pictures: by picture number, from the in-memory cache, the "gfx"
// folder or, while a picture is still on its way from the web host, a placeholder. Whoever owns the
// pictures says when one arrives (PictureArrived on each panel), and every slot that shows it is redrawn.
#include <QPixmap>

namespace gr {

// Picture numbers the web host serves; any other number asks for nothing and shows no picture.
constexpr int kFirstPictureNumber = 1000;
constexpr int kLastPictureNumber = 4000;

class PictureSource {
public:
    virtual ~PictureSource() = default;
    // The picture to show now for number: the picture itself, or the placeholder while its download is
    // queued or running (the download is queued by this call, once per run). A null pixmap for a number
    // outside kFirstPictureNumber to kLastPictureNumber.
    virtual QPixmap Picture(int number) = 0;
};

} // namespace gr
