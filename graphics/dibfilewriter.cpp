#include "graphics/dibfilewriter.h"

#include <QtEndian>

#include <cstring>
#include <limits>

namespace vell {
namespace {

constexpr int FileHeaderSize = 14;
constexpr int InfoHeaderSize = 40;

template <typename T>
void put(QByteArray& out, qsizetype at, T value) {
    qToLittleEndian<T>(value, out.data() + at);
}

} // namespace

QByteArray bitmapFileBytes(const cDIBSection& dib) {
    const ByteView bits = dib.Bits();
    if (bits.height() <= 0 || bits.width() <= 0)
        return {};
    const qsizetype pixels = qsizetype(bits.width()) * bits.height();
    const qsizetype offset = FileHeaderSize + InfoHeaderSize;
    if (offset + pixels > std::numeric_limits<std::int32_t>::max())
        return {}; // a BMP file's sizes are 32-bit
    QByteArray out(offset + pixels, '\0');
    out[0] = 'B';
    out[1] = 'M';
    put<quint32>(out, 2, quint32(offset + pixels));
    put<quint32>(out, 10, quint32(offset));
    put<quint32>(out, 14, InfoHeaderSize);
    put<qint32>(out, 18, dib.Width());
    put<qint32>(out, 22, bits.height());
    put<quint16>(out, 26, 1);
    put<quint16>(out, 28, 24);
    put<quint32>(out, 34, quint32(pixels));
    put<qint32>(out, 38, 2835); // 72 dpi
    put<qint32>(out, 42, 2835);
    for (std::int32_t y = 0; y < bits.height(); ++y) {
        const auto row = bits.row(y);
        std::memcpy(out.data() + offset + qsizetype(y) * bits.width(), row.data(), row.size());
    }
    return out;
}

} // namespace vell
