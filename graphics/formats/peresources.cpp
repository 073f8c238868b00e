#include "graphics/formats/peresources.h"

#include "graphics/formats/littleendian.h"

#include <cstring>

namespace vell {
namespace {

using le::get16;
using le::get32;

constexpr std::uint32_t HighBit = 0x80000000u;
constexpr int MaxSections = 96; // the most a loader accepts
constexpr std::size_t DirectoryHeader = 16;
constexpr std::size_t DirectoryEntry = 8;
constexpr std::size_t SectionHeader = 40;

// "#" and 1 to 5 decimal digits worth at most 65535: a numeric ID.
std::optional<std::uint32_t> numericId(const QString& name) {
    if (name.size() < 2 || name.size() > 6 || name[0] != '#')
        return std::nullopt;
    std::uint32_t id = 0;
    for (qsizetype i = 1; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9')
            return std::nullopt;
        id = id * 10 + std::uint32_t(name[i].unicode() - '0');
    }
    return id <= 0xFFFF ? std::optional(id) : std::nullopt;
}

} // namespace

bool MemorySource::read(std::uint64_t offset, void* out, std::size_t n) const {
    if (offset > bytes_.size() || n > bytes_.size() - offset)
        return false;
    if (n)
        std::memcpy(out, bytes_.data() + offset, n);
    return true;
}

std::optional<PeResources> PeResources::open(const ByteSource& source) {
    std::uint8_t dos[64];
    if (!source.read(0, dos, sizeof dos) || dos[0] != 'M' || dos[1] != 'Z')
        return std::nullopt;
    const std::uint64_t pe = get32(dos + 0x3C);
    std::uint8_t head[24 + 2];
    if (!source.read(pe, head, sizeof head) || std::memcmp(head, "PE\0\0", 4) != 0)
        return std::nullopt;
    const int sectionCount = get16(head + 6);
    const std::uint16_t optionalSize = get16(head + 20);
    const std::uint16_t magic = get16(head + 24);
    // Where NumberOfRvaAndSizes and the data directories sit.
    std::uint32_t countAt;
    if (magic == 0x10b)
        countAt = 92;
    else if (magic == 0x20b)
        countAt = 108;
    else
        return std::nullopt;
    if (sectionCount > MaxSections)
        return std::nullopt;

    PeResources r(source);
    const std::uint64_t optional = pe + 24;
    std::vector<std::uint8_t> table(SectionHeader * std::size_t(sectionCount));
    if (!source.read(optional + optionalSize, table.data(), table.size()))
        return std::nullopt;
    for (int i = 0; i < sectionCount; ++i) {
        const std::uint8_t* s = table.data() + SectionHeader * std::size_t(i);
        r.sections_.push_back({get32(s + 12), get32(s + 16), get32(s + 20)});
    }
    // The resource directory is data directory 2; a module without one simply
    // has no resources.
    std::uint8_t count[4], dir[8];
    const std::uint32_t dirAt = countAt + 4 + 2 * 8;
    if (optionalSize >= dirAt + 8 && source.read(optional + countAt, count, 4) &&
        get32(count) > 2 && source.read(optional + dirAt, dir, 8) && get32(dir + 4) != 0)
        r.resourceRva_ = get32(dir);
    return r;
}

std::optional<std::uint64_t> PeResources::fileOffset(std::uint64_t rva, std::size_t n) const {
    for (const Section& s : sections_) {
        if (rva < s.virtualAddress)
            continue;
        const std::uint64_t into = rva - s.virtualAddress;
        if (into >= s.rawSize)
            continue;
        const std::uint64_t at = std::uint64_t(s.rawOffset) + into;
        // The whole run within the section's bytes, and those within the file.
        if (n > s.rawSize - into || at > source_->size() || n > source_->size() - at)
            return std::nullopt;
        return at;
    }
    return std::nullopt;
}

bool PeResources::readRva(std::uint64_t rva, void* out, std::size_t n) const {
    const auto at = fileOffset(rva, n);
    return at && source_->read(*at, out, n);
}

bool PeResources::nameMatches(std::uint32_t at, const QString& name) const {
    std::uint8_t length[2];
    if (!readRva(std::uint64_t(resourceRva_) + at, length, 2) || get16(length) != name.size())
        return false;
    std::vector<std::uint8_t> units(2 * std::size_t(name.size()));
    if (!readRva(std::uint64_t(resourceRva_) + at + 2, units.data(), units.size()))
        return false;
    QString stored(name.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < name.size(); ++i)
        stored[i] = QChar(get16(units.data() + 2 * i));
    return stored.compare(name, Qt::CaseInsensitive) == 0;
}

std::optional<std::uint32_t> PeResources::lookup(std::uint32_t dir, std::uint32_t id,
                                                 const QString* name) const {
    const std::uint64_t base = std::uint64_t(resourceRva_) + dir;
    std::uint8_t header[DirectoryHeader];
    if (!readRva(base, header, sizeof header))
        return std::nullopt;
    const std::size_t named = get16(header + 12), ids = get16(header + 14);
    std::vector<std::uint8_t> entries(DirectoryEntry * (named + ids));
    if (!readRva(base + DirectoryHeader, entries.data(), entries.size()))
        return std::nullopt;
    // Named entries come first, then the numbered ones.
    const std::size_t from = name ? 0 : named, to = name ? named : named + ids;
    for (std::size_t i = from; i < to; ++i) {
        const std::uint8_t* e = entries.data() + DirectoryEntry * i;
        const std::uint32_t key = get32(e);
        const bool match = name ? (key & HighBit) && nameMatches(key & ~HighBit, *name)
                                : !(key & HighBit) && key == id;
        if (match)
            return get32(e + 4);
    }
    return std::nullopt;
}

std::optional<std::uint32_t> PeResources::chooseLanguage(std::uint32_t dir,
                                                         std::uint16_t userLanguage) const {
    const std::uint64_t base = std::uint64_t(resourceRva_) + dir;
    std::uint8_t header[DirectoryHeader];
    if (!readRva(base, header, sizeof header))
        return std::nullopt;
    const std::size_t named = get16(header + 12), ids = get16(header + 14);
    std::vector<std::uint8_t> entries(DirectoryEntry * (named + ids));
    if (!readRva(base + DirectoryHeader, entries.data(), entries.size()))
        return std::nullopt;
    // Ranks: the user's own language, the same primary language, neutral,
    // any; the lowest identifier within a rank. Named entries are no
    // languages.
    constexpr std::uint16_t PrimaryMask = 0x3FF;
    auto rank = [&](std::uint32_t id) {
        if (userLanguage && id == userLanguage)
            return 0;
        if (userLanguage && (id & PrimaryMask) == (userLanguage & PrimaryMask))
            return 1;
        return id == 0 ? 2 : 3;
    };
    std::optional<std::uint32_t> chosen;
    std::uint32_t chosenId = 0;
    for (std::size_t i = named; i < named + ids; ++i) {
        const std::uint8_t* e = entries.data() + DirectoryEntry * i;
        const std::uint32_t id = get32(e);
        if (id & HighBit)
            continue;
        if (!chosen || rank(id) < rank(chosenId) || (rank(id) == rank(chosenId) && id < chosenId)) {
            chosen = get32(e + 4);
            chosenId = id;
        }
    }
    return chosen;
}

std::optional<PeResourceEntry> PeResources::find(const QString& name,
                                                 std::uint16_t userLanguage) const {
    if (resourceRva_ == 0)
        return std::nullopt;
    const auto type = lookup(0, RT_RCDATA, nullptr);
    if (!type || !(*type & HighBit))
        return std::nullopt;
    const auto id = numericId(name);
    const auto item = lookup(*type & ~HighBit, id.value_or(0), id ? nullptr : &name);
    if (!item || !(*item & HighBit))
        return std::nullopt;
    const auto leaf = chooseLanguage(*item & ~HighBit, userLanguage);
    if (!leaf)
        return std::nullopt;
    if (*leaf & HighBit)
        return std::nullopt; // a fourth level: not a resource tree
    std::uint8_t data[8];
    if (!readRva(std::uint64_t(resourceRva_) + *leaf, data, sizeof data))
        return std::nullopt;
    return PeResourceEntry{get32(data), get32(data + 4)};
}

bool PeResources::holds(const PeResourceEntry& entry) const {
    return fileOffset(entry.rva, entry.size).has_value();
}

std::optional<QByteArray> PeResources::load(const PeResourceEntry& entry) const {
    if (!holds(entry))
        return std::nullopt; // allocate nothing for what is not there
    QByteArray bytes(qsizetype(entry.size), Qt::Uninitialized);
    if (!readRva(entry.rva, bytes.data(), std::size_t(bytes.size())))
        return std::nullopt;
    return bytes;
}

} // namespace vell
