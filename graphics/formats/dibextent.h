// Whether Qt's BMP and ICO readers will fill every pixel of a file from its
// own bytes. Qt's readers stop at the end of short pixel data, or at an RLE
// skip, and hand back the image with the rest of its rows as the heap left
// them; these checks let through only files where that cannot happen.
#pragma once

#include <QByteArray>

namespace vell {

// A BMP (any header Qt reads; uncompressed, bit fields or RLE) whose pixel
// data covers every row, and whose RLE stream writes every pixel without a
// skip and ends in the data.
bool bitmapFileIsWhole(const QByteArray& data);

// An ICO whose first image (the one Qt reads) lies wholly in the file: a PNG,
// or a DIB with its palette, colour pixels and mask.
bool iconFileIsWhole(const QByteArray& data);

} // namespace vell
