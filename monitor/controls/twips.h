// Twips (1/1440 inch) to pixels, using the screen's resolution: 15 twips a
// pixel at 96 dots per inch.
#pragma once

#include "forms/shared/formdefinition.h"

class QScreen;

namespace monitor {

double twipsPerPixel(const QScreen* screen);
using forms::pixelsToTwips;
using forms::twipsToPixels;

} // namespace monitor
