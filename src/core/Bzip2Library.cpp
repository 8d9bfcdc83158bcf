#include "core/Bzip2Library.h"

#include <QLibrary>

namespace gr {

const QString kBzip2LibraryName = QStringLiteral("bz2");

Bzip2Api LoadBzip2(const QString& libraryName) {
    Bzip2Api api;
    for (const char* version : {"1.0", "1", ""}) {
        // The library stays loaded for the rest of the run: nothing unloads it.
        QLibrary library(libraryName, QLatin1String(version));
        if (!library.load()) continue;
        api.DecompressInit = reinterpret_cast<decltype(api.DecompressInit)>(library.resolve("BZ2_bzDecompressInit"));
        api.Decompress = reinterpret_cast<decltype(api.Decompress)>(library.resolve("BZ2_bzDecompress"));
        api.DecompressEnd = reinterpret_cast<decltype(api.DecompressEnd)>(library.resolve("BZ2_bzDecompressEnd"));
        if (api.Complete()) return api;
        api = {};
    }
    return api;
}

} // namespace gr
