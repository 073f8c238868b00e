// Window shapes from pictures, and the list of windows carrying them.
#include "graphics/dibsectionregion.h"
#include "support/errors.h"
#include "support/fakegdi.h"
#include "support/testseed.h"

#include <QBitmap>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QWindow>
#include <gtest/gtest.h>

using testing_support::errorNumber;
using testing_support::FakeGdi;
using vell::cDIBSection;
using vell::cDIBSectionRegion;
using vell::RuntimeError;

namespace {

// A surface filled from an image through the picture path the programs use.
struct Surface {
    Surface(FakeGdi& gdi, const QImage& img) : picture(img, gdi), dib(gdi) {
        dib.CreateFromPicture(picture);
    }
    vell::StdPicture picture;
    cDIBSection dib;
};

QImage black(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::black);
    return img;
}

// The expected shape, pixel by pixel.
QRegion opaquePixels(const QImage& img, QRgb transparent = 0) {
    QRegion r;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) != transparent)
                r += QRect(x, y, 1, 1);
    return r;
}

bool samePixels(const QRegion& a, const QRegion& b) {
    return a.xored(b).isEmpty();
}

TEST(RegionFromBitmap, TwoByThreeExampleRemovesThreeRunsInColumnOrder) {
    FakeGdi gdi;
    QImage img = black(2, 3);
    img.setPixel(0, 1, qRgb(9, 9, 9));
    Surface s(gdi, img);
    cDIBSectionRegion region(gdi);
    gdi.clearLog();
    region.Create(s.dib, 0);
    const QStringList rects = gdi.calls("CreateRectRgn");
    EXPECT_EQ(rects, QStringList({"CreateRectRgn(0,0,2,3)", "CreateRectRgn(0,0,1,1)",
                                  "CreateRectRgn(0,2,1,3)", "CreateRectRgn(1,0,2,3)"}));
    // Each run: make, XOR into the region (region as destination and source 2), delete.
    ASSERT_EQ(gdi.log.size(), 1 + 3 * 3);
    for (int run = 0; run < 3; ++run) {
        EXPECT_TRUE(gdi.log[1 + run * 3].startsWith("CreateRectRgn"));
        const QString r = QString("#%1").arg(region.hRgn(), 0, 16);
        EXPECT_TRUE(gdi.log[2 + run * 3].startsWith("CombineRgn(" + r + ","));
        EXPECT_TRUE(gdi.log[2 + run * 3].endsWith("," + r + ",3)"))
            << qPrintable(gdi.log[2 + run * 3]);
        EXPECT_TRUE(gdi.log[3 + run * 3].startsWith("DeleteObject"));
    }
    EXPECT_EQ(gdi.RegionPixels(region.hRgn()), QRegion(0, 1, 1, 1));
}

TEST(RegionFromBitmap, FullEmptyAndZeroSizeSurfaces) {
    FakeGdi gdi;
    cDIBSectionRegion region(gdi);
    Surface opaque(gdi, QImage(black(4, 3)).convertToFormat(QImage::Format_RGB32));
    {
        QImage img = black(4, 3);
        img.fill(qRgb(0, 0, 1));
        Surface s(gdi, img);
        region.Create(s.dib, 0);
        EXPECT_EQ(gdi.RegionPixels(region.hRgn()), QRegion(0, 0, 4, 3));
    }
    region.Create(opaque.dib, 0); // wholly transparent
    EXPECT_NE(region.hRgn(), 0u) << "the region exists";
    EXPECT_TRUE(gdi.RegionPixels(region.hRgn()).isEmpty());

    cDIBSection zero(gdi);
    zero.Create(0, 5); // refused, header says 0 x 5
    region.Create(zero, 0);
    EXPECT_TRUE(gdi.RegionPixels(region.hRgn()).isEmpty());
    zero.Create(5, 0);
    region.Create(zero, 0);
    EXPECT_TRUE(gdi.RegionPixels(region.hRgn()).isEmpty());
}

TEST(RegionFromBitmap, TransparentColourIgnoresTheTopByteAndNeedsAllThreeBytes) {
    FakeGdi gdi;
    QImage img = black(3, 1);
    img.setPixel(1, 0, qRgb(0, 0, 7)); // only blue differs from black
    img.setPixel(2, 0, qRgb(10, 20, 30));
    Surface s(gdi, img);
    cDIBSectionRegion region(gdi);
    region.Create(s.dib, 0x01000000);
    EXPECT_EQ(gdi.RegionPixels(region.hRgn()), QRegion(1, 0, 2, 1));
    // 0x00BBGGRR: red 10, green 20, blue 30 is 0x001E140A.
    region.Create(s.dib, 0x001E140A);
    EXPECT_EQ(gdi.RegionPixels(region.hRgn()), QRegion(0, 0, 2, 1));
    region.Create(s.dib, 0x001E1400); // two bytes of three match: still opaque
    EXPECT_EQ(gdi.RegionPixels(region.hRgn()), QRegion(0, 0, 3, 1));
}

