#include "skinlike.h"

#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>

#include <cmath>

QImage skinLikeImage(quint32 seed) {
    QRandomGenerator rng(seed);
    QImage img(562, 520, QImage::Format_RGB32);
    img.fill(Qt::black);
    QPainter p(&img); // no antialiasing: a shaped window has hard edges anyway

    // Parchment with a ragged edge.
    QPainterPath sheet;
    const int n = 90;
    for (int i = 0; i < n; ++i) {
        const double a = 2 * M_PI * i / n;
        const double r = 1 + rng.bounded(0.06);
        const QPointF pt(281 + std::cos(a) * 215 * r, 260 + std::sin(a) * 175 * r);
        i == 0 ? sheet.moveTo(pt) : sheet.lineTo(pt);
    }
    sheet.closeSubpath();
    p.fillPath(sheet, QColor(232, 214, 170));

    // Vines and branches wandering around the sheet.
    for (int v = 0; v < 70; ++v) {
        QPointF pt(rng.bounded(562.0), rng.bounded(520.0));
        double heading = rng.bounded(2 * M_PI);
        const QColor stem = v % 3 ? QColor(60, 110, 40) : QColor(110, 78, 40);
        for (int step = 0; step < 60; ++step) {
            heading += rng.bounded(0.9) - 0.45;
            const QPointF next = pt + QPointF(std::cos(heading), std::sin(heading)) * 9;
            p.setPen(QPen(stem, 2 + (v % 4)));
            p.drawLine(pt, next);
            if (step % 4 == 0) {
                p.setPen(Qt::NoPen);
                p.setBrush(QColor(70, 150 + int(rng.bounded(60)), 50));
                p.drawEllipse(next, 4 + rng.bounded(4), 2 + rng.bounded(3));
                p.setBrush(Qt::black); // the gap between a leaf's halves
                p.drawEllipse(next, 1.5, 1.0);
            }
            pt = next;
        }
    }
    // Round buttons at the right edge and a credit line.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 160, 60));
    p.drawEllipse(QPoint(508, 368), 26, 24);
    p.setBrush(QColor(40, 80, 170));
    p.drawEllipse(QPoint(504, 432), 24, 24);
    p.setPen(QColor(200, 190, 150));
    p.drawText(QRect(440, 478, 110, 18), Qt::AlignCenter, "coded by hand");
    return img;
}
