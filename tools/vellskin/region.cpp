// vellskin region SKIN.bmp OUT.rgn
#include "commands.h"

#include "graphics/dibsectionregion.h"

#include <QImage>

#include <cstdio>

namespace vellskin {

int runRegion(const QStringList& args) {
    const QImage image = picture(args[0]);
    const vell::StdPicture picture(image);
    vell::cDIBSection dib;
    dib.CreateFromPicture(picture);
    if (!dib.hdc())
        fail(OutOfMemory);
    vell::cDIBSectionRegion region;
    region.Create(dib, 0); // black is transparent, as for the windows
    region.Save(args[1]);
    std::printf("%s: region of %s (%dx%d)\n", qPrintable(args[1]), qPrintable(args[0]),
                image.width(), image.height());
    return 0;
}

} // namespace vellskin
