#include "graphics/modulefile.h"

#include "graphics/platform/posix/files.h"

#include <QFileInfo>

#include <cerrno>
#include <cstring>

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

namespace {

// Why the open of path failed with errno error, in a few words.
QString openFailure(int error, const QString& path) {
    switch (error) {
    case ENOENT:
        return QFileInfo(QFileInfo(path).absolutePath()).isDir() ? "no file " + path
                                                                 : "no folder for " + path;
    case ENOTDIR:
        return "no folder for " + path;
    case EACCES:
    case EPERM:
        return path + " may not be read";
    default:
        return path + " cannot be opened (" + QString::fromLocal8Bit(std::strerror(error)) + ")";
    }
}

} // namespace

std::unique_ptr<ModuleFile> ModuleFile::open(const QString& path, QString* why) {
    auto failed = [why](const QString& reason) {
        if (why)
            *why = reason;
        return nullptr;
    };
    const auto native = posix::nativePath(path);
    if (!native)
        return failed("no file can be named \"" + path + "\"");
    // Only plain files pass; a FIFO or device cannot hold the open up.
    posix::FileDescriptor file = posix::openForReading(*native);
    if (!file.valid())
        return failed(openFailure(errno, path));
    const auto status = posix::status(file);
    if (!status)
        return failed(path + " cannot be read");
    if (!status->regular)
        return failed(QFileInfo(path).isDir() ? path + " is a folder"
                                              : path + " is not a plain file");
    std::unique_ptr<ModuleFile> module(new ModuleFile);
    module->file_ = std::make_unique<FileSource>(std::move(file), status->size);
    module->resources_ = PeResources::open(*module->file_);
    if (!module->resources_)
        return failed(path + " is not a PE module");
    return module;
}

ModuleFile::~ModuleFile() = default;

} // namespace vell
