// The programs' message box: a Widgets dialog with OK only, handed to the
// graphics platform layer, which has no widgets of its own.
#pragma once

namespace monitor::qt {

void installMessageBox();

} // namespace monitor::qt
