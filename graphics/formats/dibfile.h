// Readers for the device-independent bitmap files the programs ship: BMP
// (24-bit or palette, uncompressed) and the first image of an ICO. Qt's own
// image reader loads every image plugin it has before it reads a BMP; these
// load nothing.
#pragma once

#include <QByteArray>
#include <QImage>

namespace vell {

// Null images when the data is not a file these readers understand.
QImage readBitmapFile(const QByteArray& data);
QImage readIconFile(const QByteArray& data);

} // namespace vell
