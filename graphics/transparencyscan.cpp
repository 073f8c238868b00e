#include "graphics/transparencyscan.h"

#include "graphics/formats/littleendian.h"

#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace vell {
namespace detail {

void classifyRowScalar(const std::uint8_t* row, std::int32_t x0, std::int32_t x1, std::uint32_t key,
                       Word* mask) {
    for (std::int32_t x = x0; x < x1; ++x) {
        const std::uint8_t* p = row + 3 * std::size_t(x);
        mask[x / 64] |= Word(le::get24(p) == key) << (x % 64);
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

// The key's three bytes repeated over 96 bytes, made once per key.
const std::uint8_t* keyPattern(std::uint32_t key) {
    struct Cache {
        std::uint32_t key = ~0u; // no 24-bit key matches
        alignas(32) std::uint8_t bytes[96];
    };
    static thread_local Cache cache;
    if (cache.key != key) {
        for (int i = 0; i < 96; ++i)
            cache.bytes[i] = std::uint8_t(key >> (8 * (i % 3)));
        cache.key = key;
    }
    return cache.bytes;
}

// Sixteen pixels (48 bytes): compare every byte with the key's byte for its
// position; a pixel is transparent when all three match.
inline Word sixteenPixels(const std::uint8_t* row, const std::uint8_t* pattern) {
    const auto* p = reinterpret_cast<const __m128i*>(row);
    const auto* k = reinterpret_cast<const __m128i*>(pattern);
    auto equal = [&](int i) {
        return std::uint64_t(unsigned(
            _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(p + i), _mm_load_si128(k + i)))));
    };
    const std::uint64_t eq = equal(0) | equal(1) << 16 | equal(2) << 32;
    const std::uint64_t all = eq & eq >> 1 & eq >> 2;
    return Word(Gather.value[all & 0x249]) | Word(Gather.value[all >> 12 & 0x249]) << 4 |
           Word(Gather.value[all >> 24 & 0x249]) << 8 | Word(Gather.value[all >> 36 & 0x249]) << 12;
}

// From pixel x on, sixteen at a time while they last, then one by one.
void classifyRest(const std::uint8_t* row, std::int32_t x, std::int32_t width, std::uint32_t key,
                  Word* mask) {
    const std::uint8_t* pattern = keyPattern(key);
    for (; x + 16 <= width; x += 16) // 16 divides 64: a block never straddles two words
        mask[x / 64] |= sixteenPixels(row + 3 * std::size_t(x), pattern) << (x % 64);
    classifyRowScalar(row, x, width, key, mask);
}

void classifyRowSse2(const std::uint8_t* row, std::int32_t width, std::uint32_t key, Word* mask) {
    classifyRest(row, 0, width, key, mask);
}

// Four pixels: spread each pixel's three bytes into a 32-bit lane with a zero
// top byte and compare whole lanes with the key.
__attribute__((target("ssse3"))) static inline Word four(const std::uint8_t* p, __m128i spread,
                                                         __m128i k) {
    const __m128i v =
        _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), spread);
    return Word(unsigned(_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(v, k)))));
}

__attribute__((target("ssse3"))) void classifyRowSsse3(const std::uint8_t* row, std::int32_t width,
                                                       std::uint32_t key, Word* mask) {
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
    classifyRest(row, x, width, key, mask);
}

__attribute__((target("avx2"))) static inline std::uint64_t equalBytes(const std::uint8_t* p,
                                                                       const __m256i& k) {
    const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    return std::uint64_t(std::uint32_t(_mm256_movemask_epi8(_mm256_cmpeq_epi8(v, k))));
}

// Thirty-two pixels (96 bytes) a step: compare every byte with the key's
// byte for its position, then keep every third bit of "all three equal".
__attribute__((target("avx2,bmi2"))) void
classifyRowAvx2(const std::uint8_t* row, std::int32_t width, std::uint32_t key, Word* mask) {
    const std::uint8_t* pattern = keyPattern(key);
    const __m256i k0 = _mm256_load_si256(reinterpret_cast<const __m256i*>(pattern));
    const __m256i k1 = _mm256_load_si256(reinterpret_cast<const __m256i*>(pattern + 32));
    const __m256i k2 = _mm256_load_si256(reinterpret_cast<const __m256i*>(pattern + 64));
    std::int32_t x = 0;
    for (; x + 32 <= width; x += 32) {
        const std::uint8_t* p = row + 3 * std::size_t(x);
        const std::uint64_t lo = equalBytes(p, k0) | equalBytes(p + 32, k1) << 32; // bytes 0-63
        const std::uint64_t hi = equalBytes(p + 64, k2);                           // bytes 64-95
        // Pixels 0-20 lie in lo; pixel 21 starts at byte 63; 22-31 follow in hi.
        const std::uint64_t a = lo & lo >> 1 & lo >> 2;
        const std::uint64_t m = lo >> 63 | hi << 1; // from byte 63 on
        const std::uint64_t b = m & m >> 1 & m >> 2;
        const Word pixels = _pext_u64(a, 0x1249249249249249ull) | _pext_u64(b, 0x49249249ull) << 21;
        mask[x / 64] |= pixels << (x % 64); // 32 divides 64: never split
    }
    classifyRest(row, x, width, key, mask);
}
#endif

} // namespace detail

namespace {

using detail::Word;
using ClassifyRow = void (*)(const std::uint8_t*, std::int32_t, std::uint32_t, Word*);

ClassifyRow pickClassifier() {
#if defined(__SSE2__)
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi2"))
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

TransparencyScan::TransparencyScan(const ByteView& bits, std::int32_t width, std::int32_t height,
                                   std::uint32_t colour)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      rowWords_((std::size_t(width_) + 63) / 64), rowBlocks_((std::size_t(height_) + 63) / 64),
      rows_(rowBlocks_ * 64 * rowWords_, 0) {
    if (width_ == 0 || height_ == 0)
        return;
    if (std::int64_t(width_) * 3 > bits.width())
        throw RuntimeError::subscriptOutOfRange(); // pixels would spill past a row
    // Byte 0 of a pixel is blue: read little-endian, the key is 0x00RRGGBB.
    const std::uint32_t key = (colour >> 16 & 0xFF) | (colour & 0xFF00) | (colour & 0xFF) << 16;
    // Image rows top down, reading the buffer in memory order (image row y
    // is buffer row height - 1 - y).
    for (std::int32_t y = 0; y < height_; ++y)
        classifyRow(bits.row(height_ - 1 - y).data(), width_, key,
                    &rows_[std::size_t(y) * rowWords_]);
}

void TransparencyScan::transposeStrip(std::size_t cw, Word* strip) const {
    Word block[64];
    for (std::size_t rb = 0; rb < rowBlocks_; ++rb) {
        Word any = 0, all = ~Word(0);
        for (std::size_t i = 0; i < 64; ++i) {
            block[i] = rows_[(rb * 64 + i) * rowWords_ + cw];
            any |= block[i];
            all &= block[i];
        }
        if (any != 0 && all != ~Word(0)) // a uniform block is its own transpose
            transpose64(block);
        for (std::size_t j = 0; j < 64; ++j)
            strip[j * rowBlocks_ + rb] = block[j];
    }
}

std::vector<TransparentRun> transparentRuns(const ByteView& bits, std::int32_t width,
                                            std::int32_t height, std::uint32_t colour) {
    std::vector<TransparentRun> runs;
    TransparencyScan(bits, width, height, colour)
        .forEachRun([&](std::int32_t x, std::int32_t top, std::int32_t bottom) {
            runs.push_back({x, top, bottom});
        });
    return runs;
}

} // namespace vell
