#include "graphics/platform/qt/windowlookup.h"

#include <QGuiApplication>
#include <QWindow>

namespace gdi::qt {

QWindow* windowFor(gdi::HWND hWnd) {
    if (!qGuiApp)
        return nullptr;
    for (QWindow* w : QGuiApplication::allWindows())
        if (w->handle() && w->winId() == hWnd) // handle(): never create one here
            return w;
    return nullptr;
}

} // namespace gdi::qt
