#include "bmpwriter.h"

#include <QDataStream>
#include <QHash>
#include <QIODevice>
#include <QVector>

#include <stdexcept>

namespace skingen {
namespace {

int stride(int bytesPerRowUnpadded) {
    return (bytesPerRowUnpadded + 3) & ~3;
}

void fileHeader(QDataStream& out, quint32 fileSize, quint32 pixelOffset) {
    out.writeRawData("BM", 2);
    out << fileSize << quint16(0) << quint16(0) << pixelOffset;
}

void infoHeader(QDataStream& out, int width, int height, quint16 bits, quint32 imageSize,
                quint32 coloursUsed) {
    out << quint32(40) << qint32(width) << qint32(height) << quint16(1) << bits << quint32(0)
        << imageSize << qint32(2835) << qint32(2835) << coloursUsed << quint32(0);
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
    void write(QDataStream& out) const {
        for (QRgb c : colours)
            out << quint8(qBlue(c)) << quint8(qGreen(c)) << quint8(qRed(c)) << quint8(0);
    }
    void writeIndexedRows(QDataStream& out, const QImage& image) const {
        const int pad = stride(image.width()) - image.width();
        for (int y = image.height() - 1; y >= 0; --y) {
            for (int x = 0; x < image.width(); ++x)
                out << quint8(index.value(image.pixel(x, y) | 0xFF000000u));
            for (int i = 0; i < pad; ++i)
                out << quint8(0);
        }
    }
};

} // namespace

QByteArray bmp24(const QImage& image) {
    const int rowBytes = stride(image.width() * 3);
    const quint32 imageSize = quint32(rowBytes * image.height());
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    fileHeader(out, 54 + imageSize, 54);
    infoHeader(out, image.width(), image.height(), 24, imageSize, 0);
    for (int y = image.height() - 1; y >= 0; --y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            out << quint8(qBlue(c)) << quint8(qGreen(c)) << quint8(qRed(c));
        }
        for (int i = image.width() * 3; i < rowBytes; ++i)
            out << quint8(0);
    }
    return data;
}

QByteArray bmp8(const QImage& image) {
    const Palette palette(image);
    const quint32 imageSize = quint32(stride(image.width()) * image.height());
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    fileHeader(out, 14 + 40 + 1024 + imageSize, 14 + 40 + 1024);
    infoHeader(out, image.width(), image.height(), 8, imageSize, 256);
    palette.write(out);
    palette.writeIndexedRows(out, image);
    return data;
}

QByteArray icon8(const QImage& image) {
    QImage opaque = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < opaque.height(); ++y)
        for (int x = 0; x < opaque.width(); ++x)
            if (qAlpha(opaque.pixel(x, y)) < 128)
                opaque.setPixel(x, y, 0xFF000000u);
    const Palette palette(opaque);
    const int w = image.width(), h = image.height();
    const int maskStride = stride((w + 7) / 8);
    const quint32 xorSize = quint32(stride(w) * h);
    const quint32 bytes = 40 + 1024 + xorSize + quint32(maskStride * h);
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(0) << quint16(1) << quint16(1);          // ICONDIR
    out << quint8(w) << quint8(h) << quint8(0) << quint8(0) // ICONDIRENTRY
        << quint16(1) << quint16(8) << bytes << quint32(6 + 16);
    infoHeader(out, w, h * 2, 8, xorSize + quint32(maskStride * h), 256);
    palette.write(out);
    palette.writeIndexedRows(out, opaque);
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(maskStride, '\0');
        for (int x = 0; x < w; ++x)
            if (qAlpha(image.pixel(x, y)) < 128)
                row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
        out.writeRawData(row.constData(), row.size());
    }
    return data;
}

} // namespace skingen
