// Finds the vertical runs of transparent pixels of a 24-bit bottom-up surface,
// reading its rows in place in memory order (one pass, no copy of the image),
// and hands them out column by column from the left, each column top down.
#pragma once

#include "byteview.h"

#include <cstdint>
#include <vector>

namespace vell {

struct TransparentRun {
    std::int32_t x;
    std::int32_t top;    // first transparent row, picture coordinates
    std::int32_t bottom; // first row after the run
};

// width and height in pixels; colour as 0x00BBGGRR (top byte ignored).
std::vector<TransparentRun> transparentRuns(const ByteView& bits, std::int32_t width,
                                            std::int32_t height, std::uint32_t colour);

// Row classifiers, exposed so each can be checked against the others: set
// bit x of mask (64 pixels a word) for each pixel x whose bytes equal the
// 0x00RRGGBB key read little-endian. The fastest the processor runs is used.
namespace detail {
using Word = std::uint64_t;
void classifyRowScalar(const std::uint8_t* row, std::int32_t x0, std::int32_t x1,
                       std::uint32_t key, Word* mask);
#if defined(__SSE2__)
void classifyRowSse2(const std::uint8_t* row, std::int32_t width, std::uint32_t key, Word* mask);
void classifyRowSsse3(const std::uint8_t* row, std::int32_t width, std::uint32_t key, Word* mask);
void classifyRowAvx2(const std::uint8_t* row, std::int32_t width, std::uint32_t key, Word* mask);
#endif
} // namespace detail

} // namespace vell
