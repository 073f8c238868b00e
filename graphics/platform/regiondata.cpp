#include "graphics/platform/regiondata.h"

#include <algorithm>
#include <climits>

namespace gdi {
namespace {

std::uint32_t get32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

void put32(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
    p[2] = std::uint8_t(v >> 16);
    p[3] = std::uint8_t(v >> 24);
}

void putRect(std::uint8_t* p, const RegionRect& r) {
    put32(p, std::uint32_t(r.left));
    put32(p + 4, std::uint32_t(r.top));
    put32(p + 8, std::uint32_t(r.right));
    put32(p + 12, std::uint32_t(r.bottom));
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
    RegionRect bound{0, 0, 0, 0};
    if (!rects.empty()) {
        bound = {INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
        for (const RegionRect& r : rects) {
            bound.left = std::min(bound.left, r.left);
            bound.top = std::min(bound.top, r.top);
            bound.right = std::max(bound.right, r.right);
            bound.bottom = std::max(bound.bottom, r.bottom);
        }
    }
    put32(out, RgnDataHeaderSize);
    put32(out + 4, RDH_RECTANGLES);
    put32(out + 8, std::uint32_t(rects.size()));
    put32(out + 12, std::uint32_t(16 * rects.size()));
    putRect(out + 16, bound);
    std::uint8_t* p = out + RgnDataHeaderSize;
    for (const RegionRect& r : rects) {
        putRect(p, r);
        p += 16;
    }
}

bool readRegionData(std::span<const std::uint8_t> data, std::vector<RegionRect>& rects) {
    rects.clear();
    if (data.size() < RgnDataHeaderSize)
        return false;
    const std::uint8_t* p = data.data();
    if (get32(p) != RgnDataHeaderSize || get32(p + 4) != RDH_RECTANGLES)
        return false;
    const std::uint32_t count = get32(p + 8);
    // 64-bit sum: a count near 2^32 must not wrap round to a small size.
    if (count > MaxRegionRects ||
        data.size() < RgnDataHeaderSize + std::uint64_t(16) * std::uint64_t(count))
        return false;
    rects.reserve(count);
    p += RgnDataHeaderSize;
    for (std::uint32_t i = 0; i < count; ++i, p += 16) {
        const RegionRect r{std::int32_t(get32(p)), std::int32_t(get32(p + 4)),
                           std::int32_t(get32(p + 8)), std::int32_t(get32(p + 12))};
        if (!inRange(r.left) || !inRange(r.top) || !inRange(r.right) || !inRange(r.bottom)) {
            rects.clear();
            return false;
        }
        if (!r.empty())
            rects.push_back(r);
    }
    return true;
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

} // namespace gdi
