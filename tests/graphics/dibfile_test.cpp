// Our BMP and ICO readers against Qt's own, on the shipped assets, and on
// damaged data.
#include "graphics/dibsectionfile.h"
#include "graphics/formats/dibfile.h"
#include "support/fakegdi.h"

#include <QFile>
#include <QtEndian>
#include <gtest/gtest.h>

#include <array>

namespace {

QByteArray asset(const char* name) {
    QFile f(QString(VELL_FORMS_DIR) + "/" + name);
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error(std::string("missing asset ") + name);
    return f.readAll();
}

void expectSamePixels(const QImage& ours, const QImage& qts) {
    ASSERT_FALSE(ours.isNull());
    ASSERT_EQ(ours.size(), qts.size());
    int different = 0;
    for (int y = 0; y < ours.height(); ++y)
        for (int x = 0; x < ours.width(); ++x) {
            const QRgb a = ours.pixel(x, y), b = qts.pixel(x, y);
            different += qAlpha(a) != qAlpha(b) || (qAlpha(a) && a != b);
        }
    EXPECT_EQ(different, 0);
}

TEST(DibFiles, ReadTheShippedAssetsAsQtDoes) {
    for (const char* name : {"tallowbar/assets/ticker_skin.bmp", "shared/assets/refresh.bmp"}) {
        const QByteArray data = asset(name);
        expectSamePixels(vell::readBitmapFile(data),
                         QImage::fromData(data, "BMP").convertToFormat(QImage::Format_RGB32));
    }
    const QByteArray icon = asset("shared/assets/vellmoor.ico");
    const QImage ours = vell::readIconFile(icon);
    expectSamePixels(ours, QImage::fromData(icon, "ICO").convertToFormat(QImage::Format_ARGB32));
    EXPECT_EQ(qAlpha(ours.pixel(0, 0)), 0) << "the icon's corners are see-through";
}

TEST(DibFiles, RefuseDataThatIsWrongOrCutShort) {
    const QByteArray icon = asset("shared/assets/vellmoor.ico");
    const QByteArray skin = asset("tallowbar/assets/ticker_skin.bmp");
    EXPECT_TRUE(vell::readIconFile({}).isNull());
    EXPECT_TRUE(vell::readBitmapFile({}).isNull());
    EXPECT_TRUE(vell::readIconFile(skin).isNull());
    EXPECT_TRUE(vell::readBitmapFile(icon).isNull());
    for (int cut : {10, 22, 61, 700, 1405})
        EXPECT_TRUE(vell::readIconFile(icon.left(cut)).isNull()) << cut;
    for (int cut : {13, 53, 1000, 64133})
        EXPECT_TRUE(vell::readBitmapFile(skin.left(cut)).isNull()) << cut;
    QByteArray fewColours = icon;
    fewColours[6 + 16 + 32] = 2; // two palette entries, but the pixels use more
    EXPECT_TRUE(vell::readIconFile(fewColours).isNull());
}

// An entry of 4 bytes at offset 22 once had its header fields read before its
// length was checked (a heap overflow the sanitizer build shows).
TEST(DibFiles, IconEntriesTooShortForAHeaderAreRefused) {
    QByteArray icon = asset("shared/assets/vellmoor.ico");
    for (quint32 size : {0u, 4u, 16u, 39u}) {
        QByteArray shortEntry = icon.left(22) + icon.mid(6 + 16, qsizetype(size));
        qToLittleEndian<quint32>(size, shortEntry.data() + 14);
        qToLittleEndian<quint32>(22, shortEntry.data() + 18);
        shortEntry.squeeze();
        EXPECT_TRUE(vell::readIconFile(shortEntry).isNull()) << size;
    }
    // A bitmap whose pixel offset points past its end.
    QByteArray skin = asset("tallowbar/assets/ticker_skin.bmp");
    qToLittleEndian<quint32>(0xFFFFFFF0u, skin.data() + 10);
    EXPECT_TRUE(vell::readBitmapFile(skin).isNull());
}

TEST(DibFiles, ASurfaceWrittenOutReadsBackWithItsRowsAsTheyStand) {
    testing_support::FakeGdi gdi;
    vell::cDIBSection dib(gdi);
    ASSERT_TRUE(dib.Create(5, 3)); // 15 bytes a row, padded to 16
    const vell::ByteView bits = dib.Bits();
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 16; ++x)
            bits(x, y) = std::uint8_t(16 * y + x);
    const QByteArray file = vell::bitmapFileBytes(dib);
    ASSERT_EQ(file.size(), 14 + 40 + 3 * 16);
    EXPECT_EQ(file.mid(14 + 40 + 16 + 15, 1).at(0), char(31)) << "padding is written as it stands";
    const QImage back = vell::readBitmapFile(file);
    ASSERT_EQ(back.size(), QSize(5, 3));
    // Buffer row 0 is the picture's bottom row; bytes are blue, green, red.
    EXPECT_EQ(back.pixel(1, 2), qRgb(5, 4, 3));
    EXPECT_EQ(back.pixel(0, 0), qRgb(34, 33, 32));
    EXPECT_EQ(back, QImage::fromData(file, "BMP").convertToFormat(QImage::Format_RGB32));

