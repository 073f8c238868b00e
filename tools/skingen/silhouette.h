// Turns a painted layer into a skin: the window keeps every pixel that is not
// pure black, so the edge must be binary and the inside never pure black.
#pragma once

#include <QImage>

namespace skingen {

// Pixels at least half covered become opaque in their own colour (no dark
// fringe from blending into the background); the rest become pure black.
// Pockets of background wholly enclosed by artwork, which would be holes
// through the window, are filled from their neighbours.
QImage sealedSilhouette(const QImage& premultiplied);

} // namespace skingen