TEST(RegionFromBitmap, BufferRowZeroIsTheBottomEdge) {
    FakeGdi gdi;
    QImage img = black(3, 4);
    img.fill(qRgb(50, 50, 50));
    Surface s(gdi, img);
    auto bits = s.dib.Bits();
    bits(0, 0) = bits(1, 0) = bits(2, 0) = 0; // buffer row 0, column 0
    cDIBSectionRegion region(gdi);
    region.Create(s.dib, 0);
    EXPECT_EQ(gdi.RegionPixels(region.hRgn()), QRegion(0, 0, 3, 4).subtracted(QRegion(0, 3, 1, 1)));
}

TEST(RegionFromBitmap, PaddingIsNeverReadAndShapesMatchThePixelsForEveryWidth) {
    const testing_support::TestSeed seed;
    QRandomGenerator rng(seed.value());
    for (int w = 1; w <= 9; ++w) {
        FakeGdi gdi;
        QImage img = black(w, 7);
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < w; ++x)
                if (rng.bounded(3) == 0)
                    img.setPixel(x, y, qRgb(200, 100, 50));
        Surface s(gdi, img);
        // Poison the padding with an opaque colour: it must not show up.
        auto bits = s.dib.Bits();
        for (int y = 0; y < 7; ++y)
            for (int x = 3 * w; x < s.dib.BytesPerScanLine(); ++x)
                bits(x, y) = 0xAB;
        cDIBSectionRegion region(gdi);
        region.Create(s.dib, 0);
        const QRegion got = gdi.RegionPixels(region.hRgn());
        EXPECT_TRUE(samePixels(got, opaquePixels(img))) << "width " << w;
        EXPECT_TRUE(QRect(0, 0, w, 7).contains(got.boundingRect()) || got.isEmpty());
    }
}

TEST(RegionFromBitmap, ArtworkShapeEqualsQtsOwnBitmapRegion) {
    FakeGdi gdi;
    QImage img = black(120, 90);
    QPainter p(&img);
    p.setBrush(QColor(120, 60, 160));
    p.setPen(Qt::NoPen);
    p.drawEllipse(5, 5, 70, 60);
    p.drawRoundedRect(60, 40, 55, 45, 9, 9);
    p.setBrush(Qt::black);
    p.drawEllipse(25, 20, 20, 18); // a hole
    p.setPen(QPen(QColor(200, 180, 40), 2));
    p.drawLine(0, 89, 119, 0);
    p.end();
    Surface s(gdi, img);
    cDIBSectionRegion region(gdi);
    region.Create(s.dib, 0);
    const QImage mask = img.createMaskFromColor(qRgb(0, 0, 0), Qt::MaskInColor);
    const QRegion got = gdi.RegionPixels(region.hRgn());
    EXPECT_TRUE(samePixels(got, opaquePixels(img)));
    EXPECT_TRUE(samePixels(got, QRegion(QBitmap::fromImage(mask))));
}

TEST(RegionFromBitmap, RefusedStartingRectangleMeansNoRegionAndARefusedRunStays) {
    FakeGdi gdi;
    QImage img = black(2, 2);
    img.setPixel(0, 0, qRgb(1, 1, 1));
    Surface s(gdi, img);
    cDIBSectionRegion region(gdi);
    gdi.refuse("CreateRectRgn");
    EXPECT_NO_THROW(region.Create(s.dib, 0));
    EXPECT_EQ(region.hRgn(), 0u);
    EXPECT_EQ(region.AppliedToCount(), 0);

    gdi.refuse("CreateRectRgn", 2); // the first run: (0, 1, 1, 2)
    region.Create(s.dib, 0);
    EXPECT_EQ(gdi.RegionPixels(region.hRgn()), QRegion(0, 0, 1, 2));
}

TEST(RegionWindows, ReapplyingAListedWindowShapesItAgainWithoutListingItTwice) {
    FakeGdi gdi;
    cDIBSectionRegion region(gdi);
    region.setApplied(101, true);
    region.setApplied(101, true);
    EXPECT_EQ(region.AppliedToCount(), 1);
    EXPECT_EQ(gdi.calls("SetWindowRgn").size(), 2);
    EXPECT_TRUE(region.Applied(101));
    EXPECT_FALSE(region.Applied(102));
}

