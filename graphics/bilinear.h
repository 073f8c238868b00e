// Bilinear interpolation of one 24-bit bottom-up buffer into another, with
// the surface's own arithmetic: single-precision scales, positions and
// fractions; each vertical blend rounded to an integer before the horizontal
// one; every blend in double precision, rounded to nearest, halves to even.
#pragma once

#include "graphics/byteview.h"

#include <cstdint>

namespace vell {

// Fills every pixel of dst (dstWidth x dstHeight) from src (width x height);
// padding bytes of dst are not written. A read outside src raises "Subscript
// out of range"; a byte offset beyond 32 bits raises "Overflow".
void interpolate(const ByteView& src, std::int32_t width, std::int32_t height, const ByteView& dst,
                 std::int32_t dstWidth, std::int32_t dstHeight);

namespace detail {

// One target row whose source rows and every read have been checked already.
struct RowJob {
    const std::uint8_t* r0; // source row yi
    const std::uint8_t* r1; // source row yi + 1
    std::uint8_t* out;
    std::int32_t srcBytes; // readable bytes of r0 and of r1
    std::int32_t width;    // target pixels
    float xScale;
    float yFrac;
};

// Row fillers, exposed so each can be checked against the others. The
// fastest the processor runs is used.
void interpolateRowScalar(const RowJob& job);
#if defined(__SSE2__)
void interpolateRowAvx2(const RowJob& job);
#endif
bool haveAvx2();
using FillRow = void (*)(const RowJob&);
// interpolate, filling checked rows with the given filler.
void interpolateUsing(FillRow fill, const ByteView& src, std::int32_t width, std::int32_t height,
                      const ByteView& dst, std::int32_t dstWidth, std::int32_t dstHeight);

// The checked form of every step, one pixel after another: for sources that
// may be read outside their bounds.
void interpolateChecked(const ByteView& src, std::int32_t width, std::int32_t height,
                        const ByteView& dst, std::int32_t dstWidth, std::int32_t dstHeight);

} // namespace detail
} // namespace vell
