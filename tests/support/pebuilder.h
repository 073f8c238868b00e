// Small PE files written byte by byte: a 64-bit (or 32-bit) image with one
// .rsrc section holding a type-10 resource tree, for tests that damage the
// tree on purpose. Offsets of the tree's parts are given so tests can patch.
#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <vector>

namespace testing_support {

struct PeLanguage {
    std::uint32_t id; // 0 is the neutral language
    QByteArray data;
};

struct PeItem {
    QVariant key; // an int ID or a QString name
    QByteArray data;
    // The item's languages in directory order; none: data in language 0x409.
    std::vector<PeLanguage> languages = {};
};

struct BuiltPe {
    QByteArray file;
    // File offsets.
    qsizetype rsrc = 0;        // start of the resource section's data
    qsizetype rootEntry = 0;   // the root directory's one entry (type 10)
    qsizetype itemEntries = 0; // the name level's entries, 8 bytes each
    qsizetype dataEntries = 0; // the data entries, 16 bytes each, in item then language order
    qsizetype sectionHeader = 0;
    std::uint32_t rsrcRva = 0x1000;
};

BuiltPe buildPe(const std::vector<PeItem>& items, bool pe32plus = true);

void put32(QByteArray& b, qsizetype at, std::uint32_t v);

} // namespace testing_support
