// The real desktop services, one of each for the whole program.
#include "platform/desktop.h"
#include "qtnotifyshell.h"
#include "qturlshell.h"
#include "qtwindowshell.h"

namespace monitor {

Desktop Desktop::system() {
    static qt::QtWindowShell windows;
    static qt::QtNotifyShell tray;
    static qt::QtUrlShell urls;
    return {&gdi::platform(), &windows, &tray, &urls};
}

} // namespace monitor
