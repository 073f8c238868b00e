// A picture from the bytes of its file: BMP and ICO with our own readers
// (Qt's would load every image plugin it has first), what those do not take
// with Qt's readers, and those only where they fill every pixel from the
// data. The kind is told by the bytes, never by the file's name.
#pragma once

#include <QByteArray>
#include <QImage>

namespace vell {

// A null image when no reader takes the bytes whole.
QImage decodePicture(const QByteArray& bytes);

} // namespace vell
