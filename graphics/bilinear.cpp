#include "graphics/bilinear.h"

#include <algorithm>
#include <cmath>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace vell {
namespace {

// (from - 1) / to, divided in double and kept in single precision.
float scaleOf(std::int32_t from, std::int32_t to) {
    return float(double(checkedLong(std::int64_t(from) - 1)) / double(to));
}

struct Position {
    std::int64_t whole;
    float frac;
};

// scale x n kept in single precision, split into its whole and its fraction.
inline Position positionAt(float scale, std::int32_t n) {
    const float pos = float(double(scale) * double(n));
    if (!(pos >= -2147483648.0f && pos < 2147483648.0f))
        throw RuntimeError::overflow();     // no 32-bit index
    std::int64_t whole = std::int64_t(pos); // toward zero; floor below
    if (float(whole) > pos)
        --whole;
    return {whole, float(double(pos) - double(whole))};
}

inline double mix(float f, double a, double b) {
    return (1.0 - double(f)) * a + double(f) * b;
}

// To nearest, halves to even: adding 1.5 x 2^52 leaves no fraction bits, and
// the addition rounds as the default rounding mode does. Blends lie far inside
// the +-2^51 where this holds.
inline std::int32_t roundEven(double v) {
    constexpr double Shift = 6755399441055744.0;
    return std::int32_t((v + Shift) - Shift);
}

inline std::uint8_t toByte(std::int32_t v) {
    return std::uint8_t(std::clamp(v, 0, 255));
}

// One target pixel from two checked rows.
inline void pixelAt(const detail::RowJob& job, std::int32_t x) {
    const Position p = positionAt(job.xScale, x);
    const std::size_t o = 3 * std::size_t(p.whole);
    const std::uint8_t* a = job.r0 + o;
    const std::uint8_t* c = job.r1 + o;
    std::uint8_t* d = job.out + 3 * std::size_t(x);
    for (int ch = 0; ch < 3; ++ch) {
        const std::int32_t left = roundEven(mix(job.yFrac, a[ch], c[ch]));
        const std::int32_t right = roundEven(mix(job.yFrac, a[3 + ch], c[3 + ch]));
        d[ch] = toByte(roundEven(mix(p.frac, left, right)));
    }
}

} // namespace

namespace detail {

void interpolateChecked(const ByteView& src, std::int32_t width, std::int32_t height,
                        const ByteView& dst, std::int32_t dstWidth, std::int32_t dstHeight) {
    if (dstWidth <= 0 || dstHeight <= 0)
        return;
    const float xScale = scaleOf(width, dstWidth);
    const float yScale = scaleOf(height, dstHeight);
    for (std::int32_t y = 0; y < dstHeight; ++y) {
        const Position py = positionAt(yScale, y);
        const std::int32_t yi = checkedLong(py.whole);
        const std::int32_t yi1 = checkedLong(std::int64_t(yi) + 1);
        for (std::int32_t x = 0; x < dstWidth; ++x) {
            const std::int32_t bx = checkedLong(3 * positionAt(xScale, x).whole);
            std::uint8_t s[12];
            for (int k = 0; k < 6; ++k)
                s[k] = src(checkedLong(std::int64_t(bx) + k), yi);
            for (int k = 0; k < 6; ++k)
                s[6 + k] = src(checkedLong(std::int64_t(bx) + k), yi1);
            const float xFrac = positionAt(xScale, x).frac;
            for (int ch = 0; ch < 3; ++ch) {
                const std::int32_t left = roundEven(mix(py.frac, s[ch], s[6 + ch]));
                const std::int32_t right = roundEven(mix(py.frac, s[3 + ch], s[9 + ch]));
                dst(checkedLong(3 * std::int64_t(x) + ch), y) =
                    toByte(roundEven(mix(xFrac, left, right)));
            }
        }
    }
}

void interpolateRowScalar(const RowJob& job) {
    for (std::int32_t x = 0; x < job.width; ++x)
        pixelAt(job, x);
}

#if defined(__SSE2__)
namespace {

// With a fraction f = F / 2^23, the blend (1 - f) a + f c is exactly
// X / 2^23 with X = a 2^23 + F (c - a), which lies in [0, 255 2^23]: the
// double-precision evaluation makes no rounding error, so rounding X / 2^23
// in integers gives the same byte. A tie (X mod 2^23 = 2^22) needs F to be a
// multiple of 2^15, since |c - a| < 256; other fractions round halves up.
constexpr int FracBits = 23;

template <bool Ties>
__attribute__((target("avx2"))) inline __m256i blend(__m256i a, __m256i c, __m256i f) {
    const __m256i x = _mm256_add_epi32(_mm256_slli_epi32(a, FracBits),
                                       _mm256_mullo_epi32(f, _mm256_sub_epi32(c, a)));
    if constexpr (Ties) {
        const __m256i odd = _mm256_and_si256(_mm256_srli_epi32(x, FracBits), _mm256_set1_epi32(1));
        const __m256i half = _mm256_set1_epi32((1 << (FracBits - 1)) - 1);
        return _mm256_srli_epi32(_mm256_add_epi32(_mm256_add_epi32(x, half), odd), FracBits);
    } else {
        return _mm256_srli_epi32(_mm256_add_epi32(x, _mm256_set1_epi32(1 << (FracBits - 1))),
                                 FracBits);
    }
}

__attribute__((target("avx2"))) inline bool tiesPossible(__m256i f) {
    const __m256i low = _mm256_and_si256(f, _mm256_set1_epi32((1 << 15) - 1));
    const __m256i zero = _mm256_setzero_si256();
    const __m256i m =
        _mm256_andnot_si256(_mm256_cmpeq_epi32(f, zero), _mm256_cmpeq_epi32(low, zero));
    return !_mm256_testz_si256(m, m);
}

// Byte shift / 8 of each 32-bit lane.
__attribute__((target("avx2"))) inline __m256i byteOf(__m256i w, int shift) {
    return _mm256_and_si256(_mm256_srli_epi32(w, shift), _mm256_set1_epi32(0xFF));
}

__attribute__((target("avx2"))) inline __m256i widen(const std::uint8_t* p) {
    return _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)));
}

