// vellskin info FILE.rgn
#include "commands.h"
#include "regionverdict.h"

#include "graphics/formats/littleendian.h"
#include "graphics/formats/regiondata.h"
#include "graphics/regionfile.h"

#include <cstdio>

namespace vellskin {

int runInfo(const QStringList& args) {
    QByteArray bytes;
    try {
        bytes = vell::readRegionFile(args[0], gdi::MaxRegionDataSize);
    } catch (const vell::RuntimeError& e) {
        failAs(e);
    }
    // The same verdict as render's, before anything is shown.
    const QString refusal = regionRefusal(args[0], bytes);
    if (!refusal.isEmpty())
        fail(InvalidArgument, refusal);
    auto u32 = [&](int at) { return vell::le::get<std::uint32_t>(bytes.constData() + at); };
    auto i32 = [&](int at) { return vell::le::get<std::int32_t>(bytes.constData() + at); };
    std::printf("dwSize   %u\niType    %u\nnCount   %u\nnRgnSize %u\n", u32(0), u32(4), u32(8),
                u32(12));
    std::printf("rcBound  %d %d %d %d (left top right bottom)\n", i32(16), i32(20), i32(24),
                i32(28));
    std::vector<gdi::RegionRect> rects;
    gdi::readRegionData(
        {reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size())},
        rects);
    std::printf("rectangles %zu (not empty), %s\n", rects.size(),
                gdi::isBanded(rects) ? "in y-x bands" : "not in bands");
    if (rects.empty()) {
        std::printf("bounding box: none (empty region)\n");
        return 0;
    }
    const gdi::RegionRect box = gdi::boundingBox(rects);
    std::printf("bounding box %d %d %d %d\n", box.left, box.top, box.right, box.bottom);
    return 0;
}

} // namespace vellskin
