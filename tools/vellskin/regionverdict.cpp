#include "regionverdict.h"

#include "graphics/countwords.h"
#include "graphics/formats/littleendian.h"
#include "graphics/formats/regiondata.h"
#include "graphics/platform/gdi.h"

#include <vector>

namespace vellskin {

using vell::grouped;

QString regionRefusal(const QString& path, const QByteArray& bytes) {
    const std::span<const std::uint8_t> data(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                             std::size_t(bytes.size()));
    std::vector<gdi::RegionRect> rects;
    const auto count = [&] { return std::int64_t(vell::le::get32(data.data() + 8)); };
    switch (gdi::parseRegionData(data, rects)) {
    case gdi::RegionDataFault::NotRegionData:
        return path + " is not a region file: region data begin with a 32-byte header whose "
                      "first two numbers are 32 and 1";
    case gdi::RegionDataFault::TooManyRects:
        return QString("%1 holds %2 rectangles, past the limit of %3 for region data")
            .arg(path, grouped(count()), grouped(gdi::MaxRegionRects));
    case gdi::RegionDataFault::Short:
        return QString("%1 is cut short: its %2 rectangles need %3 bytes, it has %4")
            .arg(path, grouped(count()), grouped(32 + 16 * count()), grouped(bytes.size()));
    case gdi::RegionDataFault::CoordinateOutside:
        return QString("%1 has a coordinate outside %2 to %3, the range region data may use")
            .arg(path, grouped(gdi::MinRegionCoordinate), grouped(gdi::MaxRegionCoordinate));
    case gdi::RegionDataFault::None:
        break;
    }
    gdi::Gdi& g = gdi::platform();
    if (const gdi::HRGN region =
            g.ExtCreateRegion(nullptr, std::uint32_t(bytes.size()), bytes.constData())) {
        g.DeleteObject(region);
        return {};
    }
    // The data are sound: only merging rectangles out of band order is left.
    return QString("%1: its %2 rectangles overlap or are out of y-x band order, and merging "
                   "them passes the region maker's limits (%3 rectangles in a region, %4 "
                   "handled while merging)")
        .arg(path, grouped(std::int64_t(rects.size())), grouped(gdi::MaxRegionRects),
             grouped(std::int64_t(gdi::MaxUnionWork)));
}

} // namespace vellskin
