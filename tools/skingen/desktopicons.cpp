#include "artwork.h"

#include <QLinearGradient>
#include <QPainter>

namespace skingen {
namespace {

// Both are drawn on a 16-unit grid and scaled; the 16-pixel ones without
// antialiasing, crisp like the window icon.
QImage canvas(int size, QPainter& p) {
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    p.begin(&img);
    p.setRenderHint(QPainter::Antialiasing, size > 16);
    p.scale(size / 16.0, size / 16.0);
    return img;
}

} // namespace

// The ticker as it sits on the desktop: a wide purple bar, gold-rimmed, with
// its row of indicators (up in green, one down in red).
QImage tickerIcon(int size) {
    QPainter p;
    QImage img = canvas(size, p);
    const QRectF bar(0.5, 4.5, 15, 7);
    QLinearGradient purple(bar.topLeft(), bar.bottomLeft());
    purple.setColorAt(0, QColor(120, 72, 168));
    purple.setColorAt(1, QColor(52, 24, 84));
    p.setPen(QPen(QColor(212, 175, 55), 1));
    p.setBrush(purple);
    p.drawRoundedRect(bar, 1.5, 1.5);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 4; ++i) {
        p.setBrush(i == 2 ? QColor(220, 40, 30) : QColor(70, 230, 90));
        p.drawRect(QRectF(2 + 3.25 * i, 7, 2, 2));
    }
    p.end();
    return img;
}

// The panel: a parchment leaf under a dark wooden head, with lines of red
// and green status words and a wax seal.
QImage panelIcon(int size) {
    QPainter p;
    QImage img = canvas(size, p);
    p.setPen(QPen(QColor(62, 36, 18), 1));
    p.setBrush(QColor(236, 222, 190));
    p.drawRect(QRectF(1.5, 0.5, 13, 15));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 46, 26));
    p.drawRect(QRectF(2, 1, 12, 3));
    const QColor lines[] = {QColor(20, 140, 40), QColor(20, 140, 40), QColor(180, 30, 20)};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(lines[i]);
        p.drawRect(QRectF(3, 6 + 2.5 * i, 7, 1));
    }
    p.setBrush(QColor(150, 26, 18));
    p.drawEllipse(QRectF(10, 11, 4, 4));
    p.end();
    return img;
}

} // namespace skingen
