// A picture file read whole, with the guards of the other readers of
// outside files: only a plain file is read (a FIFO or device could hold the
// reader up or never end), and only up to the size of the largest picture
// the readers take.
#pragma once

#include <QImage>
#include <QString>

#include <cstdint>

namespace vell {

// The largest picture file read: a 16384 x 16384 picture of 32 bits and
// room for its headers.
inline constexpr std::uint64_t MaxPictureFileSize = (std::uint64_t(1) << 30) + (1 << 16);

// The picture in the file at path (a file name, or a Qt resource path
// starting with ':'). Raises the file error of a file that cannot be read
// (53 "File not found" and the rest, with the program as source) and 481
// "Invalid picture" naming the file for one no reader takes.
QImage loadPicture(const QString& path);

} // namespace vell
