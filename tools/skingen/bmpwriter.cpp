#include "bmpwriter.h"

#include "graphics/formats/dibfilewriter.h"

#include <QHash>
#include <QVector>

#include <stdexcept>

namespace skingen {
namespace {

int stride(int bytesPerRowUnpadded) {
    return (bytesPerRowUnpadded + 3) & ~3;
}

// A 256-entry palette holding every colour of a small image.
struct Palette {
    QVector<QRgb> colours;
    QHash<QRgb, int> index;

    explicit Palette(const QImage& image) {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb c = image.pixel(x, y) | 0xFF000000u;
                if (!index.contains(c)) {
                    index.insert(c, int(colours.size()));
                    colours.push_back(c);
                }
            }
        if (colours.size() > 256)
            throw std::runtime_error("image has more than 256 colours");
        colours.resize(256, 0xFF000000u);
    }
    QByteArray entries() const {
        QByteArray out;
        for (QRgb c : colours) {
            const char entry[] = {char(qBlue(c)), char(qGreen(c)), char(qRed(c)), 0};
            out.append(entry, sizeof entry);
        }
        return out;
    }
    QByteArray indexedRows(const QImage& image) const {
        QByteArray out;
        for (int y = image.height() - 1; y >= 0; --y) {
            QByteArray row(stride(image.width()), '\0');
            for (int x = 0; x < image.width(); ++x)
                row[x] = char(index.value(image.pixel(x, y) | 0xFF000000u));
            out.append(row);
        }
        return out;
    }
};

QByteArray rgbRows(const QImage& image) {
    QByteArray out;
    for (int y = image.height() - 1; y >= 0; --y) {
        QByteArray row(stride(image.width() * 3), '\0');
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            row[3 * x] = char(qBlue(c));
            row[3 * x + 1] = char(qGreen(c));
            row[3 * x + 2] = char(qRed(c));
        }
        out.append(row);
    }
    return out;
}

// One bit a pixel, set where alpha is below 128.
QByteArray maskRows(const QImage& image) {
    QByteArray out;
    for (int y = image.height() - 1; y >= 0; --y) {
        QByteArray row(stride((image.width() + 7) / 8), '\0');
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) < 128)
                row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
        out.append(row);
    }
    return out;
}

vell::DibLayout layoutOf(const QImage& image, std::uint16_t bits) {
    return {image.width(), image.height(), bits};
}

} // namespace

QByteArray bmp24(const QImage& image) {
    return vell::bitmapFile(layoutOf(image, 24), {}, rgbRows(image));
}

QByteArray bmp8(const QImage& image) {
    const Palette palette(image);
    return vell::bitmapFile(layoutOf(image, 8), palette.entries(), palette.indexedRows(image));
}

QByteArray icon8(const QImage& image) {
    QImage opaque = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < opaque.height(); ++y)
        for (int x = 0; x < opaque.width(); ++x)
            if (qAlpha(opaque.pixel(x, y)) < 128)
                opaque.setPixel(x, y, 0xFF000000u);
    const Palette palette(opaque);
    return vell::iconFile(layoutOf(image, 8), palette.entries(), palette.indexedRows(opaque),
                          maskRows(image));
}

} // namespace skingen
