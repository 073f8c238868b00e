// The lazily combined region against Qt's own region arithmetic.
#include "graphics/platform/qt/xorregion.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

using Rect = gdi::RegionRect;
using gdi::qt::XorRegion;

namespace {

QRegion reference(const std::vector<Rect>& rects) {
    QRegion r;
    for (const Rect& x : rects)
        if (!x.empty())
            r ^= QRegion(x.left, x.top, x.right - x.left, x.bottom - x.top);
    return r;
}

void expectCanonical(const std::vector<Rect>& rs) {
    for (size_t i = 0; i < rs.size(); ++i) {
        ASSERT_FALSE(rs[i].empty());
        if (i == 0)
            continue;
        const Rect &a = rs[i - 1], &b = rs[i];
        if (a.top == b.top) {
            EXPECT_EQ(a.bottom, b.bottom) << "one band, one height";
            EXPECT_LT(a.right, b.left) << "sorted, neither overlapping nor touching";
        } else {
            EXPECT_LE(a.bottom, b.top) << "bands sorted and disjoint";
        }
    }
}

TEST(XorRegion, RandomCombinationsGiveQtsPixels) {
    auto* rng = QRandomGenerator::global();
    for (int round = 0; round < 300; ++round) {
        // Window-sized spans are worked out row by row (one or several words
        // of columns), huge ones by the sweep with its sorting path.
        const int span = round % 3 == 0 ? 2000000 : round % 3 == 1 ? 300 : 40;
        std::vector<Rect> rects;
        XorRegion region;
        const int n = rng->bounded(1, 30);
        for (int i = 0; i < n; ++i) {
            const int l = rng->bounded(-span, span), t = rng->bounded(-span, span);
            const Rect r{l, t, l + rng->bounded(0, span / 2 + 1),
                         t + rng->bounded(0, span / 2 + 1)};
            rects.push_back(r);
            region.xorRect(r);
        }
        const QRegion want = reference(rects);
        EXPECT_TRUE(region.toQRegion().xored(want).isEmpty()) << "round " << round;
        EXPECT_EQ(region.toQRegion(), want) << "same canonical bands as Qt, round " << round;
        expectCanonical(region.rects());
    }
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
