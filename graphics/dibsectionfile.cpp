#include "graphics/dibsectionfile.h"

#include "graphics/formats/dibfilewriter.h"

namespace vell {

QByteArray bitmapFileBytes(const cDIBSection& dib) {
    const ByteView bits = dib.Bits();
    if (bits.height() <= 0 || bits.width() <= 0)
        return {};
    // The buffer is one block, rows bottom-up as a BMP file holds them.
    const auto first = bits.row(0);
    const QByteArrayView rows(first.data(), qsizetype(bits.width()) * bits.height());
    return bitmapFile({dib.Width(), bits.height(), 24}, {}, rows);
}

} // namespace vell
