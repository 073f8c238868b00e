// Resampling, noise and the clipboard: the worked examples, the edges, and
// every platform refusal with what it leaves behind.
#include "graphics/dibsection.h"
#include "graphics/randomsource.h"
#include "support/errors.h"
#include "support/fakegdi.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <gtest/gtest.h>

#include <vector>

using testing_support::errorNumber;
using testing_support::FakeGdi;
using vell::cDIBSection;
using vell::RuntimeError;

namespace {

// Sets all three bytes of pixel x in buffer row y.
void setGrey(cDIBSection& dib, int x, int y, int v) {
    for (int c = 0; c < 3; ++c)
        dib.Bits()(3 * x + c, y) = std::uint8_t(v);
}

// Each pixel's grey value (checking all three channels agree), row by row.
std::vector<std::vector<int>> greys(const cDIBSection& dib) {
    std::vector<std::vector<int>> rows;
    for (int y = 0; y < dib.Height(); ++y) {
        rows.emplace_back();
        for (int x = 0; x < dib.Width(); ++x) {
            const int v = dib.Bits()(3 * x, y);
            EXPECT_EQ(dib.Bits()(3 * x + 1, y), v);
            EXPECT_EQ(dib.Bits()(3 * x + 2, y), v);
            rows.back().push_back(v);
        }
    }
    return rows;
}

using Rows = std::vector<std::vector<int>>;

TEST(Resample, WorkedExamplesRoundEachBlendHalvesToEven) {
    FakeGdi gdi;
    cDIBSection two(gdi);
    ASSERT_TRUE(two.Create(2, 2));
    for (int y = 0; y < 2; ++y)
        setGrey(two, 1, y, 100);
    auto big = two.Resample(4, 4);
    ASSERT_TRUE(big);
    EXPECT_EQ(greys(*big), Rows(4, {0, 25, 50, 75}));
    for (int y = 0; y < 2; ++y)
        setGrey(two, 1, y, 25);
    EXPECT_EQ(greys(*two.Resample(4, 4)), Rows(4, {0, 6, 12, 19})) << "12.5 gives 12, 18.75 19";

    cDIBSection rows(gdi);
    ASSERT_TRUE(rows.Create(2, 2));
    setGrey(rows, 0, 1, 200);
    setGrey(rows, 1, 1, 200);
    auto tall = rows.Resample(4, 2); // height first
    ASSERT_TRUE(tall);
    ASSERT_EQ(tall->Width(), 2);
    EXPECT_EQ(greys(*tall), (Rows{{0, 0}, {50, 50}, {100, 100}, {150, 150}}));

    cDIBSection wide(gdi);
    ASSERT_TRUE(wide.Create(4, 2));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            setGrey(wide, x, y, 10 * x);
    EXPECT_EQ(greys(*wide.Resample(2, 2)), Rows(2, {0, 15}));
}

TEST(Resample, SameSizeIsAnExactCopyAndPaddingIsNeverWritten) {
    FakeGdi gdi;
    cDIBSection dib(gdi);
    ASSERT_TRUE(dib.Create(5, 3)); // 15 bytes of pixels, 1 of padding a row
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 15; ++x)
            dib.Bits()(x, y) = std::uint8_t(17 * x + 31 * y + 1);
    auto copy = dib.Resample(3, 5);
    ASSERT_TRUE(copy);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 15; ++x)
            EXPECT_EQ(copy->Bits()(x, y), dib.Bits()(x, y)) << x << "," << y;
        EXPECT_EQ(copy->Bits()(15, y), 0) << "padding";
    }
    auto grown = dib.Resample(7, 9); // 27 bytes, 1 of padding
    ASSERT_TRUE(grown);
    for (int y = 0; y < 7; ++y)
        EXPECT_EQ(grown->Bits()(27, y), 0);
    EXPECT_EQ(dib.Width(), 5) << "the source is not changed";
}

TEST(Resample, OnePixelSourcesRaiseTheIndexErrorAndReleaseTheNewSurface) {
    for (auto [w, h] : {std::pair{1, 3}, {3, 1}, {1, 1}}) {
        FakeGdi gdi;
        cDIBSection dib(gdi);
        ASSERT_TRUE(dib.Create(w, h));
        const int before = gdi.liveObjects();
        std::unique_ptr<cDIBSection> made;
        EXPECT_EQ(errorNumber([&] { made = dib.Resample(4, 4); }),
                  RuntimeError::SubscriptOutOfRange)
            << w << "x" << h;
        EXPECT_FALSE(made);
        EXPECT_EQ(gdi.liveObjects(), before) << "nothing left behind";
        EXPECT_TRUE(dib.Resample(h, w)) << "its own size is a copy";
    }
}

