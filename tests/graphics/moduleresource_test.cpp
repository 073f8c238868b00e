// Region data from resources: the program's own (Qt resources) and those of
// PE modules read as data, built here with mingw-w64's windres and ld or
// written byte by byte, and checked against pefile as an independent reader.
#include "graphics/dibsectionregion.h"
#include "graphics/modulefile.h"
#include "support/errors.h"
#include "support/fakegdi.h"
#include "support/pebuilder.h"
#include "support/testseed.h"
#include "support/words.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <algorithm>

using testing_support::buildPe;
using testing_support::FakeGdi;
using testing_support::PeItem;
using testing_support::PeLanguage;
using testing_support::put32;
using testing_support::TestSeed;
using vell::cDIBSectionRegion;
using vell::RuntimeError;

namespace {

QByteArray data(std::initializer_list<std::int64_t> words) {
    return testing_support::words32(words);
}

const QByteArray Rect = data({32, 1, 1, 16, 2, 3, 12, 8, 2, 3, 12, 8});
const QByteArray TwoRects = data({32, 1, 2, 32, 0, 0, 9, 2, 0, 0, 1, 1, 8, 1, 9, 2});

std::string raised(const std::function<void()>& f) {
    try {
        f();
    } catch (const RuntimeError& e) {
        return QString("%1|%2").arg(e.number()).arg(e.description()).toStdString();
    }
    return "none";
}

int openDescriptors() {
    return int(QDir("/proc/self/fd").entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size());
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

struct Modules : ::testing::Test {
    FakeGdi gdi;
    QTemporaryDir dir;

    // A resource-only DLL made by the mingw-w64 tools; empty when they are
    // not installed.
    QString mingwDll(const QString& arch) {
        const QString windres = arch + "-w64-mingw32-windres", ld = arch + "-w64-mingw32-ld";
        if (QProcess::execute(windres, {"--version"}) != 0)
            return {};
        writeFile(dir.filePath("rect.bin"), Rect);
        writeFile(dir.filePath("two.bin"), TwoRects);
        writeFile(dir.filePath("bad.bin"), data({33, 1, 0, 0, 0, 0, 0, 0}));
        writeFile(dir.filePath("r.rc"), "101 RCDATA \"rect.bin\"\n"
                                        "Skin RCDATA \"two.bin\"\n"
                                        "7 RCDATA \"bad.bin\"\n");
        const QString object = dir.filePath(arch + ".o"), dll = dir.filePath(arch + ".dll");
        QProcess p;
        p.setWorkingDirectory(dir.path());
        p.start(windres, {"--preprocessor=cpp", "-i", "r.rc", "-o", object});
        if (!p.waitForFinished() || p.exitCode() != 0)
            return {};
        p.start(ld, {"--dll", "-e", "0", "-o", dll, object});
        if (!p.waitForFinished() || p.exitCode() != 0)
            return {};
        return dll;
    }
};

TEST_F(Modules, MingwDllsOfBothWidthsGiveTheirRegionsByNumberTextAndName) {
    for (const QString arch : {"x86_64", "i686"}) {
        const QString dll = mingwDll(arch);
        if (dll.isEmpty())
            GTEST_SKIP() << "mingw-w64 binutils are not installed (tools/install-deps.sh)";
        cDIBSectionRegion region(gdi);
        EXPECT_TRUE(region.LoadFromResource(101, dll)) << arch.toStdString();
        EXPECT_EQ(gdi.RegionPixels(region.hRgn()), QRegion(2, 3, 10, 5));
        EXPECT_TRUE(region.LoadFromResource(QString("101"), dll));
        EXPECT_EQ(gdi.RegionPixels(region.hRgn()), QRegion(2, 3, 10, 5));
        EXPECT_TRUE(region.LoadFromResource(QString("Skin"), dll));
        EXPECT_EQ(gdi.RegionPixels(region.hRgn()), QRegion(0, 0, 1, 1).united(QRegion(8, 1, 1, 1)));
        region.setApplied(0x77, true);
        EXPECT_FALSE(region.LoadFromResource(7, dll)) << "data the maker refuses";
        EXPECT_EQ(region.hRgn(), 0u);
        EXPECT_EQ(region.AppliedToCount(), 0);

        const int fds = openDescriptors();
        EXPECT_EQ(raised([&] { region.LoadFromResource(999, dll); }),
                  "26014|Resource with ID 999 could not be found");
        EXPECT_EQ(raised([&] { region.LoadFromResource(QString("0101x"), dll); }),
                  "26014|Resource with ID 0101x could not be found");
        EXPECT_EQ(openDescriptors(), fds) << "the module is closed again";
    }
}

TEST_F(Modules, OurReaderAgreesWithPefile) {
    for (const QString arch : {"x86_64", "i686"}) {
        const QString dll = mingwDll(arch);
        if (dll.isEmpty() || QProcess::execute("/usr/bin/python3", {"-c", "import pefile"}) != 0)
            GTEST_SKIP() << "mingw-w64 binutils or python3-pefile missing";
        // pefile lists every type-10 resource as key and hex bytes.
        QProcess p;
        p.start("/usr/bin/python3", {"-c",
                                     "import pefile,sys\n"
                                     "pe=pefile.PE(sys.argv[1])\n"
                                     "for t in pe.DIRECTORY_ENTRY_RESOURCE.entries:\n"
                                     "  if t.id!=10: continue\n"
                                     "  for e in t.directory.entries:\n"
                                     "    d=e.directory.entries[0].data.struct\n"
                                     "    k=str(e.name) if e.name else '#%d'%e.id\n"
                                     "    print(k, pe.get_data(d.OffsetToData,d.Size).hex())\n",
                                     dll});
        ASSERT_TRUE(p.waitForFinished());
        const QStringList lines =
            QString(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), 3);
        auto module = vell::ModuleFile::open(dll);
        ASSERT_TRUE(module);
        for (const QString& line : lines) {
            const QStringList parts = line.split(' ');
            const auto entry = module->resources().find(parts[0]);
            ASSERT_TRUE(entry) << line.toStdString();
            EXPECT_EQ(module->resources().load(*entry)->toHex(), parts[1].toLatin1());
        }
    }
}

TEST_F(Modules, FilesThatAreNotModulesGive26013AndChangeNothing) {
    cDIBSectionRegion region(gdi);
    ASSERT_TRUE(writeFile(dir.filePath("r.rgn"), Rect));
    ASSERT_TRUE(region.LoadFromFile(dir.filePath("r.rgn")));
    region.setApplied(0x77, true);
    const gdi::HRGN kept = region.hRgn();
    writeFile(dir.filePath("text.dll"),
              "just some text, long enough to have a header or so...."
              "..........................................................");
    QByteArray noPe = buildPe({{101, Rect}}).file;
    noPe[0x41] = 'X';
    writeFile(dir.filePath("nope.dll"), noPe);
    QByteArray manySections = buildPe({{101, Rect}}).file;
    manySections[0x46] = char(97);
    writeFile(dir.filePath("many.dll"), manySections);
    writeFile(dir.filePath("empty.dll"), {});
    const int fds = openDescriptors();
    ASSERT_TRUE(QFile::link("/dev/zero", dir.filePath("zero.dll")));
    // The number stays; the description says which way the open failed.
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"missing.dll", "no file %1"},
        {"gone/x.dll", "no folder for %1"},
        {"text.dll", "%1 is not a PE module"},
        {"nope.dll", "%1 is not a PE module"},
        {"many.dll", "%1 is not a PE module"},
        {"empty.dll", "%1 is not a PE module"},
        {".", "%1 is a folder"},
        {"zero.dll", "%1 is not a plain file"}};
    for (const auto& [name, why] : cases) {
        const QString path = dir.filePath(name);
        EXPECT_EQ(raised([&] { region.LoadFromResource(101, path); }),
                  "26013|Can't open DLL for Resource Access: " +
                      QString(why).arg(path).toStdString())
            << name;
        EXPECT_EQ(region.hRgn(), kept);
        EXPECT_EQ(region.AppliedToCount(), 1);
    }
    EXPECT_EQ(openDescriptors(), fds);
}

