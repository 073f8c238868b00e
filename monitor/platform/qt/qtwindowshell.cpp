#include "monitor/platform/qt/qtwindowshell.h"

#include "graphics/platform/qt/windowlookup.h"
#include "monitor/platform/x11/x11move.h"

#include <QApplication>
#include <QCursor>
#include <QWidget>
#include <QWindow>

namespace monitor::qt {
bool QtWindowShell::SetWindowPos(gdi::HWND hWnd, gdi::HWND insertAfter, int x, int y, int cx,
                                 int cy, std::uint32_t flags) {
    QWindow* w = gdi::qt::windowFor(hWnd);
    if (!w)
        return false;
    if (insertAfter == HWND_TOPMOST) {
        // Qt 6.4 on X11 replaces a native window whose stays-on-top hint
        // changed at its next show, and with it the handle: windows that must
        // keep their handle are made with the hint, so this changes nothing.
        w->setFlag(Qt::WindowStaysOnTopHint, true);
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->windowHandle() == w) // keep the widget's copy of the flags equal
                widget->overrideWindowFlags(widget->windowFlags() | Qt::WindowStaysOnTopHint);
    }
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
    QWindow* w = gdi::qt::windowFor(hWnd);
    if (!w || message != WM_NCLBUTTONDOWN || wParam != HTCAPTION)
        return 0;
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        return x11::startMove(w, QCursor::pos()) ? 1 : 0;
    return w->startSystemMove() ? 1 : 0;
}

bool QtWindowShell::SetForegroundWindow(gdi::HWND hWnd) {
    QWindow* w = gdi::qt::windowFor(hWnd);
    if (!w)
        return false;
    w->raise();
    w->requestActivate();
    return true;
}

} // namespace monitor::qt
