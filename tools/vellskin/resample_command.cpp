// vellskin resample IN.bmp HEIGHT WIDTH OUT.bmp: the picture at a new size,
// height first as Resample takes it.
#include "graphics/dibsection.h"
#include "graphics/stdpicture.h"
#include "tools/vellskin/pixelcommands.h"

#include <QImage>

using namespace vellskin;

int runResample(const QStringList& args) {
    try {
        if (args.size() != 4)
            throw commandError(InvalidArgument,
                               "usage: vellskin resample IN.bmp HEIGHT WIDTH OUT.bmp");
        const std::int32_t height = number(args[1], "HEIGHT");
        const std::int32_t width = number(args[2], "WIDTH");
        const QImage image = vell::readImage(args[0]);
        if (image.isNull())
            throw commandError(InvalidPicture,
                               QString("cannot read a picture from %1").arg(args[0]));
        const vell::StdPicture picture(image);
        vell::cDIBSection source;
        source.CreateFromPicture(picture);
        if (!source.hdc())
            throw commandError(OutOfMemory, "cannot make a surface for the picture");
        const auto resampled = source.Resample(height, width);
        if (!resampled)
            throw commandError(OutOfMemory,
                               QString("cannot make a %1 x %2 surface").arg(width).arg(height));
        writeBitmap(*resampled, args[3]);
        return 0;
    } catch (const vell::RuntimeError& e) {
        return report(e);
    }
}
