// The programs' artwork, drawn with QPainter. Outside a skin's silhouette every
// pixel is pure black (the window shape leaves it out); inside, no pixel is.
#pragma once

#include <QImage>

namespace skingen {

QImage tickerSkin();
QImage panelSkin();
QImage windowIcon(int size = 16);
QImage refreshPicture();
// The programs' desktop icons (hicolor sizes), one of its own each.
QImage tickerIcon(int size);
QImage panelIcon(int size);

} // namespace skingen
