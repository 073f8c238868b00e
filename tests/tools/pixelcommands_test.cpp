// vellskin's resample and noise commands, run as a user would run them.
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

struct Outcome {
    int code;
    QString err;
};

Outcome vellskin(const QStringList& args) {
    QProcess p;
    p.start(VELLSKIN_BIN, args);
    p.waitForFinished(20000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardError())};
}

// The 24-bit bitmap file's pixel rows as they stand, bottom-up.
QByteArray pixelRows(const QString& path, int* width, int* height) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = f.readAll();
    if (data.size() < 54)
        return {};
    *width = qFromLittleEndian<qint32>(data.constData() + 18);
    *height = qFromLittleEndian<qint32>(data.constData() + 22);
    return data.mid(qFromLittleEndian<quint32>(data.constData() + 10));
}

TEST(VellskinPixelCommands, NoiseWritesGreyOrBlueLessPixelsWithPaddingLeftZero) {
    QTemporaryDir dir;
    for (const char* kind : {"gray", "colour"}) {
        const QString out = dir.filePath(QString(kind) + ".bmp");
        const Outcome r = vellskin({"noise", kind, "5", "3", out});
        ASSERT_EQ(r.code, 0) << qPrintable(r.err);
        int w = 0, h = 0;
        const QByteArray rows = pixelRows(out, &w, &h);
        ASSERT_EQ(w, 5);
        ASSERT_EQ(h, 3);
        ASSERT_EQ(rows.size(), 16 * 3); // 15 bytes of pixels and 1 of padding a row
        for (int y = 0; y < 3; ++y) {
            const char* row = rows.constData() + 16 * y;
            EXPECT_EQ(row[15], 0) << "padding";
            for (int x = 0; x < 5; ++x) {
                if (QByteArray(kind) == "gray") {
                    EXPECT_TRUE(row[3 * x] == row[3 * x + 1] && row[3 * x] == row[3 * x + 2]);
                } else {
                    EXPECT_EQ(row[3 * x], 0);
                }
            }
        }
    }
}

TEST(VellskinPixelCommands, ResampleTakesHeightFirstAndBlendsAsTheSurfaceDoes) {
    QTemporaryDir dir;
    QImage in(2, 2, QImage::Format_RGB32); // left black, right grey 100
    in.fill(qRgb(0, 0, 0));
    in.setPixel(1, 0, qRgb(100, 100, 100));
    in.setPixel(1, 1, qRgb(100, 100, 100));
    ASSERT_TRUE(in.save(dir.filePath("in.bmp"), "BMP"));
    const Outcome r =
        vellskin({"resample", dir.filePath("in.bmp"), "3", "4", dir.filePath("out.bmp")});
    ASSERT_EQ(r.code, 0) << qPrintable(r.err);
    int w = 0, h = 0;
    const QByteArray rows = pixelRows(dir.filePath("out.bmp"), &w, &h);
    ASSERT_EQ(w, 4);
    ASSERT_EQ(h, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(quint8(rows[12 * y + 3 * x + 1]), 25 * x) << x << "," << y;
}

// Sizes are checked before a surface is made: a size that is no size, a
// picture past the tool's limit and a resample the picture is too thin for
// each say what is wrong, as error 5 (a bad argument), never 7 or 9.
TEST(VellskinPixelCommands, ErrorsAreOneLineAndANonZeroExit) {
    QTemporaryDir dir;
    QImage thin(1, 4, QImage::Format_RGB32);
    thin.fill(Qt::white);
    ASSERT_TRUE(thin.save(dir.filePath("thin.bmp"), "BMP"));
    const QString out = dir.filePath("out.bmp");
    const struct {
        QStringList args;
        QString says;
    } cases[] = {
        {{"noise", "grey", "4", "4", out}, "error 5,"},
        {{"noise", "gray", "4", "x", out}, "HEIGHT is not a number"},
        {{"noise", "gray", "0", "4", out},
         "error 5, vellskin, WIDTH is a number of pixels, 1 or more, not 0"},
        {{"resample", dir.filePath("thin.bmp"), "-3", "4", out},
         "error 5, vellskin, HEIGHT is a number of pixels, 1 or more, not -3"},
        {{"noise", "colour", "8193", "8192", out},
         "error 5, vellskin, the noise picture would be 8,193 x 8,192 = 67,117,056 pixels, past "
         "vellskin's limit of 67,108,864 pixels"},
        {{"resample", dir.filePath("thin.bmp"), "20000", "20000", out},
         "error 5, vellskin, the resampled picture would be 20,000 x 20,000 = 400,000,000 "
         "pixels, past vellskin's limit of 67,108,864 pixels"},
        {{"resample", dir.filePath("missing.bmp"), "4", "4", out},
         "error 53, vellskin, File not found"},
        {{"resample", dir.filePath("thin.bmp"), "4", "4", out},
         "error 5, vellskin, " + dir.filePath("thin.bmp") +
             " is 1 x 4 pixels: resampling blends neighbouring pixels, so it needs a picture at "
             "least 2 x 2"},
        {{"noise", "gray", "4", "4", dir.filePath("no/such/dir/out.bmp")}, "error 75,"},
    };
    for (const auto& c : cases) {
        const Outcome r = vellskin(c.args);
        EXPECT_NE(r.code, 0) << qPrintable(c.args.join(' '));
        EXPECT_TRUE(r.err.contains(c.says)) << qPrintable(r.err);
        EXPECT_EQ(r.err.count('\n'), 1) << qPrintable(r.err);
    }
    EXPECT_FALSE(QFile::exists(out)) << "nothing written on an error";
    // At its own size the thin picture is copied, not blended: no error.
    const Outcome same = vellskin({"resample", dir.filePath("thin.bmp"), "4", "1", out});
    EXPECT_EQ(same.code, 0) << qPrintable(same.err);
}

} // namespace
