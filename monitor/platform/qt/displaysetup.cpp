#include "monitor/platform/qt/displaysetup.h"

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

} // namespace monitor::qt
