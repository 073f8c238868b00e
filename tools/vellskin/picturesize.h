// The sizes of the pictures vellskin writes. A few bytes of input can ask for
// any size (a region file's one rectangle, resample's arguments), so the tool
// keeps to pictures a skin author can use and says so past them.
#pragma once

#include <QString>

#include <cstdint>

namespace vellskin {

// 8192 x 8192 pixels, a 192 MiB bitmap file; any window skin is far smaller.
inline constexpr std::int64_t MaxPicturePixels = std::int64_t(1) << 26;

// A width or height given on the command line: a whole number, 1 or more,
// else an InvalidArgument error naming what it is.
std::int32_t pictureSide(const QString& text, const char* what);

// Raises InvalidArgument when a width x height picture is past
// MaxPicturePixels; what says what the picture is for.
void checkPictureSize(std::int64_t width, std::int64_t height, const QString& what);

} // namespace vellskin
