#include "monitor/platform/qt/displaysetup.h"

#include "monitor/platform/x11/x11display.h"

#include <QByteArray>
#include <QtGlobal>

#include <cstdio>

namespace monitor::qt {

void prepareDisplay(const char* programName) {
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM") ||
        !qEnvironmentVariableIsSet("WAYLAND_DISPLAY"))
        return;
    if (qEnvironmentVariableIsSet("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", QByteArray("xcb"));
        std::fprintf(stderr,
                     "%s: Wayland session: running on XWayland, which placement, staying on top, "
                     "the window shape and dragging need\n",
                     programName);
    } else {
        std::fprintf(stderr,
                     "%s: Wayland session without XWayland: the window may be placed, stacked and "
                     "shaped by the compositor instead\n",
                     programName);
    }
}

bool displayReachable(const char* programName) {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && !platform.startsWith("xcb"))
        return true; // another platform: Qt says itself what it lacks
    if (platform.isEmpty() && qEnvironmentVariableIsSet("WAYLAND_DISPLAY") &&
        !qEnvironmentVariableIsSet("DISPLAY"))
        return true; // a Wayland session without XWayland
    const QByteArray display = qgetenv("DISPLAY");
    if (display.isEmpty()) {
        std::fprintf(stderr, "%s: no display to show the window on (DISPLAY is not set)\n",
                     programName);
        return false;
    }
    if (!x11::canConnect(display.constData())) {
        std::fprintf(stderr, "%s: cannot open the display %s\n", programName, display.constData());
        return false;
    }
    return true;
}

} // namespace monitor::qt
