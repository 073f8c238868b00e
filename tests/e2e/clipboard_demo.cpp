// Copies a surface of coloured noise to the X clipboard and keeps serving it
// ("copy SURFACE.bmp", which also writes the surface out), or reads the
// clipboard's image back into a file ("paste IMAGE.png").
#include "graphics/dibsection.h"
#include "graphics/dibsectionfile.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QThread>

#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3)
        return 2;
    if (args[1] == "copy") {
        vell::cDIBSection dib;
        if (!dib.Create(37, 23)) // rows of 111 bytes and 1 of padding
            return 1;
        dib.RandomiseBits(false);
        QFile out(args[2]);
        if (!out.open(QIODevice::WriteOnly) || out.write(vell::bitmapFileBytes(dib)) <= 0)
            return 1;
        out.close();
        if (!dib.CopyToClipboard(false))
            return 1;
        std::printf("copied\n");
        std::fflush(stdout);
        return app.exec(); // the clipboard's owner must stay to hand the data out
    }
    QElapsedTimer t;
    t.start();
    QImage image;
    while ((image = QGuiApplication::clipboard()->image()).isNull() && t.elapsed() < 5000)
        QThread::msleep(50);
    return !image.isNull() && image.save(args[2], "PNG") ? 0 : 1;
}
