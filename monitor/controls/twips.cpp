#include "monitor/controls/twips.h"

#include <QScreen>

#include <cmath>

namespace monitor {

double twipsPerPixel(const QScreen* screen) {
    const double dpi = screen ? screen->logicalDotsPerInchX() : 96.0;
    return dpi > 0 ? 1440.0 / dpi : 15.0;
}

int twipsToPixels(int twips, double perPixel) {
    return static_cast<int>(std::lround(twips / perPixel));
}

int pixelsToTwips(int pixels, double perPixel) {
    return static_cast<int>(std::lround(pixels * perPixel));
}

} // namespace monitor
