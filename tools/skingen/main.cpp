// Draws the programs' image assets and writes them in their shipped formats.
// Usage: skingen FORMS_DIR (the forms/ folder: each picture goes where its program takes it)
#include "artwork.h"
#include "bmpwriter.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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
        std::fprintf(stderr, "usage: skingen FORMS_DIR\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    for (const char* folder : {"shared/assets", "tallowbar/assets", "brambleview/assets"})
        dir.mkpath(folder);
    const bool ok =
        write(dir, "shared/assets/vellmoor.ico", skingen::icon8(skingen::windowIcon())) &&
        write(dir, "shared/assets/refresh.bmp", skingen::bmp8(skingen::refreshPicture())) &&
        write(dir, "tallowbar/assets/ticker_skin.bmp", skingen::bmp24(skingen::tickerSkin())) &&
        write(dir, "brambleview/assets/panel_skin.bmp", skingen::bmp24(skingen::panelSkin()));
    // The desktop's icons (hicolor theme sizes): each program its own.
    const struct {
        const char* program;
        QImage (*draw)(int);
    } icons[] = {{"tallowbar", skingen::tickerIcon}, {"brambleview", skingen::panelIcon}};
    for (int size : {16, 32, 48, 64, 128}) {
        for (const auto& icon : icons) {
            QByteArray png;
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            icon.draw(size).save(&buffer, "PNG");
            const QString name = QString("%2/icons/%1x%1/%2.png").arg(size).arg(icon.program);
            dir.mkpath(QFileInfo(dir.filePath(name)).path());
            if (!write(dir, qPrintable(name), png))
                return 1;
        }
    }
    return ok ? 0 : 1;
}
