// The row classifiers agree with each other, and the run finder with a
// pixel-by-pixel reading, on rows of every length around the block sizes.
#include "graphics/transparencyscan.h"
#include "support/testseed.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

#include <vector>

using vell::detail::Word;

namespace {

using Classifier = void (*)(const std::uint8_t*, std::int32_t, std::uint32_t, Word*);

std::vector<Word> classify(Classifier f, const std::vector<std::uint8_t>& row, int width,
                           std::uint32_t key) {
    std::vector<Word> mask((size_t(width) + 63) / 64, 0);
    f(row.data(), width, key, mask.data());
    return mask;
}

TEST(TransparencyScan, EveryRowClassifierMatchesTheBytewiseOne) {
    const testing_support::TestSeed seed;
    QRandomGenerator rng(seed.value());
    std::vector<Classifier> fast;
#if defined(__SSE2__)
    fast.push_back(vell::detail::classifyRowSse2);
    if (__builtin_cpu_supports("ssse3"))
        fast.push_back(vell::detail::classifyRowSsse3);
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi2"))
        fast.push_back(vell::detail::classifyRowAvx2);
#endif
    ASSERT_FALSE(fast.empty());
    const std::uint32_t key = 0x00102030; // bytes 30 20 10 in memory
    for (int width = 1; width <= 200; ++width) {
        // Exactly the row's pixel bytes: a read past them would show in ASan.
        std::vector<std::uint8_t> row(size_t(width) * 3);
        for (int x = 0; x < width; ++x) {
            const int kind = rng.bounded(4); // transparent, or off in one byte
            const std::uint8_t px[3] = {0x30, 0x20, 0x10};
            for (int c = 0; c < 3; ++c)
                row[size_t(x) * 3 + size_t(c)] = std::uint8_t(px[c] + (kind == c + 1 ? 1 : 0));
        }
        std::vector<Word> want((size_t(width) + 63) / 64, 0);
        vell::detail::classifyRowScalar(row.data(), 0, width, key, want.data());
        for (Classifier f : fast)
            ASSERT_EQ(classify(f, row, width, key), want) << "width " << width;
    }
}

TEST(TransparencyScan, RunsComeColumnByColumnTopDownForHeightsAroundSixtyFour) {
    const testing_support::TestSeed seed;
    QRandomGenerator rng(seed.value());
    for (int height : {1, 2, 63, 64, 65, 128, 130}) {
        const int width = 70, stride = (width * 3 + 3) & ~3;
        std::vector<std::uint8_t> buffer(size_t(stride) * size_t(height), 0xFF);
        std::vector<std::vector<bool>> clear{size_t(width), std::vector<bool>(size_t(height))};
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (rng.bounded(2)) {
                    clear[size_t(x)][size_t(y)] = true;
                    std::uint8_t* p =
                        &buffer[size_t(height - 1 - y) * size_t(stride) + size_t(x) * 3];
                    p[0] = p[1] = p[2] = 0;
                }
        std::vector<vell::TransparentRun> want;
        for (int x = 0; x < width; ++x)
            for (int y = 0; y < height;) {
                if (!clear[size_t(x)][size_t(y)]) {
                    ++y;
                    continue;
                }
                const int top = y;
                while (y < height && clear[size_t(x)][size_t(y)])
                    ++y;
                want.push_back({x, top, y});
            }
        const vell::ByteView view(buffer.data(), stride, height);
        const auto got = vell::transparentRuns(view, width, height, 0);
        ASSERT_EQ(got.size(), want.size()) << "height " << height;
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].x, want[i].x);
            EXPECT_EQ(got[i].top, want[i].top);
            EXPECT_EQ(got[i].bottom, want[i].bottom);
        }
    }
}

} // namespace
