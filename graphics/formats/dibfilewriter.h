// Writes device-independent bitmap files: an uncompressed bottom-up BMP and a
// one-image icon, their pixel rows laid out by the caller as the file holds
// them (bottom row first, each row padded to four bytes). Only the headers
// are made here, so the file's rows are the caller's bytes as they stand.
#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>

namespace vell {

// What the info header says of the pixels.
struct DibLayout {
    std::int32_t width = 0;
    std::int32_t height = 0; // rows, bottom-up
    std::uint16_t bitsPerPixel = 24;
};

// A BMP file: file header, info header, palette (four bytes an entry: blue,
// green, red, 0), rows. Empty when the file would not fit a BMP's 32-bit
// sizes.
QByteArray bitmapFile(const DibLayout& layout, QByteArrayView palette, QByteArrayView rows);

// An icon file of one image at most 255 x 255: the rows are the colours, the
// mask rows (one bit a pixel, 1 for transparent) follow them.
QByteArray iconFile(const DibLayout& layout, QByteArrayView palette, QByteArrayView rows,
                    QByteArrayView maskRows);

} // namespace vell
