// A rectangle of a region, as region data lays it out and as the drawing
// layer keeps its regions: right and bottom excluded.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <span>

namespace gdi {

struct RegionRect {
    std::int32_t left, top, right, bottom; // right and bottom excluded
    bool empty() const { return left >= right || top >= bottom; }
    bool operator==(const RegionRect&) const = default;
};

// The smallest rectangle around all of rects, empty ones included; all 0
// when there are none.
inline RegionRect boundingBox(std::span<const RegionRect> rects) {
    if (rects.empty())
        return {0, 0, 0, 0};
    constexpr std::int32_t Min = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t Max = std::numeric_limits<std::int32_t>::max();
    RegionRect box{Max, Max, Min, Min};
    for (const RegionRect& r : rects) {
        box.left = std::min(box.left, r.left);
        box.top = std::min(box.top, r.top);
        box.right = std::max(box.right, r.right);
        box.bottom = std::max(box.bottom, r.bottom);
    }
    return box;
}

} // namespace gdi
