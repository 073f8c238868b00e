// Finds the vertical runs of transparent pixels of a 24-bit bottom-up surface,
// reading its rows in place in memory order (one pass, no copy of the image),
// and hands them out column by column from the left, each column top down.
#pragma once

#include "graphics/byteview.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <vector>

namespace vell {

struct TransparentRun {
    std::int32_t x;
    std::int32_t top;    // first transparent row, picture coordinates
    std::int32_t bottom; // first row after the run
};

// The surface's pixels as one bit each (transparent or not), read once in
// memory order; then its runs handed out column by column.
class TransparencyScan {
public:
    using Word = std::uint64_t;

    // width and height in pixels; colour as 0x00BBGGRR (top byte ignored).
    TransparencyScan(const ByteView& bits, std::int32_t width, std::int32_t height,
                     std::uint32_t colour);

    // visit(x, top, bottom) for each run: columns from the left, each top down.
    template <typename Visit>
    void forEachRun(Visit&& visit) const;

private:
    // Turns word column cw's 64 columns around, 64 x 64 bits at a time:
    // column j's rows go to strip[j * rowBlocks_ ...], 64 to a word.
    void transposeStrip(std::size_t cw, Word* strip) const;

    std::int32_t width_;
    std::int32_t height_;
    std::size_t rowWords_;
    std::size_t rowBlocks_;
    std::vector<Word> rows_; // image row y: words y * rowWords_ ...
};

template <typename Visit>
void TransparencyScan::forEachRun(Visit&& visit) const {
    std::vector<Word> strip(64 * rowBlocks_);
    std::vector<std::int32_t> edges(std::size_t(height_) + 2);
    for (std::size_t cw = 0; cw < rowWords_; ++cw) {
        transposeStrip(cw, strip.data());
        const std::int32_t columns = std::min<std::int32_t>(64, width_ - std::int32_t(cw * 64));
        for (std::int32_t j = 0; j < columns; ++j) {
            // A column's edges are where it turns transparent or opaque again;
            // they alternate, opening first.
            const Word* column = &strip[std::size_t(j) * rowBlocks_];
            std::size_t n = 0;
            Word carry = 0; // the row above the word's first row
            for (std::size_t rb = 0; rb < rowBlocks_; ++rb) {
                const Word w = column[rb];
                for (Word d = w ^ (w << 1 | carry); d; d &= d - 1)
                    edges[n++] = std::int32_t(rb * 64) + std::countr_zero(d);
                carry = w >> 63;
            }
            if (carry) // only when the height is a multiple of 64
                edges[n++] = height_;
            const std::int32_t x = std::int32_t(cw * 64) + j;
            for (std::size_t e = 0; e + 1 < n; e += 2)
                visit(x, edges[e], edges[e + 1]);
        }
    }
}

// All runs at once, in the same order.
std::vector<TransparentRun> transparentRuns(const ByteView& bits, std::int32_t width,
                                            std::int32_t height, std::uint32_t colour);

// Row classifiers, exposed so each can be checked against the others: set
// bit x of mask (64 pixels a word) for each pixel x whose bytes equal the
// 0x00RRGGBB key read little-endian. The fastest the processor runs is used.
namespace detail {
using Word = std::uint64_t;
void classifyRowScalar(const std::uint8_t* row, std::int32_t x0, std::int32_t x1, std::uint32_t key,
                       Word* mask);
#if defined(__SSE2__)
void classifyRowSse2(const std::uint8_t* row, std::int32_t width, std::uint32_t key, Word* mask);
void classifyRowSsse3(const std::uint8_t* row, std::int32_t width, std::uint32_t key, Word* mask);
void classifyRowAvx2(const std::uint8_t* row, std::int32_t width, std::uint32_t key, Word* mask);
#endif
} // namespace detail

} // namespace vell
