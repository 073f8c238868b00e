#include "monitor/regionpixels.h"

#include "graphics/formats/regiondata.h"

#include <QRect>

#include <cstdint>
#include <vector>

namespace monitor {

QRegion regionPixels(gdi::Gdi& gdi, gdi::HRGN region) {
    const std::uint32_t size = gdi.GetRegionData(region, 0, nullptr);
    if (size == 0)
        return {};
    std::vector<std::uint8_t> data(size);
    if (gdi.GetRegionData(region, size, data.data()) != size)
        return {};
    std::vector<gdi::RegionRect> rects;
    if (!gdi::readRegionData(data, rects))
        return {};
    std::vector<QRect> out;
    out.reserve(rects.size());
    for (const gdi::RegionRect& r : rects)
        out.emplace_back(r.left, r.top, r.right - r.left, r.bottom - r.top);
    QRegion pixels;
    if (gdi::isBanded(rects)) {
        pixels.setRects(out.data(), int(out.size()));
    } else {
        for (const QRect& r : out)
            pixels += r;
    }
    return pixels;
}

} // namespace monitor