// Eight target pixels x .. x + 7 whose source pixels lie in two 16-byte
// windows, one for each group of four: the vertical blends are made on the
// windows' bytes, then shuffled into place for the horizontal ones.
// With OneWindow, all eight lie in the first window, which serves both groups.
template <bool VTies, bool OneWindow>
__attribute__((target("avx2"))) void eightPixels(const RowJob& job, std::int32_t x, __m256i xi,
                                                 __m256i fx, __m256i fy) {
    const int b0 = _mm256_cvtsi256_si32(xi);
    const int b1 = OneWindow ? b0 : _mm256_extract_epi32(xi, 4);
    const std::uint8_t* a0 = job.r0 + 3 * std::size_t(b0);
    const std::uint8_t* a1 = job.r0 + 3 * std::size_t(b1);
    const std::uint8_t* c0 = job.r1 + 3 * std::size_t(b0);
    const std::uint8_t* c1 = job.r1 + 3 * std::size_t(b1);
    const __m256i v0 = blend<VTies>(widen(a0), widen(c0), fy);
    const __m256i v1 = blend<VTies>(widen(a0 + 8), widen(c0 + 8), fy);
    const __m256i v2 = OneWindow ? v0 : blend<VTies>(widen(a1), widen(c1), fy);
    const __m256i v3 = OneWindow ? v1 : blend<VTies>(widen(a1 + 8), widen(c1 + 8), fy);
    const __m256i inOrder = _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7);
    // Window 0 in the low 16 bytes, window 1 in the high 16.
    const __m256i v = _mm256_permutevar8x32_epi32(
        _mm256_packus_epi16(_mm256_packus_epi32(v0, v1), _mm256_packus_epi32(v2, v3)), inOrder);

    // Byte 3p + c (group 0) or 4 + 3p + c (group 1) takes channel c of the
    // left neighbour of pixel p: window byte 3 (xi - base) + c.
    const __m256i rel = _mm256_sub_epi32(
        xi, OneWindow ? _mm256_set1_epi32(b0)
                      : _mm256_permutevar8x32_epi32(xi, _mm256_setr_epi32(0, 0, 0, 0, 4, 4, 4, 4)));
    const __m256i rel3 = _mm256_add_epi32(_mm256_slli_epi32(rel, 1), rel);
    const __m256i spread =
        _mm256_setr_epi8(0, 0, 0, 4, 4, 4, 8, 8, 8, 12, 12, 12, -128, -128, -128, -128, //
                         -128, -128, -128, -128, 0, 0, 0, 4, 4, 4, 8, 8, 8, 12, 12, 12);
    const __m256i channel = _mm256_setr_epi8(0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 0, 0, 0, //
                                             0, 0, 0, 0, 0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2);
    const __m256i leftIndex = _mm256_add_epi8(_mm256_shuffle_epi8(rel3, spread), channel);
    const __m256i rightIndex = _mm256_add_epi8(leftIndex, _mm256_set1_epi8(3));
    const __m256i together = _mm256_setr_epi32(0, 1, 2, 5, 6, 7, 3, 4);
    const __m256i left = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(v, leftIndex), together);
    const __m256i right = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(v, rightIndex), together);

    // Each pixel's fraction for its three channels.
    const __m256i f0 = _mm256_permutevar8x32_epi32(fx, _mm256_setr_epi32(0, 0, 0, 1, 1, 1, 2, 2));
    const __m256i f1 = _mm256_permutevar8x32_epi32(fx, _mm256_setr_epi32(2, 3, 3, 3, 4, 4, 4, 5));
    const __m256i f2 = _mm256_permutevar8x32_epi32(fx, _mm256_setr_epi32(5, 5, 6, 6, 6, 7, 7, 7));
    const __m128i l = _mm256_castsi256_si128(left);
    const __m128i r = _mm256_castsi256_si128(right);
    const __m256i l0 = _mm256_cvtepu8_epi32(l), r0 = _mm256_cvtepu8_epi32(r);
    const __m256i l1 = _mm256_cvtepu8_epi32(_mm_srli_si128(l, 8));
    const __m256i r1 = _mm256_cvtepu8_epi32(_mm_srli_si128(r, 8));
    const __m256i l2 = _mm256_cvtepu8_epi32(_mm256_extracti128_si256(left, 1));
    const __m256i r2 = _mm256_cvtepu8_epi32(_mm256_extracti128_si256(right, 1));
    __m256i h0, h1, h2;
    if (tiesPossible(fx)) {
        h0 = blend<true>(l0, r0, f0);
        h1 = blend<true>(l1, r1, f1);
        h2 = blend<true>(l2, r2, f2);
    } else {
        h0 = blend<false>(l0, r0, f0);
        h1 = blend<false>(l1, r1, f1);
        h2 = blend<false>(l2, r2, f2);
    }
    const __m256i out = _mm256_permutevar8x32_epi32(
        _mm256_packus_epi16(_mm256_packus_epi32(h0, h1), _mm256_packus_epi32(h2, h2)), inOrder);
    std::uint8_t* d = job.out + 3 * std::size_t(x);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d), _mm256_castsi256_si128(out));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(d + 16), _mm256_extracti128_si256(out, 1));
}

