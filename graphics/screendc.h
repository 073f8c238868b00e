// The screen's drawing context, given back to the system when it goes.
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

} // namespace vell
