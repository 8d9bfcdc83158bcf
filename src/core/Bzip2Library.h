#pragma once
// Loads libbz2 at run time. The client cannot read compressed batches without it and refuses to start.
#include <QString>

#include "core/Bzip2Api.h"

namespace gr {

// The default library name ("bz2", tried as version 1.0 and 1).
extern const QString kBzip2LibraryName;

// The three decompression entry points of the named library; incomplete when it cannot be loaded.
Bzip2Api LoadBzip2(const QString& libraryName);

} // namespace gr
