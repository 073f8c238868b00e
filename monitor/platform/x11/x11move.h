// Moving a window through an X11 window manager: the _NET_WM_MOVERESIZE
// message with the pointer's real root position. (Qt 6.4's own
// startSystemMove on xcb sends the press position relative to the window,
// so the window jumps by its own offset from the screen's corner.)
#pragma once

#include <QPoint>

class QWindow;

namespace monitor::x11 {

// False when this is not an X11 display or the window manager does not move
// windows on request; the caller then moves the window itself.
bool startMove(QWindow* window, QPoint globalPointer);

} // namespace monitor::x11
