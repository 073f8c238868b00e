#include "graphics/modulefile.h"

#include "graphics/platform/posix/files.h"

namespace vell {

class ModuleFile::FileSource final : public ByteSource {
public:
    FileSource(posix::FileDescriptor file, std::uint64_t size)
        : file_(std::move(file)), size_(size) {}
    std::uint64_t size() const override { return size_; }
    bool read(std::uint64_t offset, void* out, std::size_t n) const override {
        if (offset > size_ || n > size_ - offset)
            return false;
        // An error, or the file shrank: nothing to read either way.
        return posix::readAt(file_, offset, out, n) == posix::ReadResult::Done;
    }

private:
    posix::FileDescriptor file_;
    std::uint64_t size_;
};

std::unique_ptr<ModuleFile> ModuleFile::open(const QString& path) {
    const auto native = posix::nativePath(path);
    if (!native)
        return nullptr;
    // Only plain files pass; a FIFO or device cannot hold the open up.
    posix::FileDescriptor file = posix::openForReading(*native);
    if (!file.valid())
        return nullptr;
    const auto status = posix::status(file);
    if (!status || !status->regular)
        return nullptr;
    std::unique_ptr<ModuleFile> module(new ModuleFile);
    module->file_ = std::make_unique<FileSource>(std::move(file), status->size);
    module->resources_ = PeResources::open(*module->file_);
    if (!module->resources_)
        return nullptr;
    return module;
}

ModuleFile::~ModuleFile() = default;

} // namespace vell
