// Region data: a region's rectangles in the RGNDATA byte layout, little-endian.
// A 32-byte header (dwSize 32, iType 1, nCount, nRgnSize, rcBound) followed by
// nCount rectangles of four 32-bit signed values: left, top, right, bottom.
// No Qt here: this is the reader of outside bytes, fuzzed on its own.
#pragma once

#include "graphics/formats/regionrect.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace gdi {

inline constexpr std::uint32_t RgnDataHeaderSize = 32;
inline constexpr std::uint32_t RDH_RECTANGLES = 1;
// The most rectangles a region may have to be saved or loaded: one limit for
// both, so that whatever is saved loads again. The region of any picture up
// to 4096 x 4096 pixels keeps within it (a one-pixel checkerboard, the worst
// case, is 8,388,608 rectangles), and its data within 128 MiB.
inline constexpr std::uint32_t MaxRegionRects = 1u << 23;
inline constexpr std::uint64_t MaxRegionDataSize =
    RgnDataHeaderSize + std::uint64_t(16) * MaxRegionRects;
// Rectangles that overlap, or are not in y-x bands even once sorted, are
// merged into bands; past this many rectangles handled in merging, the maker
// gives up (crossing strips make a union quadratic in their number).
inline constexpr std::uint64_t MaxUnionWork = std::uint64_t(1) << 27;
// Coordinates stay within 28 bits, so every width, height and sum of two fits
// an int.
inline constexpr std::int32_t MinRegionCoordinate = -(1 << 27);
inline constexpr std::int32_t MaxRegionCoordinate = (1 << 27) - 1;

// Bytes of the data for count rectangles; 0 when that does not fit 32 bits.
std::uint32_t regionDataSize(std::size_t count);

// Writes the header and the rectangles; out holds regionDataSize(rects.size())
// bytes. rcBound is the rectangles' bounding box, all 0 when there are none.
void writeRegionData(std::span<const RegionRect> rects, std::uint8_t* out);

// Why region data are refused, in the order they are checked.
enum class RegionDataFault {
    None,
    NotRegionData,     // shorter than the header, or dwSize not 32 or iType not 1
    TooManyRects,      // nCount past MaxRegionRects
    Short,             // fewer bytes than 32 + 16 x nCount
    CoordinateOutside, // a coordinate outside the 28-bit range
};

// Reads region data: the rectangles, or the first fault found (rects then
// empty). Skips empty or inverted rectangles; ignores nRgnSize, rcBound and
// any bytes after the last rectangle.
RegionDataFault parseRegionData(std::span<const std::uint8_t> data, std::vector<RegionRect>& rects);
// parseRegionData without the reason: true when it found no fault.
bool readRegionData(std::span<const std::uint8_t> data, std::vector<RegionRect>& rects);

// True when the rectangles are y-x banded: sorted by top, the rectangles of a
// band sharing top and bottom and apart from each other left to right, bands
// not overlapping. Such a list is its own union; any other needs working out.
bool isBanded(std::span<const RegionRect> rects);

// Sorts rects by top then left and, when that puts them in y-x bands, joins
// the ones that touch side by side: true, rects now banded. False when the
// rectangles overlap or cross bands (rects then still cover the same pixels):
// only their union can say what they hold.
bool sortIntoBands(std::vector<RegionRect>& rects);

} // namespace gdi
