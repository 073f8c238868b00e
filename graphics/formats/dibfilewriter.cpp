#include "graphics/formats/dibfilewriter.h"

#include "graphics/formats/littleendian.h"

#include <limits>

namespace vell {
namespace {

constexpr qsizetype FileHeaderSize = 14;
constexpr qsizetype InfoHeaderSize = 40;
constexpr qsizetype IconHeaderSize = 6 + 16;  // the directory and its one entry
constexpr std::int32_t PixelsPerMetre = 2835; // 72 dpi

template <typename T>
void append(QByteArray& out, T value) {
    char bytes[sizeof(T)];
    le::put(bytes, value);
    out.append(bytes, sizeof bytes);
}

// height is the header's: an icon's counts its mask rows too.
void appendInfoHeader(QByteArray& out, const DibLayout& layout, std::int32_t height,
                      qsizetype imageSize, qsizetype paletteSize) {
    append<std::uint32_t>(out, InfoHeaderSize);
    append<std::int32_t>(out, layout.width);
    append<std::int32_t>(out, height);
    append<std::uint16_t>(out, 1); // planes
    append<std::uint16_t>(out, layout.bitsPerPixel);
    append<std::uint32_t>(out, 0); // uncompressed
    append<std::uint32_t>(out, std::uint32_t(imageSize));
    append<std::int32_t>(out, PixelsPerMetre);
    append<std::int32_t>(out, PixelsPerMetre);
    append<std::uint32_t>(out, std::uint32_t(paletteSize / 4)); // colours used
    append<std::uint32_t>(out, 0);                              // all of them important
}

bool fitsFile(qsizetype size) {
    return size <= std::numeric_limits<std::int32_t>::max();
}

} // namespace

QByteArray bitmapFile(const DibLayout& layout, QByteArrayView palette, QByteArrayView rows) {
    const qsizetype offset = FileHeaderSize + InfoHeaderSize + palette.size();
    const qsizetype size = offset + rows.size();
    if (!fitsFile(size))
        return {};
    QByteArray out;
    out.reserve(size);
    out.append("BM", 2);
    append<std::uint32_t>(out, std::uint32_t(size));
    append<std::uint32_t>(out, 0); // reserved
    append<std::uint32_t>(out, std::uint32_t(offset));
    appendInfoHeader(out, layout, layout.height, rows.size(), palette.size());
    out.append(palette);
    out.append(rows);
    return out;
}

QByteArray iconFile(const DibLayout& layout, QByteArrayView palette, QByteArrayView rows,
                    QByteArrayView maskRows) {
    const qsizetype image = rows.size() + maskRows.size();
    const qsizetype bytes = InfoHeaderSize + palette.size() + image;
    if (!fitsFile(IconHeaderSize + bytes))
        return {};
    QByteArray out;
    out.reserve(IconHeaderSize + bytes);
    append<std::uint16_t>(out, 0); // reserved
    append<std::uint16_t>(out, 1); // an icon
    append<std::uint16_t>(out, 1); // of one image
    append<std::uint8_t>(out, std::uint8_t(layout.width));
    append<std::uint8_t>(out, std::uint8_t(layout.height));
    append<std::uint8_t>(out, 0);  // colour count: a full palette
    append<std::uint8_t>(out, 0);  // reserved
    append<std::uint16_t>(out, 1); // planes
    append<std::uint16_t>(out, layout.bitsPerPixel);
    append<std::uint32_t>(out, std::uint32_t(bytes));
    append<std::uint32_t>(out, std::uint32_t(IconHeaderSize));
    appendInfoHeader(out, layout, layout.height * 2, image, palette.size());
    out.append(palette);
    out.append(rows);
    out.append(maskRows);
    return out;
}

} // namespace vell
