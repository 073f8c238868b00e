// The pixels a region of the drawing layer covers, as Qt's region: what the
// window's shape lets a user see.
#pragma once

#include "graphics/platform/gdi.h"

#include <QRegion>

namespace monitor {

// Empty for a bad handle or data the reader refuses.
QRegion regionPixels(gdi::Gdi& gdi, gdi::HRGN region);

} // namespace monitor