// Eight target pixels anywhere in the row, one lane each: every pixel's two
// source pixels are fetched on their own, for scales that spread a group of
// four over more than one 16-byte window (shrinking).
template <bool VTies>
__attribute__((target("avx2"))) void eightSpreadPixels(const RowJob& job, std::int32_t x,
                                                       __m256i xi, __m256i fx, __m256i fy) {
    const __m256i at = _mm256_add_epi32(_mm256_slli_epi32(xi, 1), xi); // 3 xi
    const __m256i at2 = _mm256_add_epi32(at, _mm256_set1_epi32(2));
    const auto* r0 = reinterpret_cast<const int*>(job.r0);
    const auto* r1 = reinterpret_cast<const int*>(job.r1);
    // Bytes 3 xi .. 3 xi + 3 and 3 xi + 2 .. 3 xi + 5 of both rows.
    const __m256i a = _mm256_i32gather_epi32(r0, at, 1), a2 = _mm256_i32gather_epi32(r0, at2, 1);
    const __m256i c = _mm256_i32gather_epi32(r1, at, 1), c2 = _mm256_i32gather_epi32(r1, at2, 1);
    // Channel ch of the left pixel is byte ch of the first word; of the right
    // pixel, byte 3 of the first word (blue) or bytes 2 and 3 of the second.
    const int rightWord[3] = {0, 1, 1}, rightShift[3] = {24, 16, 24};
    const bool ties = tiesPossible(fx);
    __m256i out = _mm256_setzero_si256();
    for (int ch = 0; ch < 3; ++ch) {
        const __m256i left = blend<VTies>(byteOf(a, 8 * ch), byteOf(c, 8 * ch), fy);
        const __m256i ra = byteOf(rightWord[ch] ? a2 : a, rightShift[ch]);
        const __m256i rc = byteOf(rightWord[ch] ? c2 : c, rightShift[ch]);
        const __m256i right = blend<VTies>(ra, rc, fy);
        const __m256i v = ties ? blend<true>(left, right, fx) : blend<false>(left, right, fx);
        out = _mm256_or_si256(out, _mm256_slli_epi32(v, 8 * ch));
    }
    // Drop each pixel's fourth byte: 12 bytes a half, then 24 in a row.
    const __m256i squeeze =
        _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1, 0, 1, 2, 4, 5, 6,
                         8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    const __m256i packed = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(out, squeeze),
                                                       _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 3, 7));
    std::uint8_t* d = job.out + 3 * std::size_t(x);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d), _mm256_castsi256_si128(packed));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(d + 16), _mm256_extracti128_si256(packed, 1));
}

