// A second interpolation, written straight from the formulas on the raw
// buffer with every single-precision value stored through a volatile float,
// compared byte for byte with every row filler over random sizes and pictures.
#include "graphics/bilinear.h"
#include "graphics/dibsection.h"
#include "support/fakegdi.h"
#include "support/testseed.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

using testing_support::FakeGdi;
using testing_support::TestSeed;
using vell::cDIBSection;

namespace {

// Nearest integer, an exact half going to the even one.
long nearestEven(double v) {
    const double below = std::floor(v);
    const double rest = v - below;
    const long n = long(below);
    if (rest > 0.5)
        return n + 1;
    if (rest < 0.5)
        return n;
    return n % 2 == 0 ? n : n + 1;
}

void reference(const cDIBSection& src, cDIBSection& dst) {
    const auto* s = reinterpret_cast<const std::uint8_t*>(src.DIBSectionBitsPtr());
    auto* d = reinterpret_cast<std::uint8_t*>(dst.DIBSectionBitsPtr());
    const long sStride = src.BytesPerScanLine(), dStride = dst.BytesPerScanLine();
    volatile float xScale = float(double(src.Width() - 1) / double(dst.Width()));
    volatile float yScale = float(double(src.Height() - 1) / double(dst.Height()));
    for (long y = 0; y < dst.Height(); ++y) {
        volatile float yPos = float(double(yScale) * double(y));
        const long yi = long(std::floor(yPos));
        volatile float yFrac = yPos - float(yi);
        const std::uint8_t* lo = s + yi * sStride;
        const std::uint8_t* hi = lo + sStride;
        for (long x = 0; x < dst.Width(); ++x) {
            volatile float xPos = float(double(xScale) * double(x));
            const long xi = long(std::floor(xPos));
            volatile float xFrac = xPos - float(xi);
            for (long c = 0; c < 3; ++c) {
                const double wy = yFrac, wx = xFrac;
                const long left = nearestEven((1 - wy) * lo[3 * xi + c] + wy * hi[3 * xi + c]);
                const long right =
                    nearestEven((1 - wy) * lo[3 * xi + 3 + c] + wy * hi[3 * xi + 3 + c]);
                const long v = nearestEven((1 - wx) * double(left) + wx * double(right));
                d[y * dStride + 3 * x + c] = std::uint8_t(v < 0 ? 0 : v > 255 ? 255 : v);
            }
        }
    }
}

struct Case {
    int w, h, w2, h2;
};

// Random sizes: small ones by the thousand, some rows long enough for the
// vector forms, scales that are powers of two (where halves come up), and the
// benchmark's sizes.
std::vector<Case> cases(std::mt19937& rng) {
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    std::vector<Case> out;
    for (int i = 0; i < 3000; ++i) {
        const int w = i % 10 == 0 ? 2 : pick(2, 40), h = i % 7 == 0 ? 2 : pick(2, 12);
        out.push_back({w, h, pick(1, 3 * w), pick(1, 3 * h)});
    }
    for (int i = 0; i < 150; ++i) {
        const int w = pick(2, 400), h = pick(2, 20);
        out.push_back({w, h, pick(1, 2 * w + 40), pick(1, 2 * h + 4)});
    }
    for (int k : {1, 2, 4, 8, 16})
        for (int w : {2, 3, 5, 17, 33, 130})
            out.push_back({w, 5, k * (w - 1), k * 4});
    out.push_back({562, 520, 1124, 1040});
    out.push_back({562, 520, 281, 260});
    return out;
}

TEST(InterpolationCheck, EveryRowFillerMatchesTheFormulasByteForByte) {
    std::vector<std::pair<const char*, vell::detail::FillRow>> fillers = {
        {"scalar", vell::detail::interpolateRowScalar}};
#if defined(__SSE2__)
    if (vell::detail::haveAvx2())
        fillers.push_back({"avx2", vell::detail::interpolateRowAvx2});
#endif
    FakeGdi gdi;
    const TestSeed seed;
    std::mt19937 rng(seed.value());
    long compared = 0;
    for (const Case& k : cases(rng)) {
        cDIBSection src(gdi), want(gdi), got(gdi);
        ASSERT_TRUE(src.Create(k.w, k.h));
        ASSERT_TRUE(want.Create(k.w2, k.h2));
        const auto n = std::size_t(src.BytesPerScanLine()) * std::size_t(k.h);
        auto* s = reinterpret_cast<std::uint8_t*>(src.DIBSectionBitsPtr());
        // Some pictures of few values, where blends land on halves often.
        const unsigned mask = rng() % 3 == 0 ? 0x0Fu : 0xFFu;
        for (std::size_t i = 0; i < n; ++i)
            s[i] = std::uint8_t(rng() & mask);
        reference(src, want);
        const auto size = std::size_t(want.BytesPerScanLine()) * std::size_t(k.h2);
        const auto* expected = reinterpret_cast<const std::uint8_t*>(want.DIBSectionBitsPtr());
        auto check = [&](const char* name, const cDIBSection& made) {
            const auto* bytes = reinterpret_cast<const std::uint8_t*>(made.DIBSectionBitsPtr());
            ASSERT_EQ(std::memcmp(bytes, expected, size), 0)
                << name << ": " << k.w << "x" << k.h << " to " << k.w2 << "x" << k.h2;
            ++compared;
        };
        for (auto [name, fill] : fillers) {
            ASSERT_TRUE(got.Create(k.w2, k.h2)); // all zero: padding must stay so
            vell::detail::interpolateUsing(fill, src.Bits(), k.w, k.h, got.Bits(), k.w2, k.h2);
            check(name, got);
        }
        if (k.w2 != k.w || k.h2 != k.h) {
            auto resampled = src.Resample(k.h2, k.w2);
            ASSERT_TRUE(resampled);
            check("Resample", *resampled);
        }
    }
    EXPECT_GT(compared, 6000);
}

} // namespace
