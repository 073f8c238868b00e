#include "graphics/formats/dibextent.h"

#include "graphics/formats/littleendian.h"

#include <algorithm>
#include <cstdint>

namespace vell {
namespace {

constexpr std::uint32_t BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3;

std::uint32_t field32(const QByteArray& d, qsizetype at) {
    return at >= 0 && at + 4 <= d.size() ? le::get32(d.constData() + at) : 0;
}
std::uint16_t field16(const QByteArray& d, qsizetype at) {
    return at >= 0 && at + 2 <= d.size() ? le::get16(d.constData() + at) : 0;
}

struct DibHeader {
    qint64 headerSize = 0, width = 0, height = 0; // height < 0: rows top-down
    int bits = 0;
    std::uint32_t compression = BI_RGB;
    qint64 colours = 0, colourSize = 4, masks = 0;
};

// The DIB header at `at`, as Qt's readers take it; nullopt-like (bits 0)
// for one they refuse anyway.
DibHeader readHeader(const QByteArray& d, qsizetype at) {
    DibHeader h;
    h.headerSize = field32(d, at);
    if (h.headerSize == 12) { // the old core header: 16-bit sizes, 3-byte colours
        h.width = field16(d, at + 4);
        h.height = field16(d, at + 6);
        h.bits = field16(d, at + 10);
        h.colourSize = 3;
    } else if (h.headerSize >= 40 && h.headerSize <= 124) {
        h.width = qint32(field32(d, at + 4));
        h.height = qint32(field32(d, at + 8));
        h.bits = field16(d, at + 14);
        h.compression = field32(d, at + 16);
        h.colours = field32(d, at + 32);
        if (h.compression == BI_BITFIELDS && h.headerSize == 40)
            h.masks = 12; // three masks after the header
    } else {
        return {};
    }
    if (h.bits <= 8 && h.colours == 0)
        h.colours = qint64(1) << h.bits;
    if (h.width <= 0 || h.height == 0 || h.bits == 0 || h.bits > 32 || h.colours > 256)
        return {};
    return h;
}

// Whether rows of stride bytes fit in room bytes, for sizes whose product
// would not fit in 64 bits.
bool rowsFit(qint64 stride, qint64 rows, qint64 room) {
    return rows == 0 || stride <= room / rows;
}

// Whether the RLE stream from `at` writes each of width x height pixels in
// order, without a skip, before it ends or its data does. Lines may run past
// the width (writers pad them to whole words): the reader drops the rest.
bool rleWritesEveryPixel(const QByteArray& d, qsizetype at, qint64 width, qint64 height,
                         bool rle4) {
    qint64 x = 0, y = 0;
    auto byte = [&](qsizetype i) { return quint8(d[i]); };
    while (at + 2 <= d.size()) {
        const int count = byte(at), code = byte(at + 1);
        at += 2;
        if (count > 0) { // a run of count pixels
            x += count;
            continue;
        }
        if (code == 0 || code == 1) { // end of line, end of bitmap
            if (x < width)
                return false; // the rest of the line is skipped
            x = 0;
            if (++y == height || code == 1)
                return y == height;
            continue;
        }
        if (code == 2)
            return false; // a skip leaves pixels unwritten
        // code pixels stored as they are, padded to a 16-bit boundary.
        const qint64 bytes = rle4 ? (code + 1) / 2 : code;
        at += qsizetype((bytes + 1) / 2 * 2);
        if (at > d.size())
            return false;
        x += code;
    }
    // The data ends: whole only if the last line was written in full.
    return y == height - 1 && x >= width;
}

} // namespace

bool bitmapFileIsWhole(const QByteArray& d) {
    if (d.size() < 14 + 12 || d[0] != 'B' || d[1] != 'M')
        return false;
    const DibHeader h = readHeader(d, 14);
    if (!h.bits)
        return false;
    // Qt reads the palette after the header and seeks forward to the pixel
    // offset; the pixels start at the later of the two.
    const qint64 afterPalette = 14 + h.headerSize + h.masks + h.colours * h.colourSize;
    const qint64 start = std::max<qint64>(field32(d, 10), afterPalette);
    switch (h.compression) {
    case BI_RGB:
    case BI_BITFIELDS: {
        const qint64 stride = (h.width * h.bits + 31) / 32 * 4;
        const qint64 rows = h.height < 0 ? -h.height : h.height;
        return start <= d.size() && rowsFit(stride, rows, d.size() - start);
    }
    case BI_RLE8:
    case BI_RLE4:
        return h.bits == (h.compression == BI_RLE8 ? 8 : 4) && h.height > 0 && start <= d.size() &&
               rleWritesEveryPixel(d, qsizetype(start), h.width, h.height,
                                   h.compression == BI_RLE4);
    default:
        return false;
    }
}

bool iconFileIsWhole(const QByteArray& d) {
    if (d.size() < 6 + 16 || field16(d, 0) != 0 || field16(d, 4) < 1)
        return false;
    const qint64 size = field32(d, 14), offset = field32(d, 18);
    if (offset < 6 + 16 || offset > d.size() || size > d.size() - offset)
        return false;
    const QByteArray entry = d.mid(qsizetype(offset), qsizetype(size));
    if (entry.startsWith("\x89PNG"))
        return true; // PNG's reader refuses data that end early
    const DibHeader h = readHeader(entry, 0);
    if (!h.bits || h.headerSize != 40 || h.compression != BI_RGB || h.height <= 0)
        return false;
    const qint64 height = h.height / 2; // colour rows, then as many mask rows
    const qint64 colourStride = (h.width * h.bits + 31) / 32 * 4;
    const qint64 maskStride = (h.width + 31) / 32 * 4;
    const qint64 pixels = h.headerSize + h.colours * 4;
    return pixels <= entry.size() &&
           rowsFit(colourStride + maskStride, height, entry.size() - pixels);
}

} // namespace vell
