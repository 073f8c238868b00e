// vellskin noise gray|colour WIDTH HEIGHT OUT.bmp: a surface of random grey or
// coloured pixels.
#include "commands.h"

#include "graphics/dibsection.h"

namespace vellskin {

int runNoise(const QStringList& args) {
    if (args[0] != "gray" && args[0] != "colour")
        fail(InvalidArgument, "the noise is gray or colour, not \"" + args[0] + "\"");
    const std::int32_t width = number(args[1], "WIDTH");
    const std::int32_t height = number(args[2], "HEIGHT");
    vell::cDIBSection dib;
    if (!dib.Create(width, height))
        fail(OutOfMemory, QString("cannot make a %1 x %2 surface").arg(width).arg(height));
    dib.RandomiseBits(args[0] == "gray");
    writeBitmap(dib, args[3]);
    return 0;
}

} // namespace vellskin
