// vellskin render FILE.rgn OUT.bmp
#include "commands.h"
#include "picturesize.h"
#include "regionverdict.h"

#include "graphics/dibsectionregion.h"
#include "graphics/formats/regiondata.h"
#include "graphics/regionfile.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace vellskin {
namespace {

// The region's rectangles, as the drawing layer gives its data out.
std::vector<gdi::RegionRect> rectanglesOf(gdi::HRGN region) {
    gdi::Gdi& g = gdi::platform();
    std::vector<std::uint8_t> data(g.GetRegionData(region, 0, nullptr));
    std::vector<gdi::RegionRect> rects;
    if (data.empty() || g.GetRegionData(region, std::uint32_t(data.size()), data.data()) == 0 ||
        !gdi::readRegionData(data, rects))
        fail(InvalidArgument, "the region's data cannot be read back");
    return rects;
}

// Why the class refused the file's data, in the words info uses.
[[noreturn]] void failRefused(const QString& path) {
    QByteArray bytes;
    try {
        bytes = vell::readRegionFile(path, gdi::MaxRegionDataSize);
    } catch (const vell::RuntimeError& e) {
        failAs(e); // changed since the class read it
    }
    const QString why = regionRefusal(path, bytes);
    fail(InvalidArgument,
         why.isEmpty() ? path + " holds no region data the region maker accepts" : why);
}

} // namespace

int runRender(const QStringList& args) {
    vell::cDIBSectionRegion region;
    if (!region.LoadFromFile(args[0]))
        failRefused(args[0]);
    const std::vector<gdi::RegionRect> rects = rectanglesOf(region.hRgn());
    if (rects.empty())
        fail(InvalidArgument, args[0] + " holds an empty region: there is nothing to draw");
    const gdi::RegionRect box = gdi::boundingBox(rects);
    if (box.right <= 0 || box.bottom <= 0)
        fail(InvalidArgument,
             QString("the region lies wholly left of or above the picture's top-left corner "
                     "(bounding box %1 %2 %3 %4): nothing of it falls in the picture")
                 .arg(box.left)
                 .arg(box.top)
                 .arg(box.right)
                 .arg(box.bottom));
    const int width = box.right, height = box.bottom;
    checkPictureSize(width, height, "the picture of the region (its right x bottom edges)");
    vell::cDIBSection dib;
    if (!dib.Create(width, height))
        fail(OutOfMemory, "Out of memory");
    const vell::ByteView bits = dib.Bits();
    for (const gdi::RegionRect& r : rects) { // white inside; the new surface is black
        const int left = std::max(r.left, 0);
        if (r.right <= left)
            continue;
        for (int y = std::max(r.top, 0); y < r.bottom; ++y) {
            const auto row = bits.row(height - 1 - y); // buffer rows are bottom-up
            std::fill(row.begin() + 3 * left, row.begin() + 3 * r.right, std::uint8_t(255));
        }
    }
    writeBitmap(dib, args[1]);
    std::printf("%s: %dx%d\n", qPrintable(args[1]), width, height);
    return 0;
}

} // namespace vellskin
