// A downloaded picture through our check into Qt's image readers, as the picture store decodes it: no
// larger than the store keeps, its header read first, then the reader of the format the header named,
// held to its allocation limit and decoded to the size a slot shows at most. Runs under the offscreen
// platform, as the client's tests do.
//
// What must hold: a picture comes back only when its header passed the check, and then at the size the
// header gave, brought within the shown size (aspect ratio kept, never enlarged).
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QSize>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "MediaTargets.h"
#include "downloads/PictureDecode.h"
#include "downloads/PictureHeader.h"
#include "downloads/PictureStore.h"

namespace {

using gr::PictureStore;
using gr::fuzz::Check;

// The application the image readers' plugins are loaded for, made once per process.
void MakeApplication() {
    if (QCoreApplication::instance()) return;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // The readers warn about every damaged file; a fuzz run would print little else.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    static int argc = 1;
    static char name[] = "fuzz_pictures";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
}

} // namespace

int gr::fuzz::Pictures(const std::uint8_t* data, std::size_t size) {
    MakeApplication();
    // The store's limits: no larger a body than it keeps, no larger a side than it accepts, and decoded to
    // fit within the side a slot shows at most (PictureStore::Decode).
    if (size == 0 || size > std::size_t(PictureStore::kMaxPictureBytes)) return 0;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const QSize shown(PictureStore::kShownSide, PictureStore::kShownSide);
    const QImage image = gr::DecodePicture(bytes, PictureStore::kMaxPictureSide, shown);
    const auto header = gr::ReadPictureHeader(std::string_view(reinterpret_cast<const char*>(data), size),
                                              PictureStore::kMaxPictureSide);
    // The readers' work differs by format, by whether they read the picture through, by the pixel format
    // it decoded to and by its size.
    if (header) {
        const std::size_t format = std::size_t(header->Format);
        Saw(format * 2 + (image.isNull() ? 0 : 1));
        Saw(16 + format * 64 + std::size_t(image.format()));
        Saw(512 + format * 32 + Magnitude(std::uint64_t(header->Width)));
        Saw(768 + format * 32 + Magnitude(std::uint64_t(header->Height)));
    }
    if (image.isNull()) return 0;
    Check(header.has_value());
    const QSize stated(header->Width, header->Height);
    const QSize expected = stated.width() <= shown.width() && stated.height() <= shown.height()
                               ? stated
                               : stated.scaled(shown, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    Check(image.size() == expected);
    return 0;
}

GLOAMREST_FUZZ_ENTRY(gr::fuzz::Pictures)
