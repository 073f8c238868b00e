// vellskin extract MODULE ID-OR-NAME OUT.rgn
#include "commands.h"

#include "graphics/dibsectionregion.h"

#include <cstdio>

namespace vellskin {

int runExtract(const QStringList& args) {
    vell::cDIBSectionRegion region;
    // A text of digits is looked up as "#" and the digits, like a number.
    if (!region.LoadFromResource(args[1], args[0]))
        fail(InvalidArgument, "resource " + args[1] + " of " + args[0] +
                                  " holds no region data the region maker accepts");
    region.Save(args[2]);
    std::printf("%s: resource %s of %s\n", qPrintable(args[2]), qPrintable(args[1]),
                qPrintable(args[0]));
    return 0;
}

} // namespace vellskin