    vell::cDIBSection none(gdi);
    EXPECT_TRUE(vell::bitmapFileBytes(none).isEmpty());
}

// A 2 x 2 icon of 32 bits: pixels top row first as (alpha, mask bit), each
// pixel's colour blue 10 * index + 1, green 2, red 3.
QByteArray icon32(const std::array<std::pair<int, int>, 4>& pixels) {
    QByteArray d(6 + 16 + 40 + 2 * 8 + 2 * 4, '\0');
    auto* p = d.data();
    qToLittleEndian<quint16>(1, p + 2), qToLittleEndian<quint16>(1, p + 4);
    qToLittleEndian<quint32>(quint32(d.size() - 22), p + 14);
    qToLittleEndian<quint32>(22, p + 18);
    qToLittleEndian<quint32>(40, p + 22), qToLittleEndian<qint32>(2, p + 26);
    qToLittleEndian<qint32>(4, p + 30), qToLittleEndian<quint16>(1, p + 34);
    qToLittleEndian<quint16>(32, p + 36);
    for (int i = 0; i < 4; ++i) {
        const int row = 1 - i / 2, x = i % 2; // rows lie bottom-up
        char* px = p + 62 + 8 * row + 4 * x;
        px[0] = char(10 * i + 1), px[1] = 2, px[2] = 3, px[3] = char(pixels[size_t(i)].first);
        if (pixels[size_t(i)].second)
            p[62 + 16 + 4 * row] = char(p[62 + 16 + 4 * row] | (0x80 >> x));
    }
    return d;
}

TEST(DibFiles, AnIconWithAlphaIsDrawnByItElseByItsMask) {
    // Alpha set where the mask says see-through, and 0 where it says solid.
    const QImage alpha = vell::readIconFile(icon32({{{255, 0}, {128, 1}, {0, 0}, {0, 1}}}));
    ASSERT_EQ(alpha.size(), QSize(2, 2));
    EXPECT_EQ(alpha.pixel(0, 0), qRgba(3, 2, 1, 255));
    EXPECT_EQ(alpha.pixel(1, 0), qRgba(3, 2, 11, 128)) << "an edge pixel keeps its alpha";
    EXPECT_EQ(qAlpha(alpha.pixel(0, 1)), 0) << "an invisible pixel stays invisible";
    EXPECT_EQ(qAlpha(alpha.pixel(1, 1)), 0);
    // No alpha anywhere: the mask alone says what shows, and it shows whole.
    const QImage masked = vell::readIconFile(icon32({{{0, 0}, {0, 1}, {0, 0}, {0, 0}}}));
    ASSERT_EQ(masked.size(), QSize(2, 2));
    EXPECT_EQ(masked.pixel(0, 0), qRgba(3, 2, 1, 255));
    EXPECT_EQ(qAlpha(masked.pixel(1, 0)), 0);
    EXPECT_EQ(masked.pixel(1, 1), qRgba(3, 2, 31, 255));
}

} // namespace
