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
// More rectangles than this are refused: no window shape comes near it, and
// the limit keeps what a damaged count can make us allocate small (64 MiB).
inline constexpr std::uint32_t MaxRegionRects = 1u << 22;
inline constexpr std::uint64_t MaxRegionDataSize =
    RgnDataHeaderSize + std::uint64_t(16) * MaxRegionRects;
// Coordinates stay within 28 bits, so every width, height and sum of two fits
// an int.
inline constexpr std::int32_t MinRegionCoordinate = -(1 << 27);
inline constexpr std::int32_t MaxRegionCoordinate = (1 << 27) - 1;

// Bytes of the data for count rectangles; 0 when that does not fit 32 bits.
std::uint32_t regionDataSize(std::size_t count);

// Writes the header and the rectangles; out holds regionDataSize(rects.size())
// bytes. rcBound is the rectangles' bounding box, all 0 when there are none.
void writeRegionData(std::span<const RegionRect> rects, std::uint8_t* out);

// Reads region data. Refuses (false) a dwSize other than 32, an iType other
// than 1, fewer bytes than 32 + 16 x nCount, more than MaxRegionRects and
// coordinates outside the 28-bit range. Skips empty or inverted rectangles;
// ignores nRgnSize, rcBound and any bytes after the last rectangle.
bool readRegionData(std::span<const std::uint8_t> data, std::vector<RegionRect>& rects);

// True when the rectangles are y-x banded: sorted by top, the rectangles of a
// band sharing top and bottom and apart from each other left to right, bands
// not overlapping. Such a list is its own union; any other needs working out.
bool isBanded(std::span<const RegionRect> rects);

} // namespace gdi
