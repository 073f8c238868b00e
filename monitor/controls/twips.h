// Twips (1/1440 inch) to pixels, using the screen's resolution: 15 twips a
// pixel at 96 dots per inch.
#pragma once

class QScreen;

namespace monitor {

double twipsPerPixel(const QScreen* screen);
int twipsToPixels(int twips, double perPixel);
int pixelsToTwips(int pixels, double perPixel);

} // namespace monitor