TEST(Resample, RefusedOrImpossibleSurfacesGiveNothing) {
    for (const char* op : {"CreateCompatibleDC", "CreateDIBSection"}) {
        FakeGdi gdi;
        cDIBSection dib(gdi);
        ASSERT_TRUE(dib.Create(3, 3));
        gdi.refuse(op);
        EXPECT_FALSE(dib.Resample(6, 6)) << op;
        EXPECT_EQ(gdi.liveObjects(), 3) << op << ": only the source's objects";
    }
    FakeGdi gdi;
    cDIBSection dib(gdi);
    ASSERT_TRUE(dib.Create(3, 3));
    EXPECT_FALSE(dib.Resample(4, 0)) << "a width the platform refuses";
    // A size but no pixels: nothing is read, made or raised.
    dib.ClearUp();
    gdi.clearLog();
    EXPECT_FALSE(dib.Resample(6, 6));
    EXPECT_TRUE(gdi.log.isEmpty());
}

// Hands out scripted draws in turn and counts reseeds.
class ScriptedRandom final : public vell::RandomSource {
public:
    explicit ScriptedRandom(std::vector<float> draws) : draws_(std::move(draws)) {}
    void reseedFromTimeOfDay() override { ++reseeds; }
    float next() override { return draws_[next_++ % draws_.size()]; }
    int reseeds = 0;

private:
    std::vector<float> draws_;
    std::size_t next_ = 0;
};

TEST(RandomiseBits, GreyDrawsRowByRowColourColumnByColumnAndPaddingKeepsItsValue) {
    FakeGdi gdi;
    cDIBSection dib(gdi);
    ASSERT_TRUE(dib.Create(3, 2)); // 9 bytes of pixels, 3 of padding a row
    for (int y = 0; y < 2; ++y)
        for (int x = 9; x < 12; ++x)
            dib.Bits()(x, y) = 0xAB;
    // 0.5 x 255 = 127.5 rounds to 128; 0.999 x 255 = 254.745 to 255.
    ScriptedRandom random({0.0f, 0.5f, 0.999f, 0.1f, 0.2f, 0.3f, 0.4f, 0.6f, 0.7f, 0.8f, 0.9f});
    dib.RandomiseBits(true, random);
    EXPECT_EQ(greys(dib), (Rows{{0, 128, 255}, {26, 51, 77}}));
    dib.RandomiseBits(false, random);
    EXPECT_EQ(random.reseeds, 2) << "reseeded at every call";
    // Columns outer, green then red: the script carries on at its seventh draw.
    const int expectGreen[2][3] = {{102, 229, 26}, {178, 128, 77}};
    const int expectRed[2][3] = {{153, 0, 51}, {204, 255, 102}};
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(dib.Bits()(3 * x, y), 0) << "blue";
            EXPECT_EQ(dib.Bits()(3 * x + 1, y), expectGreen[y][x]) << x << "," << y;
            EXPECT_EQ(dib.Bits()(3 * x + 2, y), expectRed[y][x]) << x << "," << y;
        }
        for (int x = 9; x < 12; ++x)
            EXPECT_EQ(dib.Bits()(x, y), 0xAB) << "padding";
    }
}

TEST(RandomiseBits, TheSystemGeneratorKeepsTheInvariantsOnEveryPixel) {
    FakeGdi gdi;
    cDIBSection dib(gdi);
    ASSERT_TRUE(dib.Create(37, 23)); // 111 bytes of pixels, 1 of padding
    for (int y = 0; y < 23; ++y)
        dib.Bits()(111, y) = 0x5A;
    for (bool grey : {true, false}) {
        dib.RandomiseBits(grey);
        int distinct = 0;
        for (int y = 0; y < 23; ++y) {
            EXPECT_EQ(dib.Bits()(111, y), 0x5A);
            for (int x = 0; x < 37; ++x) {
                const auto* p = &dib.Bits()(3 * x, y);
                if (grey) {
                    EXPECT_TRUE(p[0] == p[1] && p[1] == p[2]);
                } else {
                    EXPECT_EQ(p[0], 0);
                    distinct += p[1] != p[2];
                }
            }
        }
        if (!grey) {
            EXPECT_GT(distinct, 37 * 23 / 2) << "green and red are drawn apart";
        }
    }
}

