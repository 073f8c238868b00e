// A region kept as a list of rectangles combined by exclusive-or, worked out
// into disjoint y-x banded rectangles only when someone reads it.
//
// Building a window shape XORs thousands of one-pixel-wide runs out of a
// rectangle; doing each XOR eagerly costs a full region rebuild per run. Here
// an XOR is an append, and one pass over all of them when the region is read
// gives the same pixels: a pixel is in the region when an odd number of the
// listed rectangles cover it.
#pragma once

#include "graphics/formats/regionrect.h"

#include <QRegion>

#include <vector>

namespace gdi::qt {

class XorRegion {
public:
    void clear();
    [[gnu::always_inline]] void setRect(const RegionRect& r) {
        items_.clear();
        if (!r.empty())
            items_.push_back(r);
        normalized_ = true;
    }
    void xorRect(const RegionRect& r);
    [[gnu::always_inline]] void xorRegion(const XorRegion& other) {
        if (other.items_.size() == 1 && &other != this) {
            items_.push_back(other.items_.front()); // the common case: one run
            normalized_ = false;
        } else {
            xorRegionSlow(other);
        }
    }
    void assign(const QRegion& region);
    // Takes rectangles already disjoint and y-x banded as they stand.
    void setBanded(std::vector<RegionRect> rects) {
        items_ = std::move(rects);
        normalized_ = true;
    }

    // Disjoint rectangles, sorted by top then left; rectangles of one band
    // share top and bottom, and no two touch side by side.
    const std::vector<RegionRect>& rects() const;
    bool isEmpty() const { return rects().empty(); }
    QRegion toQRegion() const;

private:
    void xorRegionSlow(const XorRegion& other);
    void normalize() const;
    void normalizeByRows(const RegionRect& box) const;
    void normalizeBySweep() const;

    mutable std::vector<RegionRect> items_; // canonical when normalized_, else an XOR list
    mutable bool normalized_ = true;
};

} // namespace gdi::qt
