// Chooses how the program meets the display before the application starts.
#pragma once

namespace monitor::qt {

// Placement, staying on top, window shapes and dragging by the surface need an
// X11 display; under a Wayland session the program runs on XWayland when it
// is there, and says so. Repaints skip X shared memory (see the source for
// why). Call before constructing the QApplication.
void prepareDisplay(const char* programName);

// False, after saying why on stderr, when the display the program would run
// on cannot be reached: Qt would abort on it. Call after prepareDisplay.
bool displayReachable(const char* programName);

} // namespace monitor::qt
