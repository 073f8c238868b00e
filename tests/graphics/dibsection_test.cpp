// The 24-bit surface: header, layout, life of its platform objects.
#include "graphics/dibsection.h"
#include "support/errors.h"
#include "support/fakegdi.h"

#include <QImage>
#include <gtest/gtest.h>

using testing_support::errorNumber;
using testing_support::FakeGdi;
using vell::cDIBSection;
using vell::RuntimeError;

namespace {

QImage picture(int w, int h, QRgb fill = qRgb(0, 0, 0)) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(fill);
    return img;
}

TEST(DibSection, BytesPerScanLineRoundsThreeBytesAPixelUpToFourAndReportsOverflow) {
    FakeGdi gdi;
    cDIBSection dib(gdi);
    const int expected[] = {0, 4, 8, 12, 12, 16};
    for (int w = 0; w <= 5; ++w) {
        dib.Create(w, 1); // width 0 is refused, but the header is written
        EXPECT_EQ(dib.BytesPerScanLine(), expected[w]) << w;
    }
    EXPECT_EQ(errorNumber([&] { dib.Create(0x2AAAAAAB, 1); }), RuntimeError::Overflow);
    EXPECT_EQ(dib.Width(), 0x2AAAAAAB) << "header written up to the failing step";
    EXPECT_EQ(errorNumber([&] { (void)dib.BytesPerScanLine(); }), RuntimeError::Overflow);
    // Fits a row, but not the whole image: biSizeImage overflows, and the
    // error says which size it was.
    try {
        dib.Create(0x10000, 0x10000);
        ADD_FAILURE() << "no Overflow";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), RuntimeError::Overflow);
        EXPECT_EQ(e.description(), "Overflow: a 65,536 x 65,536 surface needs 12,884,901,888 "
                                   "bytes, a surface holds at most 2,147,483,647");
    }
    EXPECT_EQ(dib.header().biSizeImage, 16u) << "left from the last size that fitted";
    EXPECT_NE(dib.hdc(), 0u) << "the context made before the error stays for ClearUp";
    dib.ClearUp();
    EXPECT_EQ(gdi.liveObjects(), 0);
}

TEST(DibSection, NewObjectIsAllZeroAndClearUpKeepsTheHeader) {
    FakeGdi gdi;
    cDIBSection dib(gdi);
    EXPECT_EQ(dib.Width(), 0);
    EXPECT_EQ(dib.Height(), 0);
    EXPECT_EQ(dib.BytesPerScanLine(), 0);
    EXPECT_EQ(dib.hdc(), 0u);
    EXPECT_EQ(dib.hDib(), 0u);
    EXPECT_EQ(dib.DIBSectionBitsPtr(), 0u);
    dib.ClearUp();
    EXPECT_TRUE(gdi.log.isEmpty()) << "ClearUp on an empty surface makes no calls";

    ASSERT_TRUE(dib.Create(7, 5));
    EXPECT_EQ(dib.header().biSize, 40u);
    EXPECT_EQ(dib.header().biBitCount, 24);
    EXPECT_EQ(dib.header().biSizeImage, 24u * 5);
    const auto bits = dib.Bits();
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 24; ++x)
            ASSERT_EQ(bits(x, y), 0) << "a new buffer is zero, padding included";
    dib.ClearUp();
    EXPECT_EQ(dib.hdc(), 0u);
    EXPECT_EQ(dib.hDib(), 0u);
    EXPECT_EQ(dib.DIBSectionBitsPtr(), 0u);
    EXPECT_EQ(dib.Width(), 7);
    EXPECT_EQ(dib.Height(), 5);
    EXPECT_EQ(gdi.liveObjects(), 0);
}

TEST(DibSection, SecondCreateReleasesTheFirstBeforeMakingNewOnes) {
    FakeGdi gdi;
    cDIBSection dib(gdi);
    ASSERT_TRUE(dib.Create(4, 4));
    const auto dc = dib.hdc(), bmp = dib.hDib();
    gdi.clearLog();
    ASSERT_TRUE(dib.Create(8, 2));
    ASSERT_GE(gdi.log.size(), 6);
    EXPECT_TRUE(gdi.log[0].startsWith("SelectObject(")) << "bitmap put back out first";
    EXPECT_EQ(gdi.log[1], QString("DeleteObject(#%1)").arg(bmp, 0, 16));
    EXPECT_EQ(gdi.log[2], QString("DeleteDC(#%1)").arg(dc, 0, 16));
    EXPECT_TRUE(gdi.log[3].startsWith("CreateCompatibleDC("));
    EXPECT_TRUE(gdi.log[4].startsWith("CreateDIBSection("));
    EXPECT_TRUE(gdi.log[5].startsWith("SelectObject("));
    EXPECT_EQ(gdi.liveObjects(), 2 + 1) << "context, its stock bitmap, the DIB";
}

