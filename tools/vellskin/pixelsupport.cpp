#include "graphics/dibfilewriter.h"
#include "tools/vellskin/pixelcommands.h"

#include <QSaveFile>

#include <cstdio>

namespace vellskin {

vell::RuntimeError commandError(int number, const QString& description) {
    return {number, vell::RuntimeError::programName(), description};
}

int report(const vell::RuntimeError& e) {
    std::fprintf(stderr, "vellskin: error %d (%s): %s\n", e.number(), qUtf8Printable(e.source()),
                 qUtf8Printable(e.description()));
    return 1;
}

std::int32_t number(const QString& text, const char* what) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok)
        throw commandError(InvalidArgument, QString("%1 is not a number: \"%2\"").arg(what, text));
    return value;
}

void writeBitmap(const vell::cDIBSection& dib, const QString& path) {
    const QByteArray bytes = vell::bitmapFileBytes(dib);
    if (bytes.isEmpty())
        throw commandError(FileAccess, "the surface is too large for a bitmap file");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw commandError(FileAccess,
                           QString("cannot write %1: %2").arg(path, file.errorString()));
}

} // namespace vellskin
