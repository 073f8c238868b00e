// The exact asset formats the window definitions ship: an uncompressed 24-bit
// bottom-up BMP, a 256-colour BMP and a one-image 256-colour icon, written by
// the graphics library's DIB file writer (Qt's own writers choose other
// layouts).
#pragma once

#include <QByteArray>
#include <QImage>

namespace skingen {

QByteArray bmp24(const QImage& image);
QByteArray bmp8(const QImage& image);
// Pixels with alpha below 128 are transparent in the icon's AND mask.
QByteArray icon8(const QImage& image);

} // namespace skingen
