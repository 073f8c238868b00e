// Region data from resources: the program's own (Qt resources) and those of
// PE modules read as data, built here with mingw-w64's windres and ld or
// written byte by byte, and checked against pefile as an independent reader.
#include "graphics/dibsectionregion.h"
#include "graphics/modulefile.h"
#include "graphics/platform/posix/userlanguage.h"
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
#include <functional>

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

// The language a resource is read in, of those its directory lists, for a
// user whose language is user (0: none): the user's own, else the lowest of
// the same primary language (the low 10 bits), else the neutral one (0), else
// the lowest. Directories are meant to be sorted, but a module need not keep
// to that.
std::uint32_t chosenLanguage(std::vector<std::uint32_t> listed, std::uint32_t user) {
    std::sort(listed.begin(), listed.end());
    for (auto fits : std::initializer_list<std::function<bool(std::uint32_t)>>{
             [&](std::uint32_t id) { return user && id == user; },
             [&](std::uint32_t id) { return user && (id & 0x3FF) == (user & 0x3FF); },
             [&](std::uint32_t id) { return id == 0; }}) {
        const auto it = std::find_if(listed.begin(), listed.end(), fits);
        if (it != listed.end())
            return *it;
    }
    return listed.front();
}

TEST_F(Modules, TheUsersLanguageIsReadElseItsPrimaryElseNeutralElseTheLowest) {
    const TestSeed seed;
    QRandomGenerator rng(seed.value());
    const std::vector<std::uint32_t> pool = {0, 0x400, 0x407, 0x409, 0x40C, 0x411, 0x809, 0xC07};
    const std::vector<std::uint16_t> users = {0, 0x407, 0x409, 0x807, 0x411, 0x416};
    int primaryOnly = 0, notNeutralOrFirst = 0;
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
        const std::uint16_t user = users[size_t(rng.bounded(int(users.size())))];
        const auto entry = module->find(byName ? "skin" : "#101", user);
        ASSERT_TRUE(entry) << "round " << round;
        const auto bytes = module->load(*entry);
        ASSERT_TRUE(bytes);
        QStringList order;
        for (std::uint32_t id : listed)
            order << QString::number(id, 16);
        EXPECT_EQ(bytes->toStdString(),
                  "language " + QByteArray::number(chosenLanguage(listed, user), 16).toStdString())
            << "round " << round << ", user " << std::hex << user
            << ", languages listed: " << order.join(' ').toStdString();
        const std::uint32_t chosen = chosenLanguage(listed, user);
        const bool neutral = std::find(listed.begin(), listed.end(), 0u) != listed.end();
        primaryOnly += chosen != user && chosen != 0 && (chosen & 0x3FF) == (user & 0x3FF);
        notNeutralOrFirst += chosen != (neutral ? 0u : listed.front());
        if (HasFailure())
            return; // one round's report is enough to replay it
    }
    EXPECT_GT(primaryOnly, 5) << "too few rounds take the primary language alone";
    EXPECT_GT(notNeutralOrFirst, 20) << "too few rounds tell the user's language from neutral";
}

// The environment variable set for the scope, and put back after.
struct ScopedEnv {
    QByteArray name, old;
    bool had;
    ScopedEnv(const char* n, const QByteArray& value)
        : name(n), old(qgetenv(n)), had(qEnvironmentVariableIsSet(n)) {
        qputenv(n, value);
    }
    ~ScopedEnv() { had ? qputenv(name, old) : qunsetenv(name); }
};

