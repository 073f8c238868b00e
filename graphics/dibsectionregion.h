// A window shape built from a picture: every pixel of a surface whose colour
// differs from one transparent colour. The object keeps the region, applies it
// to any number of windows, takes it off again, and remembers which windows
// carry it. Windows get their own copy of the shape, so the region stays this
// object's and is freed exactly once, by Destroy.
#pragma once

#include "graphics/dibsection.h"
#include "graphics/platform/gdi.h"

#include <cstdint>
#include <vector>

namespace vell {

class cDIBSectionRegion {
public:
    explicit cDIBSectionRegion(gdi::Gdi& gdi = gdi::platform());
    ~cDIBSectionRegion();
    cDIBSectionRegion(const cDIBSectionRegion&) = delete;
    cDIBSectionRegion& operator=(const cDIBSectionRegion&) = delete;

    bool Applied(gdi::HWND hWnd) const { return WindowIndex(hWnd) != 0; }
    void setApplied(gdi::HWND hWnd, bool bState);
    std::int32_t AppliedToCount() const { return WindowCount; }
    // Entry lIndex (from 1) of the window list; raises "Subscript out of
    // range" past the list's storage or while the list is freed.
    gdi::HWND hWndForIndex(std::int32_t lIndex) const;

    void Destroy();
    // Replaces the region with the surface's pixels whose colour (0x00BBGGRR,
    // top byte ignored) is not lTransColor. Windows that carried the old
    // region lose their shape and leave the list.
    void Create(const cDIBSection& cDib, std::uint32_t lTransColor);

    gdi::HRGN hRgn() const { return RegionHandle; }

private:
    std::int32_t WindowIndex(gdi::HWND hWnd) const;
    void RemoveFromAllWindows();
    void removeRun(std::int32_t x, std::int32_t top, std::int32_t bottom);

    gdi::Gdi& gdi_;
    gdi::HRGN RegionHandle = 0;
    std::vector<gdi::HWND> WindowList; // storage; empty means freed
    std::int32_t WindowCount = 0;
};

} // namespace vell
