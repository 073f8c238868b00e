#include "graphics/formats/dibfile.h"

#include "graphics/formats/littleendian.h"

namespace vell {
namespace {

// A little-endian field; every caller checks its offsets first, and a field
// outside the data still reads as 0 rather than past the end.
template <typename T>
T field(const QByteArray& d, qsizetype at) {
    return le::getAt<T>(
        {reinterpret_cast<const std::uint8_t*>(d.constData()), std::size_t(d.size())}, at);
}

// Decodes a DIB: a 40-byte header at `header`, its palette after it, the
// pixels at `pixels`; icons have twice the height and an AND mask after.
QImage decodeDib(const QByteArray& d, qsizetype header, qsizetype pixels, bool icon) {
    if (header < 0 || header + 40 > d.size() || field<quint32>(d, header) != 40)
        return {};
    const int width = field<qint32>(d, header + 4);
    const int rawHeight = field<qint32>(d, header + 8);
    const int height = icon ? rawHeight / 2 : rawHeight;
    const int bits = field<quint16>(d, header + 14);
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384 ||
        field<quint32>(d, header + 16) != 0 || (bits != 8 && bits != 24 && bits != 32))
        return {};
    const quint32 used = field<quint32>(d, header + 32);
    const qsizetype colours = bits == 8 ? (used ? used : 256) : 0;
    const qsizetype palette = header + 40;
    const qsizetype stride = ((qsizetype(width) * bits + 31) / 32) * 4;
    const qsizetype maskStride = ((qsizetype(width) + 31) / 32) * 4;
    const qsizetype mask = pixels + stride * height;
    if (colours > 256 || palette + 4 * colours > pixels ||
        (icon ? mask + maskStride * height : mask) > d.size())
        return {};
    // A 32-bit icon is drawn by its alpha; its AND mask counts only when
    // every alpha byte is 0, as for icons made before alpha was.
    bool hasAlpha = false;
    for (int y = 0; bits == 32 && icon && y < height && !hasAlpha; ++y)
        for (int x = 0; x < width && !hasAlpha; ++x)
            hasAlpha = quint8(d[pixels + stride * y + 4 * qsizetype(x) + 3]) != 0;
    QImage image(width, height, icon ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        const qsizetype row = pixels + stride * (height - 1 - y); // rows bottom-up
        const qsizetype maskRow = mask + maskStride * (height - 1 - y);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            qsizetype p = row + qsizetype(x) * (bits / 8);
            if (bits == 8) {
                const int index = quint8(d[p]);
                if (index >= colours)
                    return {};
                p = palette + 4 * qsizetype(index);
            }
            out[x] = qRgba(quint8(d[p + 2]), quint8(d[p + 1]), quint8(d[p]),
                           hasAlpha ? quint8(d[p + 3]) : 255);
            if (icon && !hasAlpha && quint8(d[maskRow + x / 8]) & (0x80 >> (x % 8)))
                out[x] = qRgba(0, 0, 0, 0);
        }
    }
    return image;
}

} // namespace

QImage readBitmapFile(const QByteArray& d) {
    if (d.size() < 14 + 40 || d[0] != 'B' || d[1] != 'M')
        return {};
    return decodeDib(d, 14, field<quint32>(d, 10), false);
}

QImage readIconFile(const QByteArray& d) {
    if (d.size() < 6 + 16 || field<quint16>(d, 0) != 0 || field<quint16>(d, 2) != 1 ||
        field<quint16>(d, 4) < 1)
        return {};
    const qsizetype size = field<quint32>(d, 14);
    const qsizetype offset = field<quint32>(d, 18);
    if (offset < 22 || offset + size > d.size())
        return {};
    if (size < 40)
        return {}; // the entry cannot hold the header read below
    const QByteArray entry = d.mid(offset, size);
    const qsizetype colours = field<quint16>(entry, 14) == 8
                                  ? (field<quint32>(entry, 32) ? field<quint32>(entry, 32) : 256)
                                  : 0;
    return decodeDib(entry, 0, 40 + 4 * colours, true);
}

} // namespace vell
