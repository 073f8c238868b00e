// Picture files from outside: BMP variants as ImageMagick writes them, cut
// short or skipping pixels, must read the same whatever the heap held (Qt's
// readers leave unread rows as they find them), and files that are not plain
// files are refused at once.
#include "graphics/picturefile.h"
#include "graphics/stdpicture.h"
#include "support/errors.h"

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <future>

#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// The picture's pixels read with fresh heap memory filled with fill: a
// digest, or "refused".
std::string readWithHeapFill(const QString& path, int fill) {
    mallopt(M_PERTURB, fill);
    const QImage image = vell::readImage(path);
    mallopt(M_PERTURB, 0);
    if (image.isNull())
        return "refused";
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    return QCryptographicHash::hash(QByteArrayView(argb.constBits(), argb.sizeInBytes()),
                                    QCryptographicHash::Sha1)
        .toHex()
        .toStdString();
}

// An 8-bit RLE bitmap of 5 x 3 with a grey ramp palette and the stream given.
QByteArray rle8(const QByteArray& stream) {
    QByteArray file(14 + 40 + 256 * 4, '\0');
    auto put32 = [&](int at, quint32 v) { qToLittleEndian<quint32>(v, file.data() + at); };
    file[0] = 'B', file[1] = 'M';
    put32(2, quint32(file.size() + stream.size()));
    put32(10, quint32(file.size()));
    put32(14, 40), put32(18, 5), put32(22, 3);
    qToLittleEndian<quint16>(1, file.data() + 26);
    qToLittleEndian<quint16>(8, file.data() + 28);
    put32(30, 1), put32(34, quint32(stream.size()));
    for (int i = 0; i < 256; ++i)
        put32(54 + 4 * i, quint32(i * 0x010101));
    return file + stream;
}

TEST(PictureFiles, EveryBitmapAcceptedReadsTheSameWhateverTheHeapHeld) {
    QTemporaryDir dir;
    QProcess probe;
    probe.start("convert", {"-version"});
    if (!probe.waitForFinished() || probe.exitCode() != 0)
        GTEST_SKIP() << "ImageMagick is not installed (tools/install-deps.sh)";
    // Those our own reader leaves to Qt's, and one it reads itself.
    const std::vector<QStringList> variants = {
        {"-colors", "2", "-type", "Palette", "BMP3:%1"},   {"-colors", "16", "BMP3:%1"},
        {"-colors", "200", "-compress", "RLE", "BMP3:%1"}, {"-alpha", "set", "BMP:%1"},
        {"-colors", "2", "-type", "Palette", "BMP2:%1"},   {"-type", "TrueColor", "BMP3:%1"},
    };
    int accepted = 0, refusedCuts = 0;
    for (const QStringList& variant : variants) {
        const QString whole = dir.filePath("whole.bmp");
        QStringList args = {"-seed", "7", "-size", "13x7", "plasma:fractal"};
        for (const QString& a : variant)
            args << QString(a).replace("%1", whole);
        ASSERT_EQ(QProcess::execute("convert", args), 0) << args.join(' ').toStdString();
        QFile f(whole);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        EXPECT_NE(readWithHeapFill(whole, 0x55), "refused") << variant.join(' ').toStdString();
        // Every length from the header on: refused, or the same pixels.
        for (qsizetype cut = 54; cut < bytes.size() + 3; cut += 3) {
            cut = std::min(cut, bytes.size()); // and the whole file last
            const QString path = dir.filePath("cut.bmp");
            ASSERT_TRUE(writeFile(path, bytes.left(cut)));
            const std::string a = readWithHeapFill(path, 0x55), b = readWithHeapFill(path, 0xAA);
            EXPECT_EQ(a, b) << variant.join(' ').toStdString() << ", cut to " << cut << " of "
                            << bytes.size();
            accepted += a != "refused";
            refusedCuts += a == "refused";
            if (HasFailure())
                return;
        }
    }
    EXPECT_GT(refusedCuts, 100);
    EXPECT_GE(accepted, int(variants.size())) << "every whole file reads";

    // RLE streams that skip pixels (end the bitmap early, jump ahead) or end
    // in the data; and one that writes every pixel, padding its lines.
    const QByteArray full("\x06\x01\x00\x00\x06\x02\x00\x00\x05\x03\x00\x01", 12);
    for (const QByteArray& stream :
         {QByteArray("\x00\x01", 2), QByteArray("\x00\x02\x02\x01\x00\x01", 6),
          QByteArray("\x05\x01\x00\x00\x05\x02", 6), full.left(8)}) {
        ASSERT_TRUE(writeFile(dir.filePath("rle.bmp"), rle8(stream)));
        EXPECT_EQ(readWithHeapFill(dir.filePath("rle.bmp"), 0x55), "refused")
            << stream.toHex().toStdString();
    }
    ASSERT_TRUE(writeFile(dir.filePath("rle.bmp"), rle8(full)));
    const QImage image = vell::readImage(dir.filePath("rle.bmp"));
    ASSERT_EQ(image.size(), QSize(5, 3));
    EXPECT_EQ(image.pixel(4, 0), qRgb(3, 3, 3)) << "the last line is the top row";
    EXPECT_EQ(image.pixel(0, 2), qRgb(1, 1, 1));
}

// The call's error as "number|description", given 5 seconds.
std::string loadError(const QString& path) {
    auto result = std::async(std::launch::async, [path]() -> std::string {
        try {
            vell::loadPicture(path);
        } catch (const vell::RuntimeError& e) {
            return QString("%1|%2").arg(e.number()).arg(e.description()).toStdString();
        }
        return "none";
    });
    if (result.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        ADD_FAILURE() << path.toStdString() << " still being read after 5 s";
        std::fflush(stdout);
        std::_Exit(1); // the reading thread cannot be called back
    }
    return result.get();
}

TEST(PictureFiles, FifosDevicesFoldersAndMissingFilesAreRefusedAtOnceWithTheirFileErrors) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath("skin.bmp");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", dir.filePath("zero.bmp")));
    ASSERT_TRUE(writeFile(dir.filePath("empty.bmp"), {}));
    ASSERT_TRUE(writeFile(dir.filePath("text.bmp"), "BM and then some words"));
    EXPECT_EQ(loadError(fifo), "75|Path/File access error");
    EXPECT_EQ(loadError(dir.filePath("zero.bmp")), "75|Path/File access error");
    EXPECT_EQ(loadError(dir.path()), "75|Path/File access error");
    EXPECT_EQ(loadError(dir.filePath("missing.bmp")), "53|File not found");
    EXPECT_EQ(loadError(dir.filePath("no/such/folder.bmp")), "76|Path not found");
    EXPECT_EQ(loadError(dir.filePath("empty.bmp")),
              "481|Invalid picture: " + dir.filePath("empty.bmp").toStdString() +
                  " is empty (0 bytes)");
    EXPECT_EQ(loadError(dir.filePath("text.bmp")),
              "481|Invalid picture: " + dir.filePath("text.bmp").toStdString() +
                  " is not a whole BMP, ICO or other picture file the readers take");
    EXPECT_EQ(loadError(":/no/such/resource.bmp"), "53|File not found");
}

} // namespace