TEST(RegionWindows, RemovingAnUnlistedWindowStillTakesItsShapeOff) {
    FakeGdi gdi;
    cDIBSectionRegion region(gdi);
    region.setApplied(1, true);
    region.setApplied(2, false);
    EXPECT_EQ(gdi.calls("SetWindowRgn").last(), "SetWindowRgn(2,0,1)");
    EXPECT_EQ(region.AppliedToCount(), 1);
    EXPECT_EQ(region.hWndForIndex(1), 1u);
}

TEST(RegionWindows, RemovingTheMiddleOfThreeKeepsTheOthersInOrder) {
    FakeGdi gdi;
    cDIBSectionRegion region(gdi);
    for (gdi::HWND w : {11u, 22u, 33u})
        region.setApplied(w, true);
    region.setApplied(22, false);
    EXPECT_EQ(region.AppliedToCount(), 2);
    EXPECT_EQ(region.hWndForIndex(1), 11u);
    EXPECT_EQ(region.hWndForIndex(2), 33u);
    EXPECT_EQ(errorNumber([&] { region.hWndForIndex(3); }), RuntimeError::SubscriptOutOfRange);
}

TEST(RegionWindows, RemovingTheOnlyWindowFreesTheList) {
    FakeGdi gdi;
    cDIBSectionRegion region(gdi);
    region.setApplied(5, true);
    region.setApplied(5, false);
    EXPECT_EQ(region.AppliedToCount(), 0);
    EXPECT_EQ(errorNumber([&] { region.hWndForIndex(1); }), RuntimeError::SubscriptOutOfRange);
    EXPECT_EQ(errorNumber([&] { region.hWndForIndex(0); }), RuntimeError::SubscriptOutOfRange);
}

TEST(RegionWindows, CreateWhileWindowsAreListedUnshapesThemAndEmptiesTheList) {
    FakeGdi gdi;
    QImage img = black(2, 2);
    img.setPixel(1, 1, qRgb(3, 3, 3));
    Surface s(gdi, img);
    cDIBSectionRegion region(gdi);
    region.Create(s.dib, 0);
    const auto first = region.hRgn();
    region.setApplied(7, true);
    region.setApplied(8, true);
    gdi.clearLog();
    region.Create(s.dib, 0);
    EXPECT_EQ(gdi.log.mid(0, 3), QStringList({"SetWindowRgn(7,0,1)", "SetWindowRgn(8,0,1)",
                                              QString("DeleteObject(#%1)").arg(first, 0, 16)}))
        << "windows lose the shape before the old region is deleted";
    EXPECT_EQ(region.AppliedToCount(), 0);
    EXPECT_FALSE(region.Applied(7));
    EXPECT_EQ(region.hWndForIndex(2), 0u) << "the list keeps its length, cleared";
    region.setApplied(9, true);
    EXPECT_EQ(region.hWndForIndex(1), 9u);
    EXPECT_EQ(errorNumber([&] { region.hWndForIndex(2); }), RuntimeError::SubscriptOutOfRange);
}

TEST(RegionWindows, DestroyOnANewObjectDoesNothingAndTheEndFreesEverything) {
    FakeGdi gdi;
    {
        Surface s(gdi, black(3, 3));
        gdi.clearLog();
        cDIBSectionRegion region(gdi);
        region.Destroy();
        EXPECT_TRUE(gdi.log.isEmpty());
        region.Create(s.dib, 0);
        region.setApplied(4, true);
        gdi.clearLog();
    }
    EXPECT_EQ(gdi.log.first(), "SetWindowRgn(4,0,1)");
    EXPECT_EQ(gdi.liveObjects(), 0);
}

} // namespace

namespace {

TEST(WindowShape, AnEmptyRegionShowsNothingAndNoRegionShowsAll) {
    gdi::qt::QtGdi gdi;
    QWindow window;
    window.resize(40, 30);
    const gdi::HWND hWnd = gdi::HWND(window.winId());
    const gdi::HRGN empty = gdi.CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(gdi.SetWindowRgn(hWnd, empty, true), 1);
    EXPECT_FALSE(window.mask().isEmpty()) << "an empty mask would show the whole window";
    EXPECT_TRUE(window.mask().intersected(QRect(0, 0, 40, 30)).isEmpty()) << "nothing shows";
    const gdi::HRGN half = gdi.CreateRectRgn(0, 0, 20, 30);
    gdi.SetWindowRgn(hWnd, half, true);
    EXPECT_EQ(window.mask(), QRegion(0, 0, 20, 30));
    gdi.SetWindowRgn(hWnd, 0, true);
    EXPECT_TRUE(window.mask().isEmpty()) << "no region: the whole window";
    gdi.DeleteObject(empty);
    gdi.DeleteObject(half);
}

} // namespace
