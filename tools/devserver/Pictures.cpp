#include "devserver/Pictures.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPolygon>

#include <array>

namespace gr::dev {

namespace {

// Digits 0 to 9 in 3 x 5 pixels, a row per entry, the leftmost pixel in the highest of three bits.
constexpr std::array<std::array<int, 5>, 10> kDigits = {{
    {7, 5, 5, 5, 7}, // 0
    {2, 6, 2, 2, 7}, // 1
    {7, 1, 7, 4, 7}, // 2
    {7, 1, 7, 1, 7}, // 3
    {5, 5, 7, 1, 1}, // 4
    {7, 4, 7, 1, 7}, // 5
    {7, 4, 7, 5, 7}, // 6
    {7, 1, 1, 1, 1}, // 7
    {7, 5, 7, 5, 7}, // 8
    {7, 5, 7, 1, 7}, // 9
}};

// Draws the four digits of `number` across the bottom of the picture on a dark band.
void DrawNumber(QPainter& painter, int number) {
    constexpr int kScale = 2;
    constexpr int kDigitWidth = 3 * kScale;
    constexpr int kGap = kScale;
    constexpr int kWidth = 4 * kDigitWidth + 3 * kGap;
    constexpr int kLeft = (kPictureSize - kWidth) / 2;
    constexpr int kTop = kPictureSize - 5 * kScale - 2;
    painter.fillRect(0, kTop - 2, kPictureSize, kPictureSize - kTop + 2, QColor(0, 0, 0));
    const QString text = QString::number(number);
    for (int d = 0; d < text.size() && d < 4; ++d) {
        const auto& rows = kDigits.at(std::size_t(text[d].digitValue()));
        const int x0 = kLeft + d * (kDigitWidth + kGap);
        for (int row = 0; row < 5; ++row) {
            for (int column = 0; column < 3; ++column) {
                if ((rows[std::size_t(row)] >> (2 - column)) & 1)
                    painter.fillRect(x0 + column * kScale, kTop + row * kScale, kScale, kScale, Qt::white);
            }
        }
    }
}

} // namespace

bool CanMakePictures() {
    return QImageWriter::supportedImageFormats().contains("jpg");
}

QByteArray MakePicture(int number) {
    if (number < kFirstPicture || number > kLastPicture) return {};
    QImage image(kPictureSize, kPictureSize, QImage::Format_RGB32);
    // Neighbouring numbers get far-apart hues; the shape cycles through four.
    const int hue = (number * 47) % 360;
    image.fill(QColor::fromHsv(hue, 160, 230));
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor::fromHsv((hue + 180) % 360, 220, 120));
        const QRect area(8, 3, 24, 22);
        switch (number % 4) {
        case 0:
            painter.drawEllipse(area);
            break;
        case 1:
            painter.drawRect(area.adjusted(2, 2, -2, -2));
            break;
        case 2:
            painter.drawPolygon(QPolygon({QPoint(20, 3), QPoint(32, 14), QPoint(20, 25), QPoint(8, 14)}));
            break;
        default:
            painter.drawPolygon(QPolygon({QPoint(20, 3), QPoint(32, 25), QPoint(8, 25)}));
            break;
        }
        DrawNumber(painter, number);
    }
    return JpegBytes(image);
}

const QByteArray& PictureCache::Picture(int number) {
    if (number < kFirstPicture || number > kLastPicture) return None;
    const auto it = Made.constFind(number);
    if (it != Made.constEnd()) return *it;
    return *Made.insert(number, MakePicture(number));
}

QByteArray JpegBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpg");
    writer.setQuality(90);
    if (!writer.write(image)) return {};
    return bytes;
}

} // namespace gr::dev
