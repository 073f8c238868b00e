// A window shape built from a picture: every pixel of a surface whose colour
// differs from one transparent colour. The object keeps the region, applies it
// to any number of windows, takes it off again, and remembers which windows
// carry it. Windows get their own copy of the shape, so the region stays this
// object's and is freed exactly once, by Destroy.
#pragma once

#include "graphics/dibsection.h"
#include "graphics/platform/gdi.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

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

    // Region data (graphics/formats/regiondata.h). Errors are RuntimeErrors
    // whose source is "<program>.cDIBSectionRegion".
    // Writes the region to sPath, replacing the file; True, or raises 26010
    // (no region), 26011 (also for more rectangles than loading takes,
    // gdi::MaxRegionRects), 26012 or the file operation's error.
    bool Save(const QString& sPath) const;
    // Makes the region from a file's data. A file error (see regionfile.h; a
    // 0-byte file 9, one larger than gdi::MaxRegionDataSize 7) is raised with the
    // object unchanged; data the region maker refuses give False, with the
    // old region gone and no window listed.
    bool LoadFromFile(const QString& sFileName);
    // Makes the region from a type-10 resource: the program's own (sDLL
    // empty; see ownresource.h) or one of the PE module sDLL, read as data.
    // vID is a number or a text; a number, or a text of decimal digits, is
    // looked up as "#" and its digits, any other text as a name. Raises 26013
    // when sDLL is not a PE file that can be opened and 26014 when the
    // resource is missing or its data lie outside the file.
    bool LoadFromResource(const QVariant& vID, const QString& sDLL = {});

    gdi::HRGN hRgn() const { return RegionHandle; }

private:
    std::int32_t WindowIndex(gdi::HWND hWnd) const;
    void RemoveFromAllWindows();
    void removeRun(std::int32_t x, std::int32_t top, std::int32_t bottom);
    bool RegionFromBytes(const QByteArray& bytes);

    gdi::Gdi& gdi_;
    gdi::HRGN RegionHandle = 0;
    std::vector<gdi::HWND> WindowList; // storage; empty means freed
    std::int32_t WindowCount = 0;
};

} // namespace vell
