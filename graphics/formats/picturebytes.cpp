#include "graphics/formats/picturebytes.h"

#include "graphics/formats/dibextent.h"
#include "graphics/formats/dibfile.h"

namespace vell {
namespace {

bool looksLikeIcon(const QByteArray& d) {
    // Reserved 0, type 1 (icon) or 2 (cursor): what Qt's ICO reader claims.
    return d.size() >= 4 && d[0] == 0 && d[1] == 0 && (d[2] == 1 || d[2] == 2) && d[3] == 0;
}

} // namespace

QImage decodePicture(const QByteArray& bytes) {
    if (bytes.startsWith("BM")) {
        QImage image = readBitmapFile(bytes);
        if (image.isNull() && bitmapFileIsWhole(bytes))
            image = QImage::fromData(bytes, "BMP");
        return image;
    }
    if (looksLikeIcon(bytes)) {
        QImage image = readIconFile(bytes);
        if (image.isNull() && iconFileIsWhole(bytes))
            image = QImage::fromData(bytes, "ICO");
        return image;
    }
    return QImage::fromData(bytes); // PNG and the rest: Qt's readers
}

} // namespace vell
