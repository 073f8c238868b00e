// A surface as an uncompressed 24-bit bottom-up BMP file: the file's pixel
// rows are the surface's buffer rows as they stand, padding included.
#pragma once

#include "graphics/dibsection.h"

#include <QByteArray>

namespace vell {

// An empty array for a surface without a pixel buffer, or one too large for
// a BMP file.
QByteArray bitmapFileBytes(const cDIBSection& dib);

} // namespace vell
