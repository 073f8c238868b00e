#include "picturesize.h"

#include "commands.h"

#include "graphics/countwords.h"

namespace vellskin {

using vell::grouped;

std::int32_t pictureSide(const QString& text, const char* what) {
    const std::int32_t value = number(text, what);
    if (value < 1)
        fail(InvalidArgument,
             QString("%1 is a number of pixels, 1 or more, not %2").arg(what).arg(value));
    return value;
}

void checkPictureSize(std::int64_t width, std::int64_t height, const QString& what) {
    if (width * height <= MaxPicturePixels)
        return;
    fail(InvalidArgument, QString("%1 would be %2 x %3 = %4 pixels, past vellskin's limit of %5 "
                                  "pixels (8192 x 8192, a 192 MiB bitmap)")
                              .arg(what, grouped(width), grouped(height), grouped(width * height),
                                   grouped(MaxPicturePixels)));
}

} // namespace vellskin
