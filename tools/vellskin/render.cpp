// vellskin render FILE.rgn OUT.bmp
#include "commands.h"

#include "graphics/dibsectionregion.h"
#include "graphics/formats/regiondata.h"

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

} // namespace

int runRender(const QStringList& args) {
    vell::cDIBSectionRegion region;
    if (!region.LoadFromFile(args[0]))
        fail(InvalidArgument, args[0] + " holds no region data the region maker accepts");
    const std::vector<gdi::RegionRect> rects = rectanglesOf(region.hRgn());
    const gdi::RegionRect box = gdi::boundingBox(rects);
    const int width = std::max(box.right, 0), height = std::max(box.bottom, 0);
    if (width <= 0 || height <= 0)
        fail(InvalidArgument, "the region has no pixel right of and below the origin to draw");
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
