#include "commands.h"

#include "graphics/dibsectionfile.h"
#include "graphics/picturefile.h"

#include <QSaveFile>

namespace vellskin {

std::span<const Command> commands() {
    static const Command table[] = {
        {"region", "SKIN.bmp OUT.rgn",
         "save the region of the picture's non-black pixels (the window shape)", runRegion},
        {"info", "FILE.rgn", "show the header, the rectangle count and the bounding box", runInfo},
        {"render", "FILE.rgn OUT.bmp",
         "draw the region white on black, as big as its bounding box's right x bottom", runRender},
        {"extract", "MODULE ID-OR-NAME OUT.rgn",
         "save the region held by a PE module's RCDATA resource (#ID or name)", runExtract},
        {"resample", "IN.bmp HEIGHT WIDTH OUT.bmp",
         "the picture bilinearly resampled to a new size (height first)", runResample},
        {"noise", "gray|colour WIDTH HEIGHT OUT.bmp", "a picture of grey or coloured noise",
         runNoise},
    };
    return table;
}

void fail(vell::ErrorNumber number, const QString& description) {
    throw vell::RuntimeError(number, "vellskin", description);
}

void fail(vell::ErrorNumber number) {
    throw vell::RuntimeError(number, "vellskin");
}

void failAs(const vell::RuntimeError& error) {
    throw error.withSource("vellskin");
}

QImage picture(const QString& path) {
    try {
        return vell::loadPicture(path);
    } catch (const vell::RuntimeError& e) {
        failAs(e);
    }
}

std::int32_t number(const QString& text, const char* what) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok)
        fail(InvalidArgument, QString("%1 is not a number: \"%2\"").arg(what, text));
    return value;
}

void writeBitmap(const vell::cDIBSection& dib, const QString& path) {
    const QByteArray bytes = vell::bitmapFileBytes(dib);
    if (bytes.isEmpty())
        fail(FileAccess, "the surface is too large for a bitmap file");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        fail(FileAccess, QString("Path/File access error: %1: %2").arg(path, file.errorString()));
}

} // namespace vellskin
