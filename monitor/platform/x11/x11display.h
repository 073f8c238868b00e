// Whether an X display answers, asked before Qt is: Qt aborts on one that
// does not.
#pragma once

namespace monitor::x11 {

bool canConnect(const char* display);

} // namespace monitor::x11
