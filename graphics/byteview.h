// A bounds-checked two-dimensional view of a pixel buffer, in place: element
// (x, y) is byte x of buffer row y. Every access is checked first; one outside
// the bounds raises "Subscript out of range" and touches no memory.
#pragma once

#include "runtime/runtimeerror.h"

#include <cstdint>
#include <span>

namespace vell {

class ByteView {
public:
    // A view with a negative or zero side has no element at all.
    ByteView(std::uint8_t* base, std::int32_t bytesPerRow, std::int32_t rows)
        : base_(base), width_(base && bytesPerRow > 0 && rows > 0 ? bytesPerRow : 0),
          height_(base && bytesPerRow > 0 && rows > 0 ? rows : 0) {}

    std::uint8_t& operator()(std::int32_t x, std::int32_t y) const {
        // One unsigned compare per index also rejects negative values.
        if (std::uint32_t(x) >= std::uint32_t(width_) || std::uint32_t(y) >= std::uint32_t(height_))
            throw RuntimeError::subscriptOutOfRange();
        return base_[std::size_t(y) * std::size_t(width_) + std::size_t(x)];
    }

    // Row y whole (bytes 0 to width - 1), for readers that walk a row: the row
    // index is checked here and the span's length bounds the rest.
    std::span<std::uint8_t> row(std::int32_t y) const {
        if (std::uint32_t(y) >= std::uint32_t(height_))
            throw RuntimeError::subscriptOutOfRange();
        return {base_ + std::size_t(y) * std::size_t(width_), std::size_t(width_)};
    }

    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }

private:
    std::uint8_t* base_;
    std::int32_t width_;
    std::int32_t height_;
};

} // namespace vell