template <bool VTies>
__attribute__((target("avx2"))) void rowAvx2(const RowJob& job, __m256i fy) {
    const __m256 scale = _mm256_set1_ps(job.xScale);
    const __m256 two23 = _mm256_set1_ps(float(1 << FracBits));
    const __m256i step = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    std::int32_t x = 0;
    for (; x + 8 <= job.width; x += 8) {
        // Same single-precision products as the scalar form: x < 2^24 is exact.
        const __m256 pos =
            _mm256_mul_ps(_mm256_cvtepi32_ps(_mm256_add_epi32(_mm256_set1_epi32(x), step)), scale);
        const __m256 whole = _mm256_floor_ps(pos);
        const __m256i xi = _mm256_cvttps_epi32(whole);
        const __m256 f = _mm256_mul_ps(_mm256_sub_ps(pos, whole), two23);
        const __m256i fx = _mm256_cvttps_epi32(f);
        const bool exact =
            _mm256_movemask_ps(_mm256_cmp_ps(_mm256_cvtepi32_ps(fx), f, _CMP_NEQ_UQ)) == 0;
        // Each group of four needs at most 5 source pixels (16 bytes read).
        const int b0 = _mm256_cvtsi256_si32(xi), b1 = _mm256_extract_epi32(xi, 4);
        const bool fits = _mm256_extract_epi32(xi, 3) - b0 <= 3 &&
                          _mm256_extract_epi32(xi, 7) - b1 <= 3 &&
                          3 * std::int64_t(b1) + 16 <= job.srcBytes;
        if (exact && fits && _mm256_extract_epi32(xi, 7) - b0 <= 3) {
            eightPixels<VTies, true>(job, x, xi, fx, fy);
        } else if (exact && fits) {
            eightPixels<VTies, false>(job, x, xi, fx, fy);
        } else if (exact) {
            eightSpreadPixels<VTies>(job, x, xi, fx, fy);
        } else {
            for (std::int32_t k = x; k < x + 8; ++k)
                pixelAt(job, k);
        }
    }
    for (; x < job.width; ++x)
        pixelAt(job, x);
}

} // namespace

__attribute__((target("avx2"))) void interpolateRowAvx2(const RowJob& job) {
    // The vector form needs exact single-precision column numbers and a row
    // fraction that is a whole number of 2^-23.
    const double f = double(job.yFrac) * double(1 << FracBits);
    if (job.width > (1 << 24) || f != std::floor(f))
        return interpolateRowScalar(job);
    const std::int32_t fy = std::int32_t(f);
    const bool ties = fy != 0 && (fy & ((1 << 15) - 1)) == 0;
    if (ties)
        rowAvx2<true>(job, _mm256_set1_epi32(fy));
    else
        rowAvx2<false>(job, _mm256_set1_epi32(fy));
}
#endif

bool haveAvx2() {
#if defined(__SSE2__)
    return __builtin_cpu_supports("avx2");
#else
    return false;
#endif
}

} // namespace detail

namespace {

using detail::FillRow;

FillRow pickRowFiller() {
#if defined(__SSE2__)
    if (detail::haveAvx2())
        return detail::interpolateRowAvx2;
#endif
    return detail::interpolateRowScalar;
}

const FillRow fillRow = pickRowFiller();

} // namespace

void interpolate(const ByteView& src, std::int32_t width, std::int32_t height, const ByteView& dst,
                 std::int32_t dstWidth, std::int32_t dstHeight) {
    detail::interpolateUsing(fillRow, src, width, height, dst, dstWidth, dstHeight);
}

void detail::interpolateUsing(FillRow fill, const ByteView& src, std::int32_t width,
                              std::int32_t height, const ByteView& dst, std::int32_t dstWidth,
                              std::int32_t dstHeight) {
    if (dstWidth <= 0 || dstHeight <= 0)
        return;
    // Rows and columns map to source positions in order, so the last target
    // row and column read furthest; when they stay inside, every read does.
    bool inside = width >= 2 && height >= 2 && src.height() == height &&
                  std::int64_t(src.width()) >= 3 * std::int64_t(width) &&
                  dst.height() == dstHeight &&
                  std::int64_t(dst.width()) >= 3 * std::int64_t(dstWidth);
    const float xScale = inside ? scaleOf(width, dstWidth) : 0;
    const float yScale = inside ? scaleOf(height, dstHeight) : 0;
    inside = inside && positionAt(xScale, dstWidth - 1).whole <= width - 2 &&
             positionAt(yScale, dstHeight - 1).whole <= height - 2;
    if (!inside)
        return detail::interpolateChecked(src, width, height, dst, dstWidth, dstHeight);
    for (std::int32_t y = 0; y < dstHeight; ++y) {
        const Position py = positionAt(yScale, y);
        const std::int32_t yi = std::int32_t(py.whole);
        fill({src.row(yi).data(), src.row(yi + 1).data(), dst.row(y).data(), src.width(), dstWidth,
              xScale, py.frac});
    }
}

} // namespace vell
