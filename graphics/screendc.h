// The drawing contexts the surface borrows for a moment: the screen's, given
// back to the system when it goes, and a memory context of its own.
#pragma once

#include "graphics/platform/gdi.h"

namespace vell {

class ScreenDC {
public:
    explicit ScreenDC(gdi::Gdi& gdi) : gdi_(gdi), window_(gdi.GetDesktopWindow()) {
        dc_ = gdi.GetDC(window_);
    }
    ~ScreenDC() { release(); }
    ScreenDC(const ScreenDC&) = delete;
    ScreenDC& operator=(const ScreenDC&) = delete;
    gdi::HDC get() const { return dc_; }
    void release() {
        if (dc_)
            gdi_.ReleaseDC(window_, dc_);
        dc_ = 0;
    }

private:
    gdi::Gdi& gdi_;
    gdi::HWND window_;
    gdi::HDC dc_ = 0;
};

// A memory context that puts back the bitmap it held and is deleted when it goes.
class MemoryDC {
public:
    MemoryDC(gdi::Gdi& gdi, gdi::HDC compatibleWith)
        : gdi_(gdi), dc_(gdi.CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDC() {
        if (!dc_)
            return;
        restore();
        gdi_.DeleteDC(dc_);
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    gdi::HDC get() const { return dc_; }
    bool select(gdi::HBITMAP bitmap) {
        kept_ = gdi_.SelectObject(dc_, bitmap);
        return kept_ != 0;
    }
    void restore() {
        if (kept_)
            gdi_.SelectObject(dc_, kept_);
        kept_ = 0;
    }

private:
    gdi::Gdi& gdi_;
    gdi::HDC dc_;
    gdi::HBITMAP kept_ = 0;
};

} // namespace vell