TEST_F(Modules, DamagedResourceTreesNeitherLoopNorReadOutside) {
    const std::vector<PeItem> items = {{101, Rect}, {QString("ABC"), TwoRects}};
    auto load = [&](const QByteArray& file, const QVariant& id) {
        writeFile(dir.filePath("m.dll"), file);
        cDIBSectionRegion region(gdi);
        return raised([&] { region.LoadFromResource(id, dir.filePath("m.dll")); });
    };
    const auto good = buildPe(items);
    EXPECT_EQ(load(good.file, 101), "none");
    EXPECT_EQ(load(good.file, QString("abc")), "none") << "an odd-length name, any case";
    EXPECT_EQ(load(buildPe(items, false).file, QString("#101")), "none") << "32-bit";

    QByteArray cycle = good.file; // the type entry points back at the root
    put32(cycle, good.rootEntry + 4, 0x80000000u);
    EXPECT_EQ(load(cycle, 10), "26014|Resource with ID 10 could not be found");
    QByteArray selfItem = good.file; // an item that is its own directory
    put32(selfItem, good.itemEntries + 8 + 4, 0x80000000u | 24);
    EXPECT_EQ(load(selfItem, 101), "26014|Resource with ID 101 could not be found");
    QByteArray outside = good.file; // a directory offset far past the section
    put32(outside, good.rootEntry + 4, 0x8FFFFFF0u);
    EXPECT_EQ(load(outside, 101), "26014|Resource with ID 101 could not be found");
    QByteArray longName = good.file; // a name longer than the section holds
    const quint32 nameAt = qFromLittleEndian<quint32>(good.file.constData() + good.itemEntries);
    put32(longName, good.rsrc + (nameAt & 0x7FFFFFFF), 0xFFFF);
    EXPECT_EQ(load(longName, QString("ABC")), "26014|Resource with ID ABC could not be found");
    QByteArray rawOutside = good.file; // the section's bytes said to lie past the file
    put32(rawOutside, good.sectionHeader + 20, 0x7FFFFF00u);
    EXPECT_EQ(load(rawOutside, 101), "26014|Resource with ID 101 could not be found");

    // Data entries: ABC's first (names come first), then 101's.
    const qsizetype rect = good.dataEntries + 16;
    QByteArray dataOutside = good.file;
    put32(dataOutside, rect, 0x00F00000u);
    EXPECT_EQ(load(dataOutside, 101), "26014|Cannot access data for resource with ID 101");
    QByteArray tooLong = good.file;
    put32(tooLong, rect + 4, 0xFFFFFFF0u);
    EXPECT_EQ(load(tooLong, 101), "26014|Cannot access data for resource with ID 101");
    QByteArray empty = good.file;
    put32(empty, rect + 4, 0);
    EXPECT_EQ(load(empty, 101), "9|Subscript out of range");
    // Files cut short: in the data, in the directory.
    EXPECT_EQ(load(good.file.left(good.file.size() - 300), 101),
              "26014|Cannot access data for resource with ID 101");
    EXPECT_EQ(load(good.file.left(good.rsrc + 30), 101),
              "26014|Resource with ID 101 could not be found");
}

