// Raw-data resources of another module: a Windows PE image (DLL or EXE, 32- or
// 64-bit) read as data. Nothing of it is mapped or run: the headers, the
// section table and the resource directory are read with bounds-checked reads
// at offsets of a ByteSource (memory here, a file in graphics/modulefile.h),
// and a resource's bytes are copied out.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vell {

// Bytes of a module, read on demand. read() fails, touching nothing, for any
// range not wholly inside.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t size() const = 0;
    virtual bool read(std::uint64_t offset, void* out, std::size_t n) const = 0;
};

class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::uint64_t size() const override { return bytes_.size(); }
    bool read(std::uint64_t offset, void* out, std::size_t n) const override;

private:
    std::span<const std::uint8_t> bytes_;
};

inline constexpr std::uint32_t RT_RCDATA = 10;

// Where a resource's bytes lie, as its data entry says.
struct PeResourceEntry {
    std::uint32_t rva = 0;
    std::uint32_t size = 0;
};

class PeResources {
public:
    // Reads the headers and the section table; nullopt when the bytes are not
    // a PE image (no MZ or PE signature, an unknown optional header, a section
    // table outside the file or of more than 96 sections).
    static std::optional<PeResources> open(const ByteSource& source);

    // The resource of type 10 named name: "#" and decimal digits for a
    // numeric ID, otherwise a name compared without regard to case. Of its
    // languages: userLanguage (a LANGID, 0 for none), else the lowest of the
    // same primary language, else the neutral one (0), else the lowest.
    // nullopt when there is none or the directory on the way is damaged.
    // Exactly three levels are read, so a directory that points back at
    // itself cannot make this loop.
    std::optional<PeResourceEntry> find(const QString& name, std::uint16_t userLanguage = 0) const;

    // Whether the resource's bytes lie wholly in the file.
    bool holds(const PeResourceEntry& entry) const;
    // The resource's bytes; nullopt when they do not lie wholly in the file.
    std::optional<QByteArray> load(const PeResourceEntry& entry) const;

private:
    struct Section {
        std::uint32_t virtualAddress, rawSize, rawOffset;
    };
    explicit PeResources(const ByteSource& source) : source_(&source) {}
    // The file offset of n bytes at rva, all within one section's file data.
    std::optional<std::uint64_t> fileOffset(std::uint64_t rva, std::size_t n) const;
    bool readRva(std::uint64_t rva, void* out, std::size_t n) const;
    // The entry of directory dir (offset in the resource data) matching id, or
    // name when it is not null; its OffsetToData field.
    std::optional<std::uint32_t> lookup(std::uint32_t dir, std::uint32_t id,
                                        const QString* name) const;
    bool nameMatches(std::uint32_t at, const QString& name) const;
    // The OffsetToData of the language directory dir's entry chosen for
    // userLanguage, as find() says.
    std::optional<std::uint32_t> chooseLanguage(std::uint32_t dir,
                                                std::uint16_t userLanguage) const;

    const ByteSource* source_;
    std::vector<Section> sections_;
    std::uint32_t resourceRva_ = 0;
};

} // namespace vell
