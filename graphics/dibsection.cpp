#include "graphics/dibsection.h"

#include "graphics/countwords.h"
#include "graphics/screendc.h"

#include <limits>

namespace vell {
namespace {

// A row and the whole buffer must each fit a Long: past that no offset in the
// surface can be held, so Overflow says which size it was.
void checkSurfaceSize(std::int32_t width, std::int32_t height) {
    const std::int64_t threeTimes = std::int64_t(width) * 3;
    const std::int64_t size = ((threeTimes + 3) & ~std::int64_t(3)) * height;
    constexpr std::int64_t Max = std::numeric_limits<std::int32_t>::max();
    constexpr std::int64_t Min = std::numeric_limits<std::int32_t>::min();
    if (threeTimes >= Min && threeTimes + 3 <= Max && size >= Min && size <= Max)
        return;
    throw RuntimeError(RuntimeError::Overflow, RuntimeError::programName(),
                       QString("Overflow: a %1 x %2 surface needs %3 bytes, a surface holds at "
                               "most %4")
                           .arg(grouped(width), grouped(height), grouped(size), grouped(Max)));
}

} // namespace

cDIBSection::cDIBSection(gdi::Gdi& gdi) : gdi_(gdi) {}

cDIBSection::~cDIBSection() {
    ClearUp();
}

std::int32_t cDIBSection::BytesPerScanLine() const {
    const std::int32_t threeTimes = checkedLong(std::int64_t(tHeader.biWidth) * 3);
    return checkedLong(std::int64_t(threeTimes) + 3) & ~std::int32_t(3);
}

bool cDIBSection::CreateDIB(gdi::HDC lhDC, std::int32_t lWidth, std::int32_t lHeight,
                            gdi::HBITMAP& hDib) {
    tHeader.biSize = sizeof(gdi::BITMAPINFOHEADER);
    tHeader.biWidth = lWidth;
    tHeader.biHeight = lHeight;
    tHeader.biPlanes = 1;
    tHeader.biBitCount = 24;
    tHeader.biCompression = gdi::BI_RGB;
    checkSurfaceSize(lWidth, lHeight);
    tHeader.biSizeImage = static_cast<std::uint32_t>(
        checkedLong(std::int64_t(BytesPerScanLine()) * tHeader.biHeight));
    void* bits = nullptr;
    hDib = gdi_.CreateDIBSection(lhDC, tHeader, gdi::DIB_RGB_COLORS, &bits, 0, 0);
    lBits = static_cast<std::uint8_t*>(bits);
    return hDib != 0;
}

bool cDIBSection::Create(std::int32_t lWidth, std::int32_t lHeight) {
    ClearUp();
    hMemDC = gdi_.CreateCompatibleDC(0);
    if (hMemDC == 0)
        return false;
    if (CreateDIB(hMemDC, lWidth, lHeight, hDibBitmap)) {
        hPrevBitmap = gdi_.SelectObject(hMemDC, hDibBitmap);
        return true;
    }
    gdi_.DeleteDC(hMemDC);
    hMemDC = 0;
    return false;
}

void cDIBSection::CreateFromPicture(const StdPicture& picThis) {
    gdi::BITMAP bm{};
    gdi_.GetObjectA(picThis.Handle(), sizeof bm, &bm);
    if (!Create(bm.bmWidth, bm.bmHeight))
        return;
    ScreenDC screen(gdi_);
    if (!screen.get())
        return; // the surface stays, all zero
    MemoryDC source(gdi_, screen.get());
    screen.release();
    if (!source.get())
        return;
    source.select(picThis.Handle());
    LoadPictureBlt(source.get(), 0, 0, -1, -1, gdi::SRCCOPY);
}

void cDIBSection::LoadPictureBlt(gdi::HDC lhDC, std::int32_t lSrcLeft, std::int32_t lSrcTop,
                                 std::int32_t lSrcWidth, std::int32_t lSrcHeight,
                                 std::uint32_t eRop) {
    const std::int32_t w = lSrcWidth >= 0 ? lSrcWidth : Width();
    const std::int32_t h = lSrcHeight >= 0 ? lSrcHeight : Height();
    gdi_.BitBlt(hMemDC, 0, 0, w, h, lhDC, lSrcLeft, lSrcTop, eRop);
}

void cDIBSection::PaintPicture(gdi::HDC lhDC, std::int32_t lDestLeft, std::int32_t lDestTop,
                               std::int32_t lDestWidth, std::int32_t lDestHeight,
                               std::int32_t lSrcLeft, std::int32_t lSrcTop, std::uint32_t eRop) {
    const std::int32_t w = lDestWidth >= 0 ? lDestWidth : Width();
    const std::int32_t h = lDestHeight >= 0 ? lDestHeight : Height();
    gdi_.BitBlt(lhDC, lDestLeft, lDestTop, w, h, hMemDC, lSrcLeft, lSrcTop, eRop);
}

void cDIBSection::ClearUp() {
    if (hMemDC != 0) {
        if (hDibBitmap != 0) {
            gdi_.SelectObject(hMemDC, hPrevBitmap);
            gdi_.DeleteObject(hDibBitmap);
        }
        gdi_.DeleteDC(hMemDC);
    }
    hMemDC = 0;
    hDibBitmap = 0;
    hPrevBitmap = 0;
    lBits = nullptr;
}

} // namespace vell