TEST_F(Modules, AResourceInGermanAndAmericanEnglishIsReadInTheUsersLanguage) {
    const QString windres = "x86_64-w64-mingw32-windres";
    if (QProcess::execute(windres, {"--version"}) != 0)
        GTEST_SKIP() << "mingw-w64 binutils are not installed (tools/install-deps.sh)";
    writeFile(dir.filePath("de.bin"), Rect);
    writeFile(dir.filePath("en.bin"), TwoRects);
    writeFile(dir.filePath("r.rc"), "LANGUAGE 0x09, 0x01\n101 RCDATA \"en.bin\"\n"
                                    "LANGUAGE 0x07, 0x01\n101 RCDATA \"de.bin\"\n");
    QProcess p;
    p.setWorkingDirectory(dir.path());
    p.start(windres, {"--preprocessor=cpp", "-i", "r.rc", "-o", "r.o"});
    ASSERT_TRUE(p.waitForFinished() && p.exitCode() == 0);
    p.start("x86_64-w64-mingw32-ld", {"--dll", "-e", "0", "-o", "r.dll", "r.o"});
    ASSERT_TRUE(p.waitForFinished() && p.exitCode() == 0);
    const QRegion german(2, 3, 10, 5), english = QRegion(0, 0, 1, 1).united(QRegion(8, 1, 1, 1));
    const ScopedEnv all("LC_ALL", ""), messages("LC_MESSAGES", "");
    const std::vector<std::pair<const char*, QRegion>> cases = {{"de_DE.UTF-8", german},
                                                                {"en_US.UTF-8", english},
                                                                {"de_AT", german},
                                                                {"en_GB", english},
                                                                {"C.UTF-8", english},
                                                                {"fr_FR", german}, // the lowest
                                                                {"", german}};
    for (const auto& [lang, expected] : cases) {
        const ScopedEnv env("LANG", lang);
        cDIBSectionRegion region(gdi);
        ASSERT_TRUE(region.LoadFromResource(101, dir.filePath("r.dll"))) << lang;
        EXPECT_EQ(gdi.RegionPixels(region.hRgn()), expected) << "LANG=" << lang;
    }
    const ScopedEnv lang("LANG", "de_DE");
    const ScopedEnv messagesFirst("LC_MESSAGES", "en_US");
    cDIBSectionRegion region(gdi);
    ASSERT_TRUE(region.LoadFromResource(101, dir.filePath("r.dll")));
    EXPECT_EQ(gdi.RegionPixels(region.hRgn()), english) << "LC_MESSAGES before LANG";
    const ScopedEnv allFirst("LC_ALL", "de_CH");
    ASSERT_TRUE(region.LoadFromResource(101, dir.filePath("r.dll")));
    EXPECT_EQ(gdi.RegionPixels(region.hRgn()), german) << "LC_ALL before both";
}

TEST(UserLanguage, LocaleNamesGiveTheirWindowsLanguageIdentifiers) {
    using vell::posix::languageIdOfLocale;
    EXPECT_EQ(languageIdOfLocale("de_DE.UTF-8"), 0x0407);
    EXPECT_EQ(languageIdOfLocale("en_US"), 0x0409);
    EXPECT_EQ(languageIdOfLocale("en_GB.ISO-8859-1@euro"), 0x0809);
    EXPECT_EQ(languageIdOfLocale("de_CH"), 0x0807);
    EXPECT_EQ(languageIdOfLocale("pt_BR"), 0x0416) << "a country with the default sublanguage";
    EXPECT_EQ(languageIdOfLocale("fr"), 0x040C) << "a language alone";
    EXPECT_EQ(languageIdOfLocale("sv_AX"), 0x041D) << "an unlisted country: the default";
    EXPECT_EQ(languageIdOfLocale("POSIX"), 0x0409);
    EXPECT_EQ(languageIdOfLocale("C.UTF-8"), 0x0409);
    EXPECT_EQ(languageIdOfLocale("tlh_QO"), 0);
    EXPECT_EQ(languageIdOfLocale(""), 0);
    // Every language listed gives its primary number under its default
    // sublanguage, and no two listed codes of one language disagree.
    for (const char* code : {"ja", "ko", "zh", "ru", "pl", "nb", "nn", "no", "hr", "sr"}) {
        const std::uint16_t id = languageIdOfLocale(code);
        EXPECT_EQ(id >> 10, 1) << code;
        EXPECT_NE(id & 0x3FF, 0) << code;
    }
    EXPECT_EQ(languageIdOfLocale("nb") & 0x3FF, languageIdOfLocale("nn_NO") & 0x3FF);
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