TEST(DibSection, RefusedSecondCreateLeavesTheSurfaceEmpty) {
    for (const char* op : {"CreateCompatibleDC", "CreateDIBSection"}) {
        FakeGdi gdi;
        cDIBSection dib(gdi);
        ASSERT_TRUE(dib.Create(4, 4));
        gdi.refuse(op);
        EXPECT_FALSE(dib.Create(6, 6)) << op;
        EXPECT_EQ(dib.hdc(), 0u) << op;
        EXPECT_EQ(dib.hDib(), 0u) << op;
        EXPECT_EQ(dib.DIBSectionBitsPtr(), 0u) << op;
        EXPECT_EQ(gdi.liveObjects(), 0) << op << ": nothing left behind";
    }
}

TEST(DibSection, CreateFromPicturePutsTheTopLeftPixelAtTheStartOfTheTopBufferRow) {
    FakeGdi gdi;
    QImage img = picture(5, 3); // 5 wide: 15 bytes of pixels and 1 of padding a row
    img.setPixel(0, 0, qRgb(255, 0, 0));
    const vell::StdPicture pic(img, gdi);
    cDIBSection dib(gdi);
    dib.CreateFromPicture(pic);
    ASSERT_NE(dib.hdc(), 0u);
    ASSERT_EQ(dib.Width(), 5);
    ASSERT_EQ(dib.Height(), 3);
    const auto bits = dib.Bits();
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 16; ++x) {
            const int want = (y == 2 && x == 2) ? 255 : 0;
            EXPECT_EQ(bits(x, y), want) << x << "," << y;
        }
    // The screen's context went back before the copy; the borrowed one is gone.
    EXPECT_EQ(gdi.calls("ReleaseDC").size(), 1);
    EXPECT_EQ(gdi.calls("DeleteDC").size(), 1);
}

TEST(DibSection, CreateFromPictureEndsQuietlyWhereThePlatformRefuses) {
    QImage img = picture(3, 2, qRgb(10, 20, 30));
    {
        FakeGdi gdi;
        const vell::StdPicture pic(img, gdi);
        cDIBSection dib(gdi);
        gdi.refuse("GetDC");
        dib.CreateFromPicture(pic);
        EXPECT_NE(dib.hdc(), 0u) << "the surface exists";
        EXPECT_EQ(dib.Bits()(0, 0), 0) << "with every pixel zero";
    }
    {
        FakeGdi gdi;
        const vell::StdPicture pic(img, gdi);
        cDIBSection dib(gdi);
        gdi.refuse("CreateCompatibleDC", 2); // the borrowing context
        dib.CreateFromPicture(pic);
        EXPECT_NE(dib.hdc(), 0u);
        EXPECT_EQ(dib.Bits()(0, 0), 0);
        EXPECT_EQ(gdi.calls("ReleaseDC").size(), 1) << "screen context still given back";
    }
    {
        FakeGdi gdi;
        const vell::StdPicture pic(img, gdi);
        cDIBSection dib(gdi);
        gdi.refuse("GetObjectA");
        dib.CreateFromPicture(pic); // a zero-size record: Create refuses
        EXPECT_EQ(dib.hdc(), 0u);
        EXPECT_EQ(dib.Width(), 0);
    }
}

TEST(DibSection, NegativeSizeMeansTheSurfacesOwnAndZeroTransfersNothing) {
    FakeGdi gdi;
    const vell::StdPicture pic(picture(6, 4, qRgb(1, 2, 3)), gdi);
    cDIBSection source(gdi);
    source.CreateFromPicture(pic);
    cDIBSection dib(gdi);
    ASSERT_TRUE(dib.Create(6, 4));
    gdi.clearLog();
    dib.LoadPictureBlt(source.hdc(), 0, 0, 0, -1);
    dib.LoadPictureBlt(source.hdc(), 0, 0, -1, 0);
    EXPECT_EQ(dib.Bits()(0, 0), 0) << "zero width or height copies nothing";
    dib.LoadPictureBlt(source.hdc());
    EXPECT_TRUE(gdi.log.last().contains(",0,0,6,4,")) << qPrintable(gdi.log.last());
    EXPECT_EQ(dib.Bits()(0, 0), 3) << "blue byte first";
    EXPECT_EQ(dib.Bits()(2, 3), 1);

    cDIBSection target(gdi);
    ASSERT_TRUE(target.Create(6, 4));
    dib.PaintPicture(target.hdc(), 0, 0, -1, -1, 10, 5);
    EXPECT_TRUE(gdi.log.last().contains(QString(",0,0,6,4,#%1,10,5,").arg(dib.hdc(), 0, 16)))
        << qPrintable(gdi.log.last());
    EXPECT_EQ(target.Bits()(0, 0), 0) << "the platform clipped everything away";
}

