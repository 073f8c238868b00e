#include "transparencyscan.h"

#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace vell {
namespace detail {

void classifyRowScalar(const std::uint8_t* row, std::int32_t x0, std::int32_t x1,
                       std::uint32_t key, Word* mask) {
    for (std::int32_t x = x0; x < x1; ++x) {
        const std::uint8_t* p = row + 3 * std::size_t(x);
        const std::uint32_t v = std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 |
                                std::uint32_t(p[2]) << 16;
        mask[x / 64] |= Word(v == key) << (x % 64);
    }
}

#if defined(__SSE2__)
namespace {

// For a 12-bit group of byte-equality bits (4 pixels, 3 bytes each) where bit
// 3i says "pixel i matches in all three bytes", the 4-bit pixel mask.
struct GatherTable {
    std::uint8_t value[0x249 + 1] = {};
    constexpr GatherTable() {
        for (int i = 0; i < 16; ++i)
            value[(i & 1) | (i & 2) << 2 | (i & 4) << 4 | (i & 8) << 6] = std::uint8_t(i);
    }
};
constexpr GatherTable Gather;

} // namespace

// Sixteen pixels (48 bytes) at a time: compare every byte with the key's
// byte for its position, then a pixel is transparent when all three match.
void classifyRowSse2(const std::uint8_t* row, std::int32_t width, std::uint32_t key, Word* mask) {
    alignas(16) std::uint8_t pattern[48];
    for (int i = 0; i < 48; ++i)
        pattern[i] = std::uint8_t(key >> (8 * (i % 3)));
    const __m128i k0 = _mm_load_si128(reinterpret_cast<const __m128i*>(pattern));
    const __m128i k1 = _mm_load_si128(reinterpret_cast<const __m128i*>(pattern + 16));
    const __m128i k2 = _mm_load_si128(reinterpret_cast<const __m128i*>(pattern + 32));
    std::int32_t x = 0;
    for (; x + 16 <= width; x += 16) {
        const auto* p = reinterpret_cast<const __m128i*>(row + 3 * std::size_t(x));
        const std::uint64_t eq =
            std::uint64_t(unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(p), k0)))) |
            std::uint64_t(unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(p + 1), k1))))
                << 16 |
            std::uint64_t(unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(p + 2), k2))))
                << 32;
        const std::uint64_t all = eq & eq >> 1 & eq >> 2;
        const Word pixels = Word(Gather.value[all & 0x249]) |
                            Word(Gather.value[all >> 12 & 0x249]) << 4 |
                            Word(Gather.value[all >> 24 & 0x249]) << 8 |
                            Word(Gather.value[all >> 36 & 0x249]) << 12;
        mask[x / 64] |= pixels << (x % 64); // 16 divides 64: never split
    }
    classifyRowScalar(row, x, width, key, mask);
}

// Four pixels: spread each pixel's three bytes into a 32-bit lane with a zero
// top byte and compare whole lanes with the key.
__attribute__((target("ssse3"))) static inline Word four(const std::uint8_t* p, __m128i spread,
                                                         __m128i k) {
    const __m128i v = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), spread);
    return Word(unsigned(_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(v, k)))));
}

__attribute__((target("ssse3"))) void classifyRowSsse3(const std::uint8_t* row,
                                                       std::int32_t width, std::uint32_t key,
                                                       Word* mask) {
    const __m128i s = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m128i k = _mm_set1_epi32(int(key));
    std::int32_t x = 0;
    // Each 16-byte load reaches 4 bytes past its 4 pixels: stop 2 pixels early.
    for (; x + 18 <= width; x += 16) {
        const std::uint8_t* p = row + 3 * std::size_t(x);
        const Word pixels = four(p, s, k) | four(p + 12, s, k) << 4 | four(p + 24, s, k) << 8 |
                            four(p + 36, s, k) << 12;
        mask[x / 64] |= pixels << (x % 64);
    }
    classifyRowScalar(row, x, width, key, mask);
}

// Eight pixels a step: the 24 bytes are split over the two 128-bit lanes
// (pixels 0-3 in the low lane, 4-7 in the high), then spread and compared as
// in the SSSE3 version.
__attribute__((target("avx2"))) void classifyRowAvx2(const std::uint8_t* row, std::int32_t width,
                                                     std::uint32_t key, Word* mask) {
    const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 3, 3, 4, 5, 6);
    const __m256i spread = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1,
                                            0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m256i k = _mm256_set1_epi32(int(key));
    std::int32_t x = 0;
    // A 32-byte load covers 8 pixels and 8 bytes more: stop 3 pixels early.
    for (; x + 19 <= width; x += 16) {
        const std::uint8_t* p = row + 3 * std::size_t(x);
        Word pixels = 0;
        for (int half = 0; half < 2; ++half) {
            const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 24 * half));
            const __m256i px = _mm256_shuffle_epi8(_mm256_permutevar8x32_epi32(v, lanes), spread);
            pixels |= Word(unsigned(_mm256_movemask_ps(
                          _mm256_castsi256_ps(_mm256_cmpeq_epi32(px, k)))))
                      << (8 * half);
        }
        mask[x / 64] |= pixels << (x % 64);
    }
    classifyRowScalar(row, x, width, key, mask);
}
#endif

} // namespace detail

