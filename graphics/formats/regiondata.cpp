#include "graphics/formats/regiondata.h"

#include "graphics/formats/littleendian.h"

#include <algorithm>

namespace gdi {
namespace {

using vell::le::get32;
using vell::le::put;

void putRect(std::uint8_t* p, const RegionRect& r) {
    put(p, r.left);
    put(p + 4, r.top);
    put(p + 8, r.right);
    put(p + 12, r.bottom);
}

bool inRange(std::int32_t v) {
    return v >= MinRegionCoordinate && v <= MaxRegionCoordinate;
}

} // namespace

std::uint32_t regionDataSize(std::size_t count) {
    const std::uint64_t size = RgnDataHeaderSize + std::uint64_t(16) * count;
    return count <= (UINT32_MAX - RgnDataHeaderSize) / 16 ? std::uint32_t(size) : 0;
}

void writeRegionData(std::span<const RegionRect> rects, std::uint8_t* out) {
    put(out, RgnDataHeaderSize);
    put(out + 4, RDH_RECTANGLES);
    put(out + 8, std::uint32_t(rects.size()));
    put(out + 12, std::uint32_t(16 * rects.size()));
    putRect(out + 16, boundingBox(rects));
    std::uint8_t* p = out + RgnDataHeaderSize;
    for (const RegionRect& r : rects) {
        putRect(p, r);
        p += 16;
    }
}

RegionDataFault parseRegionData(std::span<const std::uint8_t> data,
                                std::vector<RegionRect>& rects) {
    rects.clear();
    if (data.size() < RgnDataHeaderSize)
        return RegionDataFault::NotRegionData;
    const std::uint8_t* p = data.data();
    if (get32(p) != RgnDataHeaderSize || get32(p + 4) != RDH_RECTANGLES)
        return RegionDataFault::NotRegionData;
    const std::uint32_t count = get32(p + 8);
    if (count > MaxRegionRects)
        return RegionDataFault::TooManyRects;
    // 64-bit sum: a count near 2^32 must not wrap round to a small size.
    if (data.size() < RgnDataHeaderSize + std::uint64_t(16) * std::uint64_t(count))
        return RegionDataFault::Short;
    rects.reserve(count);
    p += RgnDataHeaderSize;
    for (std::uint32_t i = 0; i < count; ++i, p += 16) {
        const RegionRect r{vell::le::get<std::int32_t>(p), vell::le::get<std::int32_t>(p + 4),
                           vell::le::get<std::int32_t>(p + 8), vell::le::get<std::int32_t>(p + 12)};
        if (!inRange(r.left) || !inRange(r.top) || !inRange(r.right) || !inRange(r.bottom)) {
            rects.clear();
            return RegionDataFault::CoordinateOutside;
        }
        if (!r.empty())
            rects.push_back(r);
    }
    return RegionDataFault::None;
}

bool readRegionData(std::span<const std::uint8_t> data, std::vector<RegionRect>& rects) {
    return parseRegionData(data, rects) == RegionDataFault::None;
}

bool isBanded(std::span<const RegionRect> rects) {
    for (std::size_t i = 1; i < rects.size(); ++i) {
        const RegionRect& a = rects[i - 1];
        const RegionRect& b = rects[i];
        const bool sameBand = b.top == a.top && b.bottom == a.bottom && b.left > a.right;
        if (!sameBand && b.top < a.bottom)
            return false;
    }
    return true;
}

bool sortIntoBands(std::vector<RegionRect>& rects) {
    std::sort(rects.begin(), rects.end(), [](const RegionRect& a, const RegionRect& b) {
        return a.top != b.top ? a.top < b.top : a.left < b.left;
    });
    std::size_t kept = 0; // rects[0, kept) are banded, touching ones joined
    for (std::size_t i = 0; i < rects.size(); ++i) {
        const RegionRect& r = rects[i];
        if (kept > 0) {
            RegionRect& last = rects[kept - 1];
            if (r.top == last.top) {
                if (r.bottom != last.bottom || r.left < last.right)
                    return false; // a band of mixed heights, or an overlap
                if (r.left == last.right) {
                    last.right = r.right;
                    continue;
                }
            } else if (r.top < last.bottom) {
                return false; // reaches into the band above
            }
        }
        rects[kept++] = r;
    }
    rects.resize(kept);
    return true;
}

} // namespace gdi
