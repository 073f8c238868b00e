// One rectangle limit for region data on the way out and on the way in:
// whatever Save writes loads again, past the limit Save refuses and says
// which, and the region maker takes rectangles in any order when they sort
// into bands, however many.
#include "graphics/dibsectionregion.h"
#include "graphics/formats/regiondata.h"
#include "graphics/platform/qt/qtgdi.h"
#include "support/testseed.h"

#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>

using vell::cDIBSection;
using vell::cDIBSectionRegion;
using vell::RuntimeError;

namespace {

// A one-pixel checkerboard, the picture whose region has the most
// rectangles for its size: width / 2 in every row.
QImage checkerboard(int width, int height) {
    QImage img(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < width; ++x)
            row[x] = (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
    }
    return img;
}

void makeFrom(cDIBSectionRegion& region, gdi::Gdi& gdi, const QImage& img) {
    vell::StdPicture picture(img, gdi);
    cDIBSection dib(gdi);
    dib.CreateFromPicture(picture);
    region.Create(dib, 0);
}

qint64 fileSize(const QString& path) {
    return QFile(path).size();
}

TEST(RegionLimits, WhatSaveWritesLoadsAndPastTheLimitSaveRefusesNamingIt) {
    gdi::qt::QtGdi gdi; // no call log: millions of runs go into these regions
    QTemporaryDir dir;
    const QString atLimit = dir.filePath("4096x4096.rgn"), past = dir.filePath("4096x4098.rgn");

    // The largest checkerboard a 4096 x 4096 picture holds: just at the limit.
    cDIBSectionRegion made(gdi);
    makeFrom(made, gdi, checkerboard(4096, 4096));
    ASSERT_TRUE(made.Save(atLimit));
    EXPECT_EQ(fileSize(atLimit), 32 + 16 * qint64(4096) * 2048);
    cDIBSectionRegion loaded(gdi);
    EXPECT_TRUE(loaded.LoadFromFile(atLimit)) << "what Save wrote must load";
    ASSERT_NE(loaded.hRgn(), 0u);
    EXPECT_EQ(gdi.GetRegionData(loaded.hRgn(), 0, nullptr),
              gdi.GetRegionData(made.hRgn(), 0, nullptr));
    made.Destroy();
    loaded.Destroy();

    // Two rows more are 4,096 rectangles past it: refused before any file is
    // made, as 26011 with the counts.
    cDIBSectionRegion tooMany(gdi);
    makeFrom(tooMany, gdi, checkerboard(4096, 4098));
    try {
        tooMany.Save(past);
        ADD_FAILURE() << "saved a region that cannot load";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), 26011);
        EXPECT_EQ(e.source(), RuntimeError::programName() + ".cDIBSectionRegion");
        EXPECT_EQ(e.description(),
                  "Region too large to save: 8,392,704 rectangles, region data hold at most "
                  "8,388,608");
    }
    EXPECT_FALSE(QFile::exists(past));
}

// A million cells 2 x 1, shuffled and some cut in two halves that touch: not
// in bands as they stand, but they sort into them, so the maker takes them
// and gives back the cells sorted and whole.
TEST(RegionLimits, MakerTakesAnyOrderOfRectanglesThatSortIntoBands) {
    const testing_support::TestSeed seed;
    std::vector<gdi::RegionRect> cells;
    for (int y = 0; y < 1000; ++y)
        for (int x = 2 * (y % 2); x < 4000; x += 4)
            cells.push_back({x, y, x + 2, y + 1});
    QByteArray sorted(qsizetype(gdi::regionDataSize(cells.size())), '\0');
    gdi::writeRegionData(cells, reinterpret_cast<std::uint8_t*>(sorted.data()));
    std::vector<gdi::RegionRect> shuffled;
    for (const gdi::RegionRect& c : cells) {
        if (shuffled.size() % 10 == 9) {
            shuffled.push_back({c.left, c.top, c.left + 1, c.bottom});
            shuffled.push_back({c.left + 1, c.top, c.right, c.bottom});
        } else {
            shuffled.push_back(c);
        }
    }
    QRandomGenerator rng(seed.value());
    std::shuffle(shuffled.begin(), shuffled.end(), rng);
    QByteArray bytes(qsizetype(gdi::regionDataSize(shuffled.size())), '\0');
    gdi::writeRegionData(shuffled, reinterpret_cast<std::uint8_t*>(bytes.data()));

    gdi::qt::QtGdi gdi;
    const gdi::HRGN h = gdi.ExtCreateRegion(nullptr, std::uint32_t(bytes.size()), bytes.data());
    ASSERT_NE(h, 0u) << "a million disjoint rectangles, out of order, refused";
    QByteArray out(qsizetype(gdi.GetRegionData(h, 0, nullptr)), '\0');
    ASSERT_EQ(gdi.GetRegionData(h, std::uint32_t(out.size()), out.data()), out.size());
    EXPECT_TRUE(out == sorted) << "not the sorted cells";
    gdi.DeleteObject(h);
}

} // namespace
