// The members that make new pixels: resampling and noise.
#include "graphics/bilinear.h"
#include "graphics/dibsection.h"
#include "graphics/randomsource.h"

#include <algorithm>
#include <cmath>

namespace vell {
namespace {

// round(r x 255) in double precision, halves to even.
std::uint8_t randomByte(RandomSource& random) {
    return std::uint8_t(std::clamp(std::nearbyint(double(random.next()) * 255.0), 0.0, 255.0));
}

} // namespace

std::unique_ptr<cDIBSection> cDIBSection::Resample(std::int32_t lNewHeight,
                                                   std::int32_t lNewWidth) const {
    if (!lBits)
        return nullptr; // a size without pixels: nothing to read from
    auto target = std::make_unique<cDIBSection>(gdi_);
    if (!target->Create(lNewWidth, lNewHeight))
        return nullptr;
    if (lNewWidth == Width() && lNewHeight == Height())
        target->LoadPictureBlt(hMemDC, 0, 0, -1, -1, gdi::SRCCOPY);
    else
        InterpolateInto(*target); // an error releases the new surface on its way out
    return target;
}

void cDIBSection::InterpolateInto(cDIBSection& cDibTarget) const {
    interpolate(Bits(), Width(), Height(), cDibTarget.Bits(), cDibTarget.Width(),
                cDibTarget.Height());
}

void cDIBSection::RandomiseBits(bool bGray) {
    RandomiseBits(bGray, RandomSource::system());
}

void cDIBSection::RandomiseBits(bool bGray, RandomSource& random) {
    random.reseedFromTimeOfDay();
    // The offset of the last pixel's first byte in a row.
    const std::int64_t xEnd = checkedLong(3 * std::int64_t(checkedLong(std::int64_t(Width()) - 1)));
    if (!lBits)
        return;
    const ByteView bits = Bits();
    const std::int32_t height = Height();
    if (bGray) {
        for (std::int32_t y = 0; y < height; ++y)
            for (std::int64_t x = 0; x <= xEnd; x += 3) {
                const std::uint8_t v = randomByte(random);
                const auto bx = std::int32_t(x);
                bits(bx, y) = v;
                bits(bx + 1, y) = v;
                bits(bx + 2, y) = v;
            }
    } else {
        for (std::int64_t x = 0; x <= xEnd; x += 3)
            for (std::int32_t y = 0; y < height; ++y) {
                const auto bx = std::int32_t(x);
                bits(bx, y) = 0;
                bits(bx + 1, y) = randomByte(random);
                bits(bx + 2, y) = randomByte(random);
            }
    }
}

} // namespace vell
