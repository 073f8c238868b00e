#include "artwork.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace skingen {
namespace {

const QColor Gold(212, 175, 55);
const QColor DarkGold(120, 92, 30);
const QColor Plate(28, 20, 16);
const QColor SquareFill(22, 14, 30);
const QColor SquareEdge(70, 50, 90);
const QColor Parchment(236, 222, 190);

QFont serif(int pixels, bool bold = false) {
    QFont f("DejaVu Serif");
    f.setStyleHint(QFont::Serif);
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

// Keep the silhouette exact: black outside the mask, never black inside.
void sealSilhouette(QImage& image, const QImage& mask) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const bool inside = qGray(mask.pixel(x, y)) > 127;
            const QRgb c = image.pixel(x, y) & 0xFFFFFF;
            if (!inside)
                image.setPixel(x, y, 0xFF000000u);
            else if (c == 0)
                image.setPixel(x, y, qRgb(6, 4, 8));
        }
}

void plate(QPainter& p, const QRectF& r, qreal radius) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, QColor(48, 36, 26));
    g.setColorAt(1, Plate);
    p.setBrush(g);
    p.setPen(QPen(Gold, 1));
    p.drawRoundedRect(r, radius, radius);
}

void indicatorSquare(QPainter& p, int left, int top) {
    // An indicator label is 9 x 17 pixels; its one glyph sits in the upper part.
    p.setPen(QPen(SquareEdge, 1));
    p.setBrush(SquareFill);
    p.drawRect(QRectF(left - 1.5, top - 0.5, 11, 11));
}

} // namespace

QImage tickerSkin() {
    const int W = 240, H = 89;
    // The silhouette: a frame with curved corners plus the tab that carries the
    // close and hide controls at the top right. Drawn without antialiasing so
    // the window's edge is crisp.
    QPainterPath frame, tab;
    frame.addRoundedRect(QRectF(0, 4, W, H - 4), 12, 12);
    tab.addRoundedRect(QRectF(214, 0, 26, 16), 4, 4);
    const QPainterPath outline = frame.united(tab);
    QImage mask(W, H, QImage::Format_RGB32);
    mask.fill(Qt::black);
    {
        QPainter m(&mask);
        m.fillPath(outline, Qt::white);
    }

    QImage img(W, H, QImage::Format_RGB32);
    img.fill(Qt::black);
    QPainter p(&img);
    QLinearGradient bronze(0, 0, 0, H);
    bronze.setColorAt(0, QColor(150, 112, 58));
    bronze.setColorAt(0.5, QColor(96, 68, 34));
    bronze.setColorAt(1, QColor(58, 40, 20));
    p.fillPath(outline, bronze);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Gold, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(2.5, 6.5, W - 5, H - 9), 10, 10);

    // Title plate: the game's short name and "Srvr Status".
    plate(p, QRectF(10.5, 9.5, 128, 15), 4);
    p.setFont(serif(11, true));
    p.setPen(Gold);
    p.drawText(QRectF(10, 9, 40, 16), Qt::AlignCenter, "Vell");
    p.setPen(QColor(70, 230, 90));
    p.drawText(QRectF(46, 9, 92, 16), Qt::AlignVCenter | Qt::AlignLeft, "Srvr Status");

    // Program name plate.
    plate(p, QRectF(143.5, 10.5, 66, 13), 3);
    p.setFont(serif(9, true));
    p.setPen(Parchment);
    p.drawText(QRectF(143, 10, 67, 14), Qt::AlignCenter, "Tallowbar");

    // Button tab behind the close and hide labels.
    p.setPen(QPen(Gold, 1));
    p.setBrush(QColor(40, 10, 10));
    p.drawRoundedRect(QRectF(216.5, 1.5, 22, 12), 3, 3);

    // Purple panel with the server words and the indicator squares.
    const QRectF panel(8.5, 29.5, 223, 53);
    QLinearGradient purple(panel.topLeft(), panel.bottomLeft());
    purple.setColorAt(0, QColor(92, 52, 132));
    purple.setColorAt(1, QColor(52, 24, 84));
    p.setBrush(purple);
    p.setPen(QPen(DarkGold, 1));
    p.drawRoundedRect(panel, 6, 6);

    p.setFont(serif(9));
    const int rows[] = {37, 51, 65};
    const char* channels[] = {"Channel 1", "Channel 2", "Channel 3"};
    const char* servers[] = {"Update", "Login", "Char Select"};
    for (int i = 0; i < 3; ++i) {
        p.setPen(Parchment);
        p.drawText(QRectF(14, rows[i] + 1, 58, 12), Qt::AlignVCenter | Qt::AlignRight, channels[i]);
        p.drawText(QRectF(100, rows[i] + 1, 68, 12), Qt::AlignVCenter | Qt::AlignRight, servers[i]);
        indicatorSquare(p, 75, rows[i]);
        indicatorSquare(p, 171, rows[i]);
    }

    // The larger square at the right, with the game's initial.
    p.setPen(QPen(SquareEdge, 1));
    p.setBrush(SquareFill);
    p.drawRoundedRect(QRectF(190.5, 35.5, 36, 42), 3, 3);
    p.setFont(serif(26, true));
    p.setPen(QColor(120, 84, 160));
    p.drawText(QRectF(190, 35, 37, 43), Qt::AlignCenter, "V");
    p.end();

    sealSilhouette(img, mask);
    return img;
}

QImage windowIcon(int size) {
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    // The 16-pixel icon has a one-bit mask: no antialiasing there.
    const bool smooth = size > 16;
    p.setRenderHint(QPainter::Antialiasing, smooth);
    p.scale(size / 16.0, size / 16.0);
    p.setPen(QPen(Gold, 1));
    p.setBrush(QColor(92, 52, 132));
    p.drawEllipse(smooth ? QRectF(0.5, 0.5, 15, 15) : QRectF(0, 0, 15, 15));
    p.setPen(QPen(QColor(70, 230, 90), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(4, 4), QPointF(8, 12), QPointF(12, 4)}));
    return img;
}

QImage refreshPicture() {
    QImage img(16, 15, QImage::Format_RGB32);
    img.fill(QColor(192, 192, 192));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(20, 110, 40), 2));
    p.drawArc(QRectF(3, 2.5, 10, 10), 40 * 16, 280 * 16);
    QPolygonF head;
    head << QPointF(10, 1) << QPointF(14.5, 4) << QPointF(10, 7);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 110, 40));
    p.drawPolygon(head);
    return img;
}

} // namespace skingen
