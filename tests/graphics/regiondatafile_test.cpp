// Region data: Save and LoadFromFile through the region class, and the
// region maker's checks of the bytes it is given.
#include "graphics/dibsectionregion.h"
#include "graphics/formats/dibfile.h"
#include "graphics/formats/regiondata.h"
#include "support/errors.h"
#include "support/fakegdi.h"
#include "support/ordinaryuser.h"
#include "support/testseed.h"
#include "support/words.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <algorithm>

#include <sys/file.h>
#include <unistd.h>

using testing_support::errorNumber;
using testing_support::FakeGdi;
using testing_support::TestSeed;
using vell::cDIBSection;
using vell::cDIBSectionRegion;
using vell::RuntimeError;

namespace {

constexpr gdi::HWND WindowA = 0x5001, WindowB = 0x5002;

QByteArray data(std::initializer_list<std::int64_t> words) {
    return testing_support::words32(words);
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// The error f raises, as "number|source|description".
QString raised(const std::function<void()>& f) {
    try {
        f();
    } catch (const RuntimeError& e) {
        return QString("%1|%2|%3").arg(e.number()).arg(e.source(), e.description());
    }
    return "none";
}

QString classSource() {
    return RuntimeError::programName() + ".cDIBSectionRegion";
}

struct Fixture : ::testing::Test {
    FakeGdi gdi;
    QTemporaryDir dir;
    QString path(const char* name) const { return dir.filePath(name); }

    // A region object holding the one rectangle, applied to two windows.
    void makeRect(cDIBSectionRegion& region, int l, int t, int r, int b) {
        QImage img(r, b, QImage::Format_RGB32);
        img.fill(Qt::black);
        for (int y = t; y < b; ++y)
            for (int x = l; x < r; ++x)
                img.setPixel(x, y, qRgb(1, 2, 3));
        vell::StdPicture picture(img, gdi);
        cDIBSection dib(gdi);
        dib.CreateFromPicture(picture);
        region.Create(dib, 0);
        region.setApplied(WindowA, true);
        region.setApplied(WindowB, true);
    }
    // Makes a region straight from bytes, as the class's loads do.
    QRegion pixelsOf(const QByteArray& bytes, bool* made = nullptr) {
        const gdi::HRGN h = gdi.ExtCreateRegion(nullptr, std::uint32_t(bytes.size()), bytes.data());
        if (made)
            *made = h != 0;
        const QRegion r = gdi.RegionPixels(h);
        if (h)
            gdi.DeleteObject(h);
        return r;
    }
};

TEST_F(Fixture, SaveWritesTheExactBlocksAndRaisesWithoutARegion) {
    cDIBSectionRegion region(gdi);
    EXPECT_EQ(raised([&] { region.Save(path("none.rgn")); }),
              "26010|" + classSource() + "|No region to save");
    EXPECT_FALSE(QFile::exists(path("none.rgn")));

    makeRect(region, 2, 3, 12, 8);
    writeFile(path("r.rgn"), QByteArray(1000, 'x')); // longer than what replaces it
    EXPECT_TRUE(region.Save(path("r.rgn")));
    EXPECT_EQ(readFile(path("r.rgn")), data({32, 1, 1, 16, 2, 3, 12, 8, 2, 3, 12, 8}));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1)
        << "no temporary file is left beside it";

    QImage allBlack(5, 5, QImage::Format_RGB32);
    allBlack.fill(Qt::black);
    vell::StdPicture picture(allBlack, gdi);
    cDIBSection dib(gdi);
    dib.CreateFromPicture(picture);
    region.Create(dib, 0);
    EXPECT_TRUE(region.Save(path("empty.rgn")));
    EXPECT_EQ(readFile(path("empty.rgn")), data({32, 1, 0, 0, 0, 0, 0, 0}));
}

TEST_F(Fixture, SaveRaisesWhenTheRegionCannotBeRead) {
    cDIBSectionRegion region(gdi);
    makeRect(region, 0, 0, 4, 4);
    gdi.refuse("GetRegionData", 1);
    EXPECT_EQ(raised([&] { region.Save(path("a.rgn")); }),
              "26011|" + classSource() + "|Unable to determine size of region");
    gdi.refuse("GetRegionData", 2);
    EXPECT_EQ(raised([&] { region.Save(path("a.rgn")); }),
              "26012|" + classSource() + "|Unable to get region data");
    EXPECT_FALSE(QFile::exists(path("a.rgn")));
    EXPECT_EQ(region.AppliedToCount(), 2) << "Save changes nothing";
}

TEST_F(Fixture, TheTickerSkinRegionRoundTripsPixelForPixel) {
    const QImage skin = vell::readBitmapFile(
        readFile(QString(VELL_FORMS_DIR) + "/tallowbar/assets/ticker_skin.bmp"));
    ASSERT_FALSE(skin.isNull());
    vell::StdPicture picture(skin, gdi);
    cDIBSection dib(gdi);
    dib.CreateFromPicture(picture);
    cDIBSectionRegion made(gdi), loaded(gdi);
    made.Create(dib, 0);
    ASSERT_TRUE(made.Save(path("skin.rgn")));
    EXPECT_TRUE(loaded.LoadFromFile(path("skin.rgn")));
    const QRegion a = gdi.RegionPixels(made.hRgn()), b = gdi.RegionPixels(loaded.hRgn());
    EXPECT_FALSE(a.isEmpty());
    EXPECT_TRUE(a.xored(b).isEmpty());
    // Saved again, the same bytes: the written order is stable.
    ASSERT_TRUE(loaded.Save(path("again.rgn")));
    EXPECT_EQ(readFile(path("again.rgn")), readFile(path("skin.rgn")));
}

TEST_F(Fixture, LoadingReplacesTheRegionOnlyOnceTheDataAreRead) {
    cDIBSectionRegion region(gdi);
    makeRect(region, 1, 1, 3, 3);
    const gdi::HRGN before = region.hRgn();

    writeFile(path("zero.rgn"), data({32, 1, 0, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(region.LoadFromFile(path("zero.rgn")));
    EXPECT_NE(region.hRgn(), 0u);
    EXPECT_TRUE(gdi.RegionPixels(region.hRgn()).isEmpty());
    EXPECT_EQ(region.AppliedToCount(), 0) << "windows lose the old shape and leave the list";

    makeRect(region, 1, 1, 3, 3);
    writeFile(path("bad.rgn"), data({33, 1, 0, 0, 0, 0, 0, 0}));
    gdi.clearLog();
    EXPECT_FALSE(region.LoadFromFile(path("bad.rgn")));
    EXPECT_EQ(region.hRgn(), 0u);
    EXPECT_EQ(region.AppliedToCount(), 0);
    EXPECT_EQ(gdi.calls("SetWindowRgn").size(), 2) << "both windows were unshaped";

    // File errors: raised with the class's source, the object untouched.
    makeRect(region, 1, 1, 3, 3);
    const gdi::HRGN kept = region.hRgn();
    writeFile(path("empty.rgn"), {});
    writeFile(path("huge.rgn"), "x");
    ASSERT_TRUE(QFile::resize(path("huge.rgn"), qint64(5) << 30)); // sparse: nothing read
    const std::pair<const char*, QString> cases[] = {
        {"missing.rgn", "53|" + classSource() + "|File not found"},
        {"no/such/folder.rgn", "76|" + classSource() + "|Path not found"},
        {"empty.rgn", "9|" + classSource() + "|File is empty (0 bytes): no region data"},
        {"huge.rgn", "7|" + classSource() +
                         "|File too large for region data: 5,368,709,120 bytes, at most "
                         "134,217,760 (8,388,608 rectangles)"},
        {".", "75|" + classSource() + "|Path/File access error"},
    };
    for (const auto& [name, expected] : cases) {
        EXPECT_EQ(raised([&] { region.LoadFromFile(path(name)); }), expected) << name;
        EXPECT_EQ(region.hRgn(), kept) << name;
        EXPECT_EQ(region.AppliedToCount(), 2) << name;
    }
    (void)before;
}

TEST_F(Fixture, FilesHeldOrUnwritableAreRefusedAndTheOldFileKept) {
    cDIBSectionRegion region(gdi);
    makeRect(region, 0, 0, 2, 2);
    ASSERT_TRUE(region.Save(path("held.rgn")));
    const QByteArray saved = readFile(path("held.rgn"));

    // Another process holding the file under an exclusive advisory lock.
    QFile other(path("held.rgn"));
    ASSERT_TRUE(other.open(QIODevice::ReadOnly));
    ASSERT_EQ(::flock(other.handle(), LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(errorNumber([&] { region.LoadFromFile(path("held.rgn")); }), 70);
    EXPECT_EQ(region.AppliedToCount(), 2);
    other.close();
    EXPECT_TRUE(region.LoadFromFile(path("held.rgn")));

    VELL_RUN_AS_ORDINARY_USER();
    makeRect(region, 0, 0, 3, 3);
    QFile::setPermissions(path("held.rgn"), QFile::ReadOwner);
    EXPECT_EQ(errorNumber([&] { region.Save(path("held.rgn")); }), 75);
    QFile::setPermissions(path("held.rgn"), QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(readFile(path("held.rgn")), saved) << "a refused save keeps the old data";
    QFile::setPermissions(path("held.rgn"), QFile::WriteOwner);
    EXPECT_EQ(errorNumber([&] { region.LoadFromFile(path("held.rgn")); }), 75);
}

TEST(RegionMaker, RefusesBadHeadersAndCountsThatCannotFit) {
    FakeGdi gdi;
    auto made = [&](const QByteArray& b) {
        const gdi::HRGN h = gdi.ExtCreateRegion(nullptr, std::uint32_t(b.size()), b.data());
        if (h)
            gdi.DeleteObject(h);
        return h != 0;
    };
    const QByteArray rect = data({2, 3, 12, 8});
    EXPECT_TRUE(made(data({32, 1, 1, 16, 2, 3, 12, 8}) + rect));
    EXPECT_FALSE(made(data({33, 1, 1, 16, 2, 3, 12, 8}) + rect)) << "dwSize";
    EXPECT_FALSE(made(data({32, 2, 1, 16, 2, 3, 12, 8}) + rect)) << "iType";
    EXPECT_FALSE(made(data({32, 1, 2, 32, 2, 3, 12, 8}) + rect)) << "one rectangle short";
    EXPECT_FALSE(made(data({32, 1, 1, 16, 2, 3, 12, 8}) + rect.left(15))) << "cut short";
    EXPECT_FALSE(made(data({32, 1, 1, 16})));
    EXPECT_FALSE(made({}));
    // 32 + 16 x nCount wraps to a small number in 32 bits for these counts.
    for (std::int64_t count : {0xFFFFFFFFll, 0xFFFFFFFEll, 0x10000000ll, 0x10000001ll})
        EXPECT_FALSE(made(data({32, 1, count, 0, 0, 0, 0, 0}) + rect)) << count;
    EXPECT_FALSE(made(data({32, 1, 1, 16, 0, 0, 0, 0, -(1ll << 28), 0, 1, 1})))
        << "coordinates past 28 bits";
    const QByteArray ok = data({32, 1, 1, 16, 0, 0, 0, 0}) + rect;
    EXPECT_EQ(gdi.ExtCreateRegion(&ok, std::uint32_t(ok.size()), ok.data()), 0u)
        << "no transformation is supported";
    EXPECT_EQ(gdi.real.liveObjects(), 0);
}

TEST_F(Fixture, MakerReadsWhatSaveWritesAndAnyOtherOrderAsTheUnion) {
    bool made = false;
    // nRgnSize and rcBound are not looked at, trailing bytes are ignored,
    // empty and inverted rectangles add nothing.
    EXPECT_EQ(pixelsOf(data({32, 1, 3, 999, 0, 0, 1, 1, 2, 3, 12, 8, 5, 5, 5, 9, 9, 9, 1, 1}) +
                           QByteArray(7, 'z'),
                       &made),
              QRegion(2, 3, 10, 5));
    EXPECT_TRUE(made);
    // Not banded: overlapping and out of order, still the union.
    const QRegion crossing =
        pixelsOf(data({32, 1, 3, 48, 0, 0, 0, 0, 0, 4, 10, 6, 4, 0, 6, 10, 5, 5, 7, 7}));
    EXPECT_EQ(crossing,
              QRegion(0, 4, 10, 2).united(QRegion(4, 0, 2, 10)).united(QRegion(5, 5, 2, 2)));
    // Sorted and apart but not in bands, and touching side by side.
    EXPECT_EQ(
        pixelsOf(data({32, 1, 3, 48, 0, 0, 0, 0, 0, 0, 10, 10, 20, 5, 30, 15, 30, 5, 31, 15})),
        QRegion(0, 0, 10, 10).united(QRegion(20, 5, 11, 10)));
    // Far from the origin, within the 28-bit range.
    const std::int64_t far = (1 << 27) - 10;
    EXPECT_EQ(
        pixelsOf(data({32, 1, 1, 16, 0, 0, 0, 0, -far, -far, far, far}), &made).boundingRect(),
        QRect(QPoint(int(-far), int(-far)), QPoint(int(far) - 1, int(far) - 1)));

    // What comes back out is sorted, apart and banded.
    const QByteArray bytes = data({32, 1, 2, 32, 0, 0, 0, 0, 0, 0, 4, 4, 2, 2, 6, 6});
    const gdi::HRGN h = gdi.ExtCreateRegion(nullptr, std::uint32_t(bytes.size()), bytes.data());
    const std::uint32_t size = gdi.GetRegionData(h, 0, nullptr);
    QByteArray out(qsizetype(size), '\0');
    EXPECT_EQ(gdi.GetRegionData(h, size - 1, out.data()), 0u) << "too small a buffer";
    ASSERT_EQ(gdi.GetRegionData(h, size, out.data()), size);
    std::vector<gdi::RegionRect> rects;
    ASSERT_TRUE(
        gdi::readRegionData({reinterpret_cast<const std::uint8_t*>(out.data()), size}, rects));
    EXPECT_TRUE(gdi::isBanded(rects));
    EXPECT_EQ(out.mid(16, 16), data({0, 0, 6, 6})) << "bounding box";
    EXPECT_EQ(pixelsOf(out), QRegion(0, 0, 4, 4).united(QRegion(2, 2, 4, 4)));
    gdi.DeleteObject(h);
}

// Rectangles of one band that touch side by side are not banded: taken as
// they stand they would come back out as two where one belongs. Banded lists
// from Qt, some with rectangles cut in two, some shuffled: whatever the order,
// the maker gives the union, and what comes back out is sorted, apart and
// banded (checked here, not with the reader's own test for it).
TEST_F(Fixture, MakerGivesTheUnionAndWritesBandsApartForCutAndShuffledBands) {
    const TestSeed seed;
    QRandomGenerator rng(seed.value());
    int touching = 0;
    for (int round = 0; round < 300; ++round) {
        QRegion want;
        for (int i = rng.bounded(1, 8); i > 0; --i)
            want ^= QRegion(rng.bounded(12), rng.bounded(12), rng.bounded(1, 8), rng.bounded(1, 8));
        std::vector<gdi::RegionRect> in;
        bool cut = false;
        for (const QRect& r : want) {
            const gdi::RegionRect x{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
            if (x.right - x.left > 1 && rng.bounded(3) == 0) {
                const int at = rng.bounded(x.left + 1, x.right);
                in.push_back({x.left, x.top, at, x.bottom});
                in.push_back({at, x.top, x.right, x.bottom});
                cut = true;
            } else {
                in.push_back(x);
            }
        }
        if (round % 4 == 3)
            std::shuffle(in.begin(), in.end(), rng);
        touching += cut;
        QByteArray bytes(qsizetype(gdi::regionDataSize(in.size())), '\0');
        gdi::writeRegionData(in, reinterpret_cast<std::uint8_t*>(bytes.data()));

        const gdi::HRGN h = gdi.ExtCreateRegion(nullptr, std::uint32_t(bytes.size()), bytes.data());
        ASSERT_NE(h, 0u) << "round " << round;
        EXPECT_TRUE(gdi.RegionPixels(h).xored(want).isEmpty()) << "round " << round;
        QByteArray out(qsizetype(gdi.GetRegionData(h, 0, nullptr)), '\0');
        ASSERT_EQ(gdi.GetRegionData(h, std::uint32_t(out.size()), out.data()), out.size());
        gdi.DeleteObject(h);
        std::vector<gdi::RegionRect> rects;
        ASSERT_TRUE(gdi::readRegionData(
            {reinterpret_cast<const std::uint8_t*>(out.constData()), size_t(out.size())}, rects));
        for (size_t i = 1; i < rects.size(); ++i) {
            const gdi::RegionRect &a = rects[i - 1], &b = rects[i];
            if (a.top == b.top) {
                EXPECT_EQ(a.bottom, b.bottom) << "round " << round << ", rectangle " << i;
                EXPECT_LT(a.right, b.left)
                    << "apart, not touching: round " << round << ", rectangle " << i;
            } else {
                EXPECT_LE(a.bottom, b.top) << "round " << round << ", rectangle " << i;
            }
        }
        if (HasFailure())
            return; // one round's report is enough to replay it
    }
    EXPECT_GT(touching, 30) << "too few rounds cut a rectangle in two";
    EXPECT_EQ(gdi.real.liveObjects(), 0);
}

} // namespace