namespace {

using detail::Word;
using ClassifyRow = void (*)(const std::uint8_t*, std::int32_t, std::uint32_t, Word*);

ClassifyRow pickClassifier() {
#if defined(__SSE2__)
    if (__builtin_cpu_supports("avx2"))
        return detail::classifyRowAvx2;
    return __builtin_cpu_supports("ssse3") ? detail::classifyRowSsse3 : detail::classifyRowSse2;
#else
    return [](const std::uint8_t* row, std::int32_t width, std::uint32_t key, Word* mask) {
        detail::classifyRowScalar(row, 0, width, key, mask);
    };
#endif
}

const ClassifyRow classifyRow = pickClassifier();

// One step of the 64 x 64 bit transpose: swaps the J x J sub-blocks that lie
// off the diagonal. Constant J and mask let the compiler vectorise it.
template <int J, Word M>
void transposeStep(Word a[64]) {
    for (int k0 = 0; k0 < 64; k0 += 2 * J)
        for (int k = k0; k < k0 + J; ++k) {
            const Word t = ((a[k] >> J) ^ a[k + J]) & M;
            a[k] ^= t << J;
            a[k + J] ^= t;
        }
}

// Transposes a 64 x 64 bit block in place: bit j of a[i] becomes bit i of a[j].
void transpose64(Word a[64]) {
    transposeStep<32, 0x00000000FFFFFFFFull>(a);
    transposeStep<16, 0x0000FFFF0000FFFFull>(a);
    transposeStep<8, 0x00FF00FF00FF00FFull>(a);
    transposeStep<4, 0x0F0F0F0F0F0F0F0Full>(a);
    transposeStep<2, 0x3333333333333333ull>(a);
    transposeStep<1, 0x5555555555555555ull>(a);
}

} // namespace

std::vector<TransparentRun> transparentRuns(const ByteView& bits, std::int32_t width,
                                            std::int32_t height, std::uint32_t colour) {
    std::vector<TransparentRun> runs;
    runs.reserve(std::size_t(width) * 8);
    if (width <= 0 || height <= 0)
        return runs;
    if (std::int64_t(width) * 3 > bits.width())
        throw RuntimeError::subscriptOutOfRange(); // pixels would spill past a row
    // Byte 0 of a pixel is blue: read little-endian, the key is 0x00RRGGBB.
    const std::uint32_t key = (colour >> 16 & 0xFF) | (colour & 0xFF00) | (colour & 0xFF) << 16;

    // 1. One bit a pixel, image rows top down, reading the buffer in memory
    //    order (image row y is buffer row height - 1 - y).
    const std::size_t rowWords = (std::size_t(width) + 63) / 64;
    const std::size_t rowBlocks = (std::size_t(height) + 63) / 64;
    std::vector<Word> rows(rowBlocks * 64 * rowWords, 0);
    for (std::int32_t y = 0; y < height; ++y)
        classifyRow(bits.row(height - 1 - y).data(), width, key, &rows[std::size_t(y) * rowWords]);

    // 2. Turn the bits around, 64 x 64 at a time, so each column's rows lie
    //    in consecutive words.
    std::vector<Word> columns(rowWords * 64 * rowBlocks);
    Word block[64];
    for (std::size_t rb = 0; rb < rowBlocks; ++rb)
        for (std::size_t cw = 0; cw < rowWords; ++cw) {
            Word any = 0, all = ~Word(0);
            for (std::size_t i = 0; i < 64; ++i) {
                block[i] = rows[(rb * 64 + i) * rowWords + cw];
                any |= block[i];
                all &= block[i];
            }
            if (any != 0 && all != ~Word(0)) // a uniform block is its own transpose
                transpose64(block);
            for (std::size_t j = 0; j < 64; ++j)
                columns[(cw * 64 + j) * rowBlocks + rb] = block[j];
        }

    // 3. Column by column from the left, each top down: a run opens where the
    //    column turns transparent and closes where it turns opaque again.
    for (std::int32_t x = 0; x < width; ++x) {
        const Word* column = &columns[std::size_t(x) * rowBlocks];
        Word carry = 0; // the row above the word's first row
        std::int32_t top = 0;
        for (std::size_t rb = 0; rb < rowBlocks; ++rb) {
            const Word w = column[rb];
            for (Word d = w ^ (w << 1 | carry); d; d &= d - 1) {
                const int i = std::countr_zero(d);
                const std::int32_t y = std::int32_t(rb * 64) + i;
                if (w >> i & 1)
                    top = y;
                else
                    runs.push_back({x, top, y});
            }
            carry = w >> 63;
        }
        if (carry) // only when the height is a multiple of 64
            runs.push_back({x, top, height});
    }
    return runs;
}

} // namespace vell
