// A module file opened as data only: the file stays open (a descriptor, no
// mapping) until the object goes, like a library loaded as a data file, and
// its resources are read from it on demand.
#pragma once

#include "graphics/formats/peresources.h"

#include <QString>

#include <memory>
#include <optional>

namespace vell {

class ModuleFile {
public:
    // nullptr when the file cannot be opened, is not a plain file or is not a
    // PE image; then *why, when given, says which, naming the path.
    static std::unique_ptr<ModuleFile> open(const QString& path, QString* why = nullptr);
    ~ModuleFile();
    ModuleFile(const ModuleFile&) = delete;
    ModuleFile& operator=(const ModuleFile&) = delete;

    const PeResources& resources() const { return *resources_; }

private:
    class FileSource;
    ModuleFile() = default;
    std::unique_ptr<FileSource> file_;
    std::optional<PeResources> resources_;
};

} // namespace vell
