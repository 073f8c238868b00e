#include "graphics/platform/qt/xorregion.h"

#include <algorithm>
#include <bit>
#include <cstdint>

namespace gdi::qt {
namespace {

// Maps coordinates to dense indices: a direct table when the span is small
// (the usual case for window shapes), sorting otherwise.
class Compressor {
public:
    explicit Compressor(std::vector<int> values) {
        const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
        min_ = *lo;
        const std::int64_t span = std::int64_t(*hi) - *lo + 1;
        if (span <= std::int64_t(values.size()) * 4 + 1024) {
            table_.assign(size_t(span), -1);
            for (int v : values)
                table_[size_t(v - min_)] = 0;
            for (size_t i = 0; i < table_.size(); ++i)
                if (table_[i] == 0) {
                    table_[i] = int(sorted_.size());
                    sorted_.push_back(int(i) + min_);
                }
        } else {
            sorted_ = std::move(values);
            std::sort(sorted_.begin(), sorted_.end());
            sorted_.erase(std::unique(sorted_.begin(), sorted_.end()), sorted_.end());
        }
    }
    int index(int v) const {
        if (!table_.empty())
            return table_[size_t(v - min_)];
        return int(std::lower_bound(sorted_.begin(), sorted_.end(), v) - sorted_.begin());
    }
    int value(int i) const { return sorted_[size_t(i)]; }
    int count() const { return int(sorted_.size()); }

private:
    int min_ = 0;
    std::vector<int> table_;
    std::vector<int> sorted_;
};

struct Edge {
    int y;
    int left, right; // compressed x indices
};

} // namespace

void XorRegion::clear() {
    items_.clear();
    normalized_ = true;
}

void XorRegion::xorRect(const RegionRect& r) {
    if (r.empty())
        return;
    items_.push_back(r);
    normalized_ = false;
}

void XorRegion::xorRegionSlow(const XorRegion& other) {
    if (&other == this) {
        clear(); // A xor A is empty
        return;
    }
    if (other.items_.empty())
        return;
    // A loop rather than insert(): the library's large-copy routine is slow
    // to start for the few rectangles this usually moves.
    items_.reserve(items_.size() + other.items_.size());
    for (const RegionRect& r : other.items_)
        items_.push_back(r);
    normalized_ = false;
}

void XorRegion::assign(const QRegion& region) {
    items_.clear();
    for (const QRect& r : region)
        items_.push_back({r.left(), r.top(), r.right() + 1, r.bottom() + 1});
    normalized_ = false; // QRegion's own bands may be split differently
}

const std::vector<RegionRect>& XorRegion::rects() const {
    if (!normalized_)
        normalize();
    return items_;
}

QRegion XorRegion::toQRegion() const {
    const auto& rs = rects();
    std::vector<QRect> qrects;
    qrects.reserve(rs.size());
    for (const RegionRect& r : rs)
        qrects.emplace_back(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
    QRegion region;
    region.setRects(qrects.data(), int(qrects.size()));
    return region;
}

// Works the XOR list out into bands: row by row over the bounding box while a
// bit a pixel is cheap (window-sized shapes), else by a sweep over the edges.
void XorRegion::normalize() const {
    normalized_ = true;
    if (items_.empty())
        return;
    const RegionRect box = boundingBox(items_);
    // A window-sized box fits a bit per pixel easily; huge coordinates do not.
    const std::int64_t words = (std::int64_t(box.right) - box.left + 63) / 64;
    const std::int64_t rows = std::int64_t(box.bottom) - box.top + 1;
    if (words * rows <= std::int64_t(items_.size()) * 8 + (1 << 16))
        normalizeByRows(box);
    else
        normalizeBySweep();
}

// Row by row over the bounding box: each rectangle flips its columns in the
// "changes" row at its top and again at its bottom; running down the rows, the
// XOR of all changes so far is the row's coverage parity. Equal rows next to
// each other make one band.
void XorRegion::normalizeByRows(const RegionRect& box) const {
    const std::size_t words = (std::size_t(box.right - box.left) + 63) / 64;
    const std::size_t rows = std::size_t(box.bottom - box.top) + 1;
    std::vector<std::uint64_t> changes(words * rows, 0);
    auto flip = [&](std::size_t row, int from, int to) { // columns [from, to)
        std::uint64_t* w = &changes[row * words];
        const std::size_t a = std::size_t(from) / 64, b = std::size_t(to) / 64;
        const std::uint64_t lo = ~std::uint64_t(0) << (from % 64);
        const std::uint64_t hi = (to % 64) ? ~(~std::uint64_t(0) << (to % 64)) : 0;
        if (a == b) {
            w[a] ^= lo & hi;
            return;
        }
        w[a] ^= lo;
        for (std::size_t i = a + 1; i < b; ++i)
            w[i] = ~w[i];
        if (hi)
            w[b] ^= hi;
    };
    for (const RegionRect& r : items_) {
        if (r.empty())
            continue;
        flip(std::size_t(r.top - box.top), r.left - box.left, r.right - box.left);
        flip(std::size_t(r.bottom - box.top), r.left - box.left, r.right - box.left);
    }

    std::vector<RegionRect> out;
    std::vector<std::uint64_t> state(words, 0), band(words, 0);
    int bandTop = box.top;
    auto emitBand = [&](int bottom) {
        std::uint64_t carry = 0; // the column left of the word's first column
        int open = 0;
        for (std::size_t i = 0; i < words; ++i) {
            for (std::uint64_t d = band[i] ^ (band[i] << 1 | carry); d; d &= d - 1) {
                const int x = box.left + int(i * 64) + std::countr_zero(d);
                if (band[i] >> (x - box.left) % 64 & 1)
                    open = x;
                else
                    out.push_back({open, bandTop, x, bottom});
            }
            carry = band[i] >> 63;
        }
        if (carry) // the band reaches the box's right edge
            out.push_back({open, bandTop, box.right, bottom});
    };
    for (std::size_t row = 0; row < rows; ++row) {
        for (std::size_t i = 0; i < words; ++i)
            state[i] ^= changes[row * words + i];
        if (state != band) {
            emitBand(box.top + int(row));
            band = state;
            bandTop = box.top + int(row);
        }
    }
    items_.swap(out);
}

// One sweep from top to bottom over the rectangles' compressed edges: each
// rectangle flips the parity of its columns at its top and again at its
// bottom; a band's columns are the stretches of odd parity.
void XorRegion::normalizeBySweep() const {
    std::vector<int> xs, ys;
    xs.reserve(items_.size() * 2);
    ys.reserve(items_.size() * 2);
    for (const RegionRect& r : items_) {
        xs.push_back(r.left);
        xs.push_back(r.right);
        ys.push_back(r.top);
        ys.push_back(r.bottom);
    }
    const Compressor cx(std::move(xs));
    const Compressor cy(std::move(ys));

    // Bucket the edges by row (counting sort over the compressed y indices).
    std::vector<int> start(size_t(cy.count()) + 1, 0);
    for (const RegionRect& r : items_) {
        ++start[size_t(cy.index(r.top)) + 1];
        ++start[size_t(cy.index(r.bottom)) + 1];
    }
    for (size_t i = 1; i < start.size(); ++i)
        start[i] += start[i - 1];
    std::vector<Edge> edges(items_.size() * 2);
    {
        std::vector<int> fill(start.begin(), start.end() - 1);
        for (const RegionRect& r : items_) {
            const int l = cx.index(r.left), rt = cx.index(r.right);
            edges[size_t(fill[size_t(cy.index(r.top))]++)] = {r.top, l, rt};
            edges[size_t(fill[size_t(cy.index(r.bottom))]++)] = {r.bottom, l, rt};
        }
    }

    const size_t words = (size_t(cx.count()) + 63) / 64;
    std::vector<std::uint64_t> diff(words, 0);
    auto flip = [&](int i) { diff[size_t(i) >> 6] ^= std::uint64_t(1) << (i & 63); };

    std::vector<RegionRect> out;
    std::vector<std::pair<int, int>> band, previous;
    size_t previousStart = 0;
    int previousBottom = 0;
    bool havePrevious = false;
    for (int yi = 0; yi + 1 < cy.count(); ++yi) {
        for (int e = start[size_t(yi)]; e < start[size_t(yi) + 1]; ++e) {
            flip(edges[size_t(e)].left);
            flip(edges[size_t(e)].right);
        }
        const int top = cy.value(yi), bottom = cy.value(yi + 1);
        band.clear();
        int open = -1;
        for (size_t w = 0; w < words; ++w)
            for (std::uint64_t bits = diff[w]; bits; bits &= bits - 1) {
                const int i = int(w * 64) + std::countr_zero(bits);
                if (open < 0) {
                    open = i;
                } else {
                    band.emplace_back(cx.value(open), cx.value(i));
                    open = -1;
                }
            }
        if (band.empty()) {
            havePrevious = false;
            continue;
        }
        if (havePrevious && previousBottom == top && band == previous) {
            for (size_t i = previousStart; i < out.size(); ++i)
                out[i].bottom = bottom; // same columns as the band above: grow it
        } else {
            previousStart = out.size();
            for (const auto& [l, r] : band)
                out.push_back({l, top, r, bottom});
            previous.swap(band);
        }
        previousBottom = bottom;
        havePrevious = true;
    }
    items_.swap(out);
}

} // namespace gdi::qt
