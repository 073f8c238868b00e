#include "monitor/controls/twips.h"

#include <QScreen>

namespace monitor {

double twipsPerPixel(const QScreen* screen) {
    const double dpi = screen ? screen->logicalDotsPerInchX() : 96.0;
    return dpi > 0 ? 1440.0 / dpi : forms::DesignTwipsPerPixel;
}

} // namespace monitor
