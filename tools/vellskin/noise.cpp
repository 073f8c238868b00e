// vellskin noise gray|colour WIDTH HEIGHT OUT.bmp: a surface of random grey or
// coloured pixels.
#include "commands.h"
#include "picturesize.h"

#include "graphics/dibsection.h"

namespace vellskin {

int runNoise(const QStringList& args) {
    if (args[0] != "gray" && args[0] != "colour")
        fail(InvalidArgument, "the noise is gray or colour, not \"" + args[0] + "\"");
    const std::int32_t width = pictureSide(args[1], "WIDTH");
    const std::int32_t height = pictureSide(args[2], "HEIGHT");
    checkPictureSize(width, height, "the noise picture");
    vell::cDIBSection dib;
    if (!dib.Create(width, height))
        fail(OutOfMemory, QString("cannot make a %1 x %2 surface").arg(width).arg(height));
    dib.RandomiseBits(args[0] == "gray");
    writeBitmap(dib, args[3]);
    return 0;
}

} // namespace vellskin
