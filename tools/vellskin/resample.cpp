// vellskin resample IN.bmp HEIGHT WIDTH OUT.bmp: the picture at a new size,
// height first as Resample takes it.
#include "commands.h"

#include "graphics/dibsection.h"
#include "graphics/stdpicture.h"

#include <QImage>

namespace vellskin {

int runResample(const QStringList& args) {
    const std::int32_t height = number(args[1], "HEIGHT");
    const std::int32_t width = number(args[2], "WIDTH");
    const QImage image = picture(args[0]);
    const vell::StdPicture picture(image);
    vell::cDIBSection source;
    source.CreateFromPicture(picture);
    if (!source.hdc())
        fail(OutOfMemory, "cannot make a surface for the picture");
    const auto resampled = source.Resample(height, width);
    if (!resampled)
        fail(OutOfMemory, QString("cannot make a %1 x %2 surface").arg(width).arg(height));
    writeBitmap(*resampled, args[3]);
    return 0;
}

} // namespace vellskin
