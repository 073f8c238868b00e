// Finding the Qt window behind a native window handle.
#pragma once

#include "graphics/platform/gdi.h"

class QWindow;

namespace gdi::qt {

// The created top-level window whose native id is hWnd; nullptr if none.
QWindow* windowFor(gdi::HWND hWnd);

} // namespace gdi::qt
