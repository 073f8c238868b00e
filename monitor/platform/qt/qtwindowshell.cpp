#include "qtwindowshell.h"

#include "windowlookup.h"

#include <QGuiApplication>
#include <QWindow>

namespace monitor::qt {

bool QtWindowShell::SetWindowPos(gdi::HWND hWnd, gdi::HWND insertAfter, int x, int y, int cx,
                                 int cy, std::uint32_t flags) {
    QWindow* w = windowFor(hWnd);
    if (!w)
        return false;
    if (insertAfter == HWND_TOPMOST)
        w->setFlag(Qt::WindowStaysOnTopHint, true);
    if (!(flags & SWP_NOMOVE))
        w->setPosition(x, y);
    if (!(flags & SWP_NOSIZE))
        w->resize(cx, cy);
    return true;
}

bool QtWindowShell::ReleaseCapture() {
    for (QWindow* w : QGuiApplication::allWindows())
        w->setMouseGrabEnabled(false);
    return true;
}

std::intptr_t QtWindowShell::SendMessageA(gdi::HWND hWnd, std::uint32_t message,
                                          std::uintptr_t wParam, std::intptr_t) {
    QWindow* w = windowFor(hWnd);
    if (!w || message != WM_NCLBUTTONDOWN || wParam != HTCAPTION)
        return 0;
    return w->startSystemMove() ? 1 : 0;
}

} // namespace monitor::qt
