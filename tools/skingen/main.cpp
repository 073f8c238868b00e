// Draws the programs' image assets and writes them in their shipped formats.
// Usage: skingen OUTPUT_DIR
#include "artwork.h"
#include "bmpwriter.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>

namespace {

bool write(const QDir& dir, const char* name, const QByteArray& data) {
    QFile f(dir.filePath(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size()) {
        std::fprintf(stderr, "skingen: cannot write %s\n", qPrintable(f.fileName()));
        return false;
    }
    std::printf("%s: %lld bytes\n", qPrintable(f.fileName()), static_cast<long long>(data.size()));
    return true;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: skingen OUTPUT_DIR\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    const bool ok = write(dir, "ticker_skin.bmp", skingen::bmp24(skingen::tickerSkin())) &&
                    write(dir, "vellmoor.ico", skingen::icon8(skingen::windowIcon())) &&
                    write(dir, "refresh.bmp", skingen::bmp8(skingen::refreshPicture())) &&
                    write(dir, "panel_skin.bmp", skingen::bmp24(skingen::panelSkin()));
    // The desktop's icons (hicolor theme sizes), from the same drawing; both
    // programs share the window icon, so each installs the same pictures.
    for (int size : {16, 32, 48, 64, 128}) {
        dir.mkpath(QString("icons/%1x%1").arg(size));
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        skingen::windowIcon(size).save(&buffer, "PNG");
        for (const char* program : {"tallowbar", "brambleview"}) {
            const QString name = QString("icons/%1x%1/%2.png").arg(size).arg(program);
            if (!write(dir, qPrintable(name), png))
                return 1;
        }
    }
    return ok ? 0 : 1;
}
