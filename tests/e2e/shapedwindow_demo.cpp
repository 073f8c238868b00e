// Shows a window shaped after a small picture, the way the programs shape
// theirs: a surface from the picture, a region from the surface, applied to
// the window. The window paints itself magenta; the picture goes to argv[1].
#include "graphics/dibsection.h"
#include "graphics/dibsectionregion.h"

#include <QGuiApplication>
#include <QPainter>
#include <QRasterWindow>

namespace {

class Magenta : public QRasterWindow {
protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(QRect(QPoint(), size()), QColor(255, 0, 255));
    }
};

QImage picture() {
    QImage img(60, 40, QImage::Format_RGB32);
    img.fill(Qt::black);
    QPainter p(&img);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 150, 40));
    p.drawEllipse(2, 2, 36, 36);
    p.setBrush(Qt::black);
    p.drawRect(14, 14, 10, 10);   // a hole
    p.setBrush(QColor(10, 0, 0)); // nearly black is still opaque
    p.drawRect(44, 6, 12, 28);
    return img;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QImage img = picture();
    if (argc > 1)
        img.save(QString::fromLocal8Bit(argv[1]));
    Magenta window;
    window.setFlags(Qt::Window | Qt::FramelessWindowHint);
    window.setTitle("shaped-demo");
    window.setGeometry(100, 100, img.width(), img.height());
    window.create();

    const vell::StdPicture pic(img);
    vell::cDIBSectionRegion region;
    {
        vell::cDIBSection dib;
        dib.CreateFromPicture(pic);
        region.Create(dib, 0);
    }
    region.setApplied(gdi::HWND(window.winId()), true);
    window.show();
    return app.exec();
}
