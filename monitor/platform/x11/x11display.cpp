#include "monitor/platform/x11/x11display.h"

#include <xcb/xcb.h>

namespace monitor::x11 {

bool canConnect(const char* display) {
    xcb_connection_t* c = xcb_connect(display, nullptr);
    const bool ok = xcb_connection_has_error(c) == 0;
    xcb_disconnect(c); // also for a connection in error: it is allocated all the same
    return ok;
}

} // namespace monitor::x11
