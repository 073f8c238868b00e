// An off-screen 24-bit surface: a device-independent bitmap kept selected in
// a memory drawing context of its own, whose buffer is read and written in
// place. Three bytes a pixel (blue, green, red), rows padded to four bytes and
// stored bottom-up: buffer row 0 is the picture's bottom row.
#pragma once

#include "graphics/byteview.h"
#include "graphics/platform/gdi.h"
#include "graphics/stdpicture.h"

#include <cstdint>
#include <memory>

namespace vell {

class RandomSource;

class cDIBSection {
public:
    explicit cDIBSection(gdi::Gdi& gdi = gdi::platform());
    ~cDIBSection();
    cDIBSection(const cDIBSection&) = delete;
    cDIBSection& operator=(const cDIBSection&) = delete;

    // Writes the header and makes the bitmap in lhDC's format; the context
    // stays the caller's. Raises Overflow when the size does not fit.
    bool CreateDIB(gdi::HDC lhDC, std::int32_t lWidth, std::int32_t lHeight, gdi::HBITMAP& hDib);
    // Makes a surface the picture's size and copies the picture into it.
    // Reports nothing: hdc() is non-zero when a surface was made.
    void CreateFromPicture(const StdPicture& picThis);
    // Releases what the surface held, then makes a new, all-zero one.
    bool Create(std::int32_t lWidth, std::int32_t lHeight);

    std::int32_t BytesPerScanLine() const;
    std::int32_t Width() const { return tHeader.biWidth; }
    std::int32_t Height() const { return tHeader.biHeight; }

    // Copies from lhDC into the surface's top-left corner; a negative width or
    // height stands for the surface's own.
    void LoadPictureBlt(gdi::HDC lhDC, std::int32_t lSrcLeft = 0, std::int32_t lSrcTop = 0,
                        std::int32_t lSrcWidth = -1, std::int32_t lSrcHeight = -1,
                        std::uint32_t eRop = gdi::SRCCOPY);
    // Copies the surface out to lhDC, unstretched.
    void PaintPicture(gdi::HDC lhDC, std::int32_t lDestLeft = 0, std::int32_t lDestTop = 0,
                      std::int32_t lDestWidth = -1, std::int32_t lDestHeight = -1,
                      std::int32_t lSrcLeft = 0, std::int32_t lSrcTop = 0,
                      std::uint32_t eRop = gdi::SRCCOPY);

    gdi::HDC hdc() const { return hMemDC; }
    gdi::HBITMAP hDib() const { return hDibBitmap; }
    std::uintptr_t DIBSectionBitsPtr() const { return reinterpret_cast<std::uintptr_t>(lBits); }
    const gdi::BITMAPINFOHEADER& header() const { return tHeader; }

    // The buffer as bytes: x from 0 to BytesPerScanLine - 1, y (buffer row)
    // from 0 to Height - 1. Valid until the next Create or ClearUp.
    ByteView Bits() const { return {lBits, BytesPerScanLine(), Height()}; }

    void ClearUp();

    // A new surface lNewWidth x lNewHeight (height first) with this one's
    // picture: a copy at the same size, else interpolated. None when the new
    // surface cannot be made, or when this one has no pixels to read.
    std::unique_ptr<cDIBSection> Resample(std::int32_t lNewHeight, std::int32_t lNewWidth) const;
    // Fills every pixel with noise: grey, or blue 0 with random green and red.
    // A surface without pixels is left alone. Padding is never written.
    void RandomiseBits(bool bGray);
    void RandomiseBits(bool bGray, RandomSource& random);
    // Puts a bitmap of the surface on the system clipboard; true when it took
    // it. bAsDIB is not supported: it says so in a message box.
    bool CopyToClipboard(bool bAsDIB);

private:
    void InterpolateInto(cDIBSection& cDibTarget) const;

    gdi::Gdi& gdi_;
    gdi::HBITMAP hDibBitmap = 0;
    gdi::HBITMAP hPrevBitmap = 0;
    gdi::HDC hMemDC = 0;
    std::uint8_t* lBits = nullptr;
    gdi::BITMAPINFOHEADER tHeader{};
};

} // namespace vell