// The language a resource is read in, of those its directory lists in order:
// the neutral one (0), else the first listed. Directories are meant to be
// sorted, so the first is the lowest, but a module need not keep to that.
std::uint32_t chosenLanguage(const std::vector<std::uint32_t>& listed) {
    return std::find(listed.begin(), listed.end(), 0u) != listed.end() ? 0u : listed.front();
}

TEST_F(Modules, ALanguageOfItsOwnIsReadNeutralFirstElseTheFirstListed) {
    const TestSeed seed;
    QRandomGenerator rng(seed.value());
    const std::vector<std::uint32_t> pool = {0, 0x400, 0x407, 0x409, 0x40C, 0x411, 0x809};
    int neutralNotFirst = 0;
    for (int round = 0; round < 200; ++round) {
        std::vector<std::uint32_t> listed = pool;
        std::shuffle(listed.begin(), listed.end(), rng);
        listed.resize(size_t(rng.bounded(1, int(pool.size()) + 1)));
        if (round % 2 == 0) // and sorted, as tools write them
            std::sort(listed.begin(), listed.end());
        std::vector<PeLanguage> languages;
        for (std::uint32_t id : listed)
            languages.push_back({id, "language " + QByteArray::number(id, 16)});
        const bool byName = rng.bounded(2) == 1;
        const QVariant key = byName ? QVariant(QString("Skin")) : QVariant(101);
        // Neighbours in other languages that must not be taken instead.
        const auto pe = buildPe({{7, {}, {{0, "other"}}},
                                 {key, {}, languages},
                                 {QString("Zz"), {}, {{0x409, "other"}}}},
                                rng.bounded(2) == 1);
        const auto file = std::span(reinterpret_cast<const std::uint8_t*>(pe.file.constData()),
                                    size_t(pe.file.size()));
        const vell::MemorySource source(file);
        const auto module = vell::PeResources::open(source);
        ASSERT_TRUE(module);
        const auto entry = module->find(byName ? "skin" : "#101");
        ASSERT_TRUE(entry) << "round " << round;
        const auto bytes = module->load(*entry);
        ASSERT_TRUE(bytes);
        QStringList order;
        for (std::uint32_t id : listed)
            order << QString::number(id, 16);
        EXPECT_EQ(bytes->toStdString(),
                  "language " + QByteArray::number(chosenLanguage(listed), 16).toStdString())
            << "round " << round << ", languages listed: " << order.join(' ').toStdString();
        neutralNotFirst += listed.front() != 0 && chosenLanguage(listed) == 0;
        if (HasFailure())
            return; // one round's report is enough to replay it
    }
    EXPECT_GT(neutralNotFirst, 10) << "too few rounds tell neutral from first";
}

TEST(OwnResources, NumberOrTextFindsTheSameQtResourceAndAMissingOneRaises) {
    FakeGdi gdi;
    cDIBSectionRegion region(gdi);
    EXPECT_TRUE(region.LoadFromResource(4242));
    EXPECT_EQ(gdi.RegionPixels(region.hRgn()), QRegion(2, 3, 10, 5));
    EXPECT_TRUE(region.LoadFromResource(QString("4242")));
    EXPECT_TRUE(region.LoadFromResource(QString("TestShape")));
    EXPECT_EQ(gdi.RegionPixels(region.hRgn()), QRegion(2, 3, 10, 5));
    region.setApplied(0x77, true);
    const gdi::HRGN kept = region.hRgn();
    EXPECT_EQ(raised([&] { region.LoadFromResource(4243); }),
              "326|Resource with identifier '4243' not found");
    EXPECT_EQ(raised([&] { region.LoadFromResource(QString("Empty")); }),
              "9|Subscript out of range");
    EXPECT_EQ(region.hRgn(), kept);
    EXPECT_EQ(region.AppliedToCount(), 1);
}

} // namespace
