// The lazily combined region against Qt's own region arithmetic.
#include "graphics/platform/qt/xorregion.h"
#include "support/testseed.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

#include <set>

using Rect = gdi::RegionRect;
using gdi::qt::XorRegion;
using testing_support::TestSeed;

namespace gdi {
// Rectangles as (left,top)-(right,bottom) in failure messages.
inline void PrintTo(const Rect& r, std::ostream* os) {
    *os << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}
} // namespace gdi

namespace {

QRegion reference(const std::vector<Rect>& rects) {
    QRegion r;
    for (const Rect& x : rects)
        if (!x.empty())
            r ^= QRegion(x.left, x.top, x.right - x.left, x.bottom - x.top);
    return r;
}

void expectCanonical(const std::vector<Rect>& rs) {
    std::vector<std::pair<int, int>> columns, above; // of this band, of the one above
    int aboveBottom = 0;
    for (size_t i = 0; i < rs.size(); ++i) {
        ASSERT_FALSE(rs[i].empty());
        if (i > 0) {
            const Rect &a = rs[i - 1], &b = rs[i];
            if (a.top == b.top) {
                EXPECT_EQ(a.bottom, b.bottom) << "one band, one height";
                EXPECT_LT(a.right, b.left) << "sorted, neither overlapping nor touching";
            } else {
                EXPECT_LE(a.bottom, b.top) << "bands sorted and disjoint";
            }
        }
        columns.emplace_back(rs[i].left, rs[i].right);
        if (i + 1 == rs.size() || rs[i + 1].top != rs[i].top) {
            EXPECT_FALSE(!above.empty() && aboveBottom == rs[i].top && columns == above)
                << "bands of the same columns one on the other make one, at y " << rs[i].top;
            above.swap(columns);
            columns.clear();
            aboveBottom = rs[i].bottom;
        }
    }
}

TEST(XorRegion, RandomCombinationsGiveQtsPixels) {
    const TestSeed seed;
    QRandomGenerator rng(seed.value());
    for (int round = 0; round < 300; ++round) {
        // Window-sized spans are worked out row by row (one or several words
        // of columns), huge ones by the sweep with its sorting path.
        const int span = round % 3 == 0 ? 2000000 : round % 3 == 1 ? 300 : 40;
        std::vector<Rect> rects;
        XorRegion region;
        const int n = rng.bounded(1, 30);
        for (int i = 0; i < n; ++i) {
            const int l = rng.bounded(-span, span), t = rng.bounded(-span, span);
            const Rect r{l, t, l + rng.bounded(0, span / 2 + 1), t + rng.bounded(0, span / 2 + 1)};
            rects.push_back(r);
            region.xorRect(r);
        }
        const QRegion want = reference(rects);
        EXPECT_TRUE(region.toQRegion().xored(want).isEmpty()) << "round " << round;
        EXPECT_EQ(region.toQRegion(), want) << "same canonical bands as Qt, round " << round;
        expectCanonical(region.rects());
    }
}

// Rectangles on a coarse grid share their edges, so runs of rows with the same
// columns come up often and the bands must be merged down across the edges in
// between. Spread over millions of pixels, in one direction or both, the sweep
// works them out; on the small grid itself the rows do: both must give Qt's
// pixels in bands merged as far as they go, and the same rectangles.
TEST(XorRegion, BandsOfEqualColumnsAreMergedAcrossEdgesByTheSweepAsByTheRows) {
    const TestSeed seed;
    QRandomGenerator rng(seed.value());
    constexpr int Grid = 8, Far = 250000, Origin = -1000000;
    int mergedRounds = 0;
    for (int round = 0; round < 300; ++round) {
        // Spread both ways, or one way only: a short axis is indexed by a
        // table, a long one by sorting.
        const int sx = round % 3 == 1 ? 1 : Far, sy = round % 3 == 2 ? 1 : Far;
        const auto spread = [&](const Rect& c) {
            return Rect{Origin + c.left * sx, Origin + c.top * sy, Origin + c.right * sx,
                        Origin + c.bottom * sy};
        };
        std::vector<Rect> huge;
        XorRegion small, big;
        auto add = [&](const Rect& c) {
            huge.push_back(spread(c));
            small.xorRect(c);
            big.xorRect(spread(c));
        };
        for (int i = rng.bounded(1, 10); i > 0; --i) {
            const int l = rng.bounded(Grid), t = rng.bounded(Grid);
            const Rect c{l, t, l + rng.bounded(1, Grid - l + 1), t + rng.bounded(1, Grid - t + 1)};
            if (c.bottom - c.top > 1 && rng.bounded(2) == 0) {
                // Stacked halves: an edge across which nothing changes.
                const int cut = rng.bounded(c.top + 1, c.bottom);
                add({c.left, c.top, c.right, cut});
                add({c.left, cut, c.right, c.bottom});
            } else {
                add(c);
            }
        }
        const QRegion want = reference(huge);
        // Qt's own XOR can leave equal bands unmerged here: only its pixels count.
        EXPECT_TRUE(big.toQRegion().xored(want).isEmpty()) << "round " << round;
        expectCanonical(big.rects());
        std::vector<Rect> scaled;
        for (const Rect& c : small.rects())
            scaled.push_back(spread(c));
        EXPECT_EQ(big.rects(), scaled) << "round " << round;
        if (HasFailure())
            return; // one round's report is enough to replay it

        // Count the rounds where a band runs down across an edge of the input.
        std::set<int> edges;
        for (const Rect& h : huge)
            edges.insert({h.top, h.bottom});
        for (const Rect& r : big.rects())
            if (edges.upper_bound(r.top) != edges.lower_bound(r.bottom)) {
                ++mergedRounds;
                break;
            }
    }
    EXPECT_GT(mergedRounds, 80) << "too few rounds reach a merge to tell anything";
}

TEST(XorRegion, CombiningRegionsAndReadingInBetween) {
    XorRegion a, b;
    a.setRect({0, 0, 10, 10});
    a.xorRect({2, 2, 4, 4});
    EXPECT_EQ(a.toQRegion(), QRegion(0, 0, 10, 10).xored(QRegion(2, 2, 2, 2)));
    b.xorRect({5, 5, 20, 20});
    a.xorRegion(b);
    a.xorRect({0, 0, 1, 1});
    QRegion want = QRegion(0, 0, 10, 10).xored(QRegion(2, 2, 2, 2));
    want = want.xored(QRegion(5, 5, 15, 15)).xored(QRegion(0, 0, 1, 1));
    EXPECT_EQ(a.toQRegion(), want);
    a.xorRegion(a);
    EXPECT_TRUE(a.isEmpty());
    a.xorRect({3, 3, 3, 9}); // empty rectangles change nothing
    EXPECT_TRUE(a.isEmpty());
}

} // namespace