TEST(DibSection, PaintPictureShowsBufferRowZeroAsThePicturesBottomRow) {
    FakeGdi gdi;
    cDIBSection dib(gdi);
    ASSERT_TRUE(dib.Create(2, 3));
    auto bits = dib.Bits();
    bits(0, 0) = 0x11; // blue of pixel (0, bottom)
    bits(4, 0) = 0x22; // green of pixel (1, bottom)
    const gdi::HDC screen = gdi.real.GetDC(gdi.real.GetDesktopWindow());
    const gdi::HDC dc = gdi.real.CreateCompatibleDC(screen);
    const gdi::HBITMAP bmp = gdi.real.CreateCompatibleBitmap(screen, 2, 3);
    const gdi::HBITMAP old = gdi.real.SelectObject(dc, bmp);
    dib.PaintPicture(dc);
    // Read back through a second surface, top-down picture coordinates.
    cDIBSection back(gdi);
    ASSERT_TRUE(back.Create(2, 3));
    back.LoadPictureBlt(dc);
    EXPECT_EQ(back.Bits()(0, 0), 0x11);
    EXPECT_EQ(back.Bits()(4, 0), 0x22);
    gdi.real.SelectObject(dc, old);
    gdi.real.DeleteObject(bmp);
    gdi.real.DeleteDC(dc);
    gdi.real.ReleaseDC(0, screen);
}

TEST(DibSection, ByteViewRejectsEveryIndexOutsideRowsAndScanLinesAndTouchesNothing) {
    FakeGdi gdi;
    cDIBSection dib(gdi);
    ASSERT_TRUE(dib.Create(3, 2)); // 12 bytes a row: 9 of pixels, 3 of padding
    const auto bits = dib.Bits();
    EXPECT_NO_THROW(bits(11, 1));
    for (auto [x, y] : {std::pair{12, 0}, {0, 2}, {-1, 0}, {0, -1}})
        EXPECT_EQ(errorNumber([&] { bits(x, y) = 1; }), RuntimeError::SubscriptOutOfRange)
            << x << "," << y;
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 12; ++x)
            EXPECT_EQ(bits(x, y), 0);
    dib.ClearUp();
    EXPECT_EQ(errorNumber([&] { (void)dib.Bits()(0, 0); }), RuntimeError::SubscriptOutOfRange);
}

// A negative height once made a top-down buffer whose byte view let rows past
// the end through; the drawing layer now refuses non-positive heights.
TEST(DibSection, NonPositiveHeightsAreRefusedAndTheirViewHasNoElement) {
    FakeGdi gdi;
    cDIBSection dib(gdi);
    for (int h : {-4, 0, -1}) {
        EXPECT_FALSE(dib.Create(4, h)) << h;
        EXPECT_EQ(dib.hdc(), 0u);
        EXPECT_EQ(dib.Height(), h) << "the header keeps what was asked";
        for (auto [x, y] : {std::pair{0, 0}, {0, 4}, {11, 3}})
            EXPECT_EQ(errorNumber([&] { (void)dib.Bits()(x, y); }),
                      RuntimeError::SubscriptOutOfRange);
    }
    EXPECT_EQ(gdi.liveObjects(), 0);
    std::uint8_t buffer[16] = {};
    const vell::ByteView negative(buffer, 4, -4), inverted(buffer, -4, 4);
    EXPECT_EQ(errorNumber([&] { (void)negative(0, 3); }), RuntimeError::SubscriptOutOfRange);
    EXPECT_EQ(errorNumber([&] { (void)inverted(3, 0); }), RuntimeError::SubscriptOutOfRange);
    EXPECT_EQ(errorNumber([&] { (void)negative.row(0); }), RuntimeError::SubscriptOutOfRange);
}

} // namespace
