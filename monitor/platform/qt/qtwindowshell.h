#pragma once

#include "monitor/platform/desktop.h"

namespace monitor::qt {

// Keeps windows on top with Qt's stays-on-top hint (which the window already
// has from its creation: see SetWindowPos) and moves them through the window
// manager: _NET_WM_MOVERESIZE on X11, QWindow::startSystemMove elsewhere.
class QtWindowShell final : public WindowShell {
public:
    bool SetWindowPos(gdi::HWND hWnd, gdi::HWND insertAfter, int x, int y, int cx, int cy,
                      std::uint32_t flags) override;
    bool ReleaseCapture() override;
    std::intptr_t SendMessageA(gdi::HWND hWnd, std::uint32_t message, std::uintptr_t wParam,
                               std::intptr_t lParam) override;
    bool SetForegroundWindow(gdi::HWND hWnd) override;
};

} // namespace monitor::qt