TEST(RandomiseBits, NoPixelsMeansNothingWrittenAndAHugeWidthOverflows) {
    FakeGdi gdi;
    cDIBSection dib(gdi);
    ScriptedRandom random({0.5f});
    ASSERT_TRUE(dib.Create(4, 4));
    dib.ClearUp(); // the header keeps 4 x 4
    EXPECT_NO_THROW(dib.RandomiseBits(true, random));
    EXPECT_EQ(errorNumber([&] { dib.Create(0x2AAAAAAC, 1); }), RuntimeError::Overflow);
    EXPECT_EQ(errorNumber([&] { dib.RandomiseBits(false, random); }), RuntimeError::Overflow)
        << "3 x (Width - 1) is beyond 32 bits";
}

// The clipboard is the process's own under the offscreen platform.
class Clipboard : public ::testing::Test {
protected:
    void SetUp() override { QGuiApplication::clipboard()->setText("kept"); }
    static QString text() { return QGuiApplication::clipboard()->text(); }
    static qsizetype granted(const FakeGdi& gdi, const QString& op) {
        return gdi.calls(op).size() - gdi.calls(op).filter(" refused").size();
    }
    // Every context taken was given back, every one made deleted.
    static void expectAllReleased(const FakeGdi& gdi, int live) {
        EXPECT_EQ(granted(gdi, "GetDC"), granted(gdi, "ReleaseDC"));
        EXPECT_EQ(granted(gdi, "CreateCompatibleDC"), granted(gdi, "DeleteDC"));
        EXPECT_EQ(gdi.liveObjects(), live);
        EXPECT_FALSE(gdi.real.clipboardOpen());
    }
};

TEST_F(Clipboard, AsDibShowsTheMessageAndLeavesTheClipboardAlone) {
    FakeGdi gdi;
    cDIBSection dib(gdi);
    ASSERT_TRUE(dib.Create(4, 3));
    const int live = gdi.liveObjects();
    gdi.clearLog();
    QGuiApplication::setApplicationDisplayName("Brambleview");
    EXPECT_FALSE(dib.CopyToClipboard(true));
    const QStringList box = gdi.calls("MessageBoxA");
    ASSERT_EQ(box.size(), 1);
    EXPECT_EQ(box[0], "MessageBoxA(0,I don't know how to put a DIB on the clipboard! Copy as "
                      "bitmap instead!!!|Brambleview|0)");
    EXPECT_FALSE(gdi.clipboardOpenDuringMessage);
    EXPECT_TRUE(gdi.calls("OpenClipboard").isEmpty());
    EXPECT_EQ(text(), "kept");
    expectAllReleased(gdi, live);
}

TEST_F(Clipboard, AsBitmapPutsThePictureThereAndTheClipboardKeepsTheBitmap) {
    FakeGdi gdi;
    cDIBSection dib(gdi);
    ASSERT_TRUE(dib.Create(5, 3));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 15; ++x)
            dib.Bits()(x, y) = std::uint8_t(40 * y + 3 * x + 7);
    const int live = gdi.liveObjects();
    gdi.clearLog();
    EXPECT_TRUE(dib.CopyToClipboard(false));
    const QImage image = QGuiApplication::clipboard()->image();
    ASSERT_EQ(image.size(), QSize(5, 3));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            const auto* p = &dib.Bits()(3 * x, 2 - y); // picture row y is buffer row 2 - y
            EXPECT_EQ(image.pixel(x, y) & 0xFFFFFF, qRgb(p[2], p[1], p[0]) & 0xFFFFFF)
                << x << "," << y;
        }
    EXPECT_TRUE(gdi.calls("SetClipboardData")[0].startsWith("SetClipboardData(2,"));
    expectAllReleased(gdi, live);
}

TEST_F(Clipboard, EachRefusalGivesFalseAndReleasesEverything) {
    for (const char* op : {"GetDC", "CreateCompatibleDC", "CreateCompatibleBitmap", "SelectObject",
                           "OpenClipboard", "SetClipboardData"}) {
        SCOPED_TRACE(op);
        QGuiApplication::clipboard()->setText("kept");
        FakeGdi gdi;
        cDIBSection dib(gdi);
        ASSERT_TRUE(dib.Create(4, 3));
        const int live = gdi.liveObjects();
        gdi.clearLog();
        gdi.refuse(op);
        EXPECT_FALSE(dib.CopyToClipboard(false));
        expectAllReleased(gdi, live);
        if (QString(op) != "SetClipboardData")
            EXPECT_EQ(text(), "kept");
        else
            EXPECT_EQ(gdi.calls("CloseClipboard").size(), 1);
    }
    QGuiApplication::clipboard()->setText("kept");
    FakeGdi gdi;
    cDIBSection dib(gdi);
    EXPECT_FALSE(dib.CopyToClipboard(false)) << "no surface";
    expectAllReleased(gdi, 0);
    EXPECT_EQ(text(), "kept");
}

} // namespace
