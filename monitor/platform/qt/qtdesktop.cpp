// The real desktop services, one of each for the whole program.
#include "monitor/platform/desktop.h"
#include "monitor/platform/qt/qtnotifyshell.h"
#include "monitor/platform/qt/qturlshell.h"
#include "monitor/platform/qt/qtwindowshell.h"

namespace monitor {

Desktop Desktop::system() {
    static qt::QtWindowShell windows;
    static qt::QtNotifyShell tray;
    static qt::QtUrlShell urls;
    return {&gdi::platform(), &windows, &tray, &urls};
}

} // namespace monitor
