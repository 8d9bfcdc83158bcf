#include "downloads/PictureDecode.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

#include "downloads/PictureHeader.h"

namespace gr {

QImage DecodePicture(const QByteArray& bytes, int maxSide, QSize fit) {
    const auto header =
        ReadPictureHeader(std::string_view(bytes.constData(), std::size_t(bytes.size())), maxSide);
    if (!header) return {};
    // Process-wide in the image readers; ours is the only decoding of outside pictures there is.
    QImageReader::setAllocationLimit(kPictureAllocationLimitMb);
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, PictureFormatName(header->Format));
    reader.setAutoDetectImageFormat(false);
    // The reader's own idea of the size, after it has chosen what to decode, is the size that was checked.
    const QSize size(header->Width, header->Height);
    if (reader.size() != size) return {};
    if (fit.isValid() && (size.width() > fit.width() || size.height() > fit.height()))
        reader.setScaledSize(size.scaled(fit, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    QImage image;
    if (!reader.read(&image) || image.isNull()) return {};
    return image;
}

} // namespace gr
