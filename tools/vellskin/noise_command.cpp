// vellskin noise gray|colour WIDTH HEIGHT OUT.bmp: a surface of random grey or
// coloured pixels.
#include "graphics/dibsection.h"
#include "tools/vellskin/pixelcommands.h"

using namespace vellskin;

int runNoise(const QStringList& args) {
    try {
        if (args.size() != 4 || (args[0] != "gray" && args[0] != "colour"))
            throw commandError(InvalidArgument,
                               "usage: vellskin noise gray|colour WIDTH HEIGHT OUT.bmp");
        const std::int32_t width = number(args[1], "WIDTH");
        const std::int32_t height = number(args[2], "HEIGHT");
        vell::cDIBSection dib;
        if (!dib.Create(width, height))
            throw commandError(OutOfMemory,
                               QString("cannot make a %1 x %2 surface").arg(width).arg(height));
        dib.RandomiseBits(args[0] == "gray");
        writeBitmap(dib, args[3]);
        return 0;
    } catch (const vell::RuntimeError& e) {
        return report(e);
    }
}
