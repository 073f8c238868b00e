#include "graphics/dibsectionregion.h"

#include "graphics/transparencyscan.h"

namespace vell {

cDIBSectionRegion::cDIBSectionRegion(gdi::Gdi& gdi) : gdi_(gdi) {}

cDIBSectionRegion::~cDIBSectionRegion() {
    Destroy();
}

void cDIBSectionRegion::setApplied(gdi::HWND hWnd, bool bState) {
    std::int32_t i = WindowIndex(hWnd);
    if (bState) {
        if (i == 0) {
            ++WindowCount;
            WindowList.resize(size_t(WindowCount));
            WindowList.back() = hWnd;
            i = WindowCount;
        }
        gdi_.SetWindowRgn(WindowList[size_t(i) - 1], RegionHandle, true);
        return;
    }
    gdi_.SetWindowRgn(hWnd, 0, true);
    if (i == 0)
        return;
    if (WindowCount <= 1) {
        WindowCount = 0;
        WindowList = {};
        return;
    }
    WindowList.erase(WindowList.begin() + (i - 1));
    --WindowCount;
    WindowList.resize(size_t(WindowCount));
}

gdi::HWND cDIBSectionRegion::hWndForIndex(std::int32_t lIndex) const {
    if (lIndex < 1 || size_t(lIndex) > WindowList.size())
        throw RuntimeError::subscriptOutOfRange();
    return WindowList[size_t(lIndex) - 1];
}

std::int32_t cDIBSectionRegion::WindowIndex(gdi::HWND hWnd) const {
    for (std::int32_t i = 1; i <= WindowCount; ++i)
        if (WindowList[size_t(i) - 1] == hWnd)
            return i;
    return 0;
}

void cDIBSectionRegion::RemoveFromAllWindows() {
    for (std::int32_t i = 1; i <= WindowCount; ++i) {
        gdi::HWND& entry = WindowList[size_t(i) - 1];
        if (entry != 0) {
            gdi_.SetWindowRgn(entry, 0, true);
            entry = 0;
        }
    }
    WindowCount = 0; // the list keeps its length until the next change
}

void cDIBSectionRegion::Destroy() {
    RemoveFromAllWindows();
    if (RegionHandle != 0)
        gdi_.DeleteObject(RegionHandle);
    RegionHandle = 0;
}

void cDIBSectionRegion::removeRun(std::int32_t x, std::int32_t top, std::int32_t bottom) {
    const gdi::HRGN run = gdi_.CreateRectRgn(x, top, x + 1, bottom);
    gdi_.CombineRgn(RegionHandle, run, RegionHandle, gdi::RGN_XOR);
    gdi_.DeleteObject(run);
}

void cDIBSectionRegion::Create(const cDIBSection& cDib, std::uint32_t lTransColor) {
    Destroy();
    const std::int32_t W = cDib.Width();
    const std::int32_t H = cDib.Height();
    RegionHandle = gdi_.CreateRectRgn(0, 0, W, H);
    if (RegionHandle == 0)
        return;
    if (cDib.DIBSectionBitsPtr() == 0)
        return; // no pixels to read (a refused surface): keep the plain rectangle
    // Each vertical stretch of transparent pixels is taken out as one
    // rectangle, column by column from the left and each column top down.
    TransparencyScan(cDib.Bits(), W, H, lTransColor)
        .forEachRun([this](std::int32_t x, std::int32_t top, std::int32_t bottom) {
            removeRun(x, top, bottom);
        });
}

} // namespace vell
