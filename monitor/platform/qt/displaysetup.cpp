#include "monitor/platform/qt/displaysetup.h"

#include "monitor/platform/x11/x11display.h"

#include <QByteArray>
#include <QtGlobal>

#include <cstdio>

namespace monitor::qt {

void prepareDisplay(const char* programName) {
    // After a flush through shared memory, Qt waits on the X server before it
    // paints the same spot again: a round trip that wakes two threads, and the
    // countdown repaints the same spot every minute of the day. The program's
    // repaints are small, so they go as plain requests, unless the user says.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", QByteArray("1"));
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
