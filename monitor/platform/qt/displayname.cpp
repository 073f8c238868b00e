#include "monitor/platform/qt/displayname.h"

#include <QtGlobal>

namespace monitor::qt {

QString sharedDisplay(const QString& platform, const QStringList& arguments) {
    if (platform == "xcb") {
        // Qt takes the option with one dash or two.
        for (qsizetype i = 1; i + 1 < arguments.size(); ++i)
            if (arguments[i] == "-display" || arguments[i] == "--display")
                return arguments[i + 1];
        return qEnvironmentVariable("DISPLAY");
    }
    if (platform.startsWith("wayland"))
        return qEnvironmentVariable("WAYLAND_DISPLAY", "wayland-0");
    return {};
}

} // namespace monitor::qt
