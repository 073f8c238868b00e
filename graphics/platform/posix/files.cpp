#include "graphics/platform/posix/files.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vell::posix {

void FileDescriptor::reset() {
    if (fd_ >= 0)
        ::close(std::exchange(fd_, -1));
}

bool FileDescriptor::close() {
    return ::close(std::exchange(fd_, -1)) == 0;
}

std::optional<QByteArray> nativePath(const QString& path) {
    QByteArray native = QFile::encodeName(path);
    if (native.isEmpty() || native.contains('\0'))
        return std::nullopt;
    return native;
}

FileDescriptor openForReading(const QByteArray& native) {
    return FileDescriptor(::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
}

std::optional<FileStatus> status(const FileDescriptor& file) {
    struct stat st {};
    if (::fstat(file.get(), &st) != 0)
        return std::nullopt;
    return FileStatus{S_ISREG(st.st_mode), std::uint64_t(st.st_size)};
}

bool tryLockShared(const FileDescriptor& file) {
    return ::flock(file.get(), LOCK_SH | LOCK_NB) == 0;
}

bool tryLockExclusive(const FileDescriptor& file) {
    return ::flock(file.get(), LOCK_EX | LOCK_NB) == 0;
}

ReadResult readAt(const FileDescriptor& file, std::uint64_t offset, void* out, std::size_t n) {
    auto* p = static_cast<char*>(out);
    while (n > 0) {
        const ssize_t got = ::pread(file.get(), p, n, off_t(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return ReadResult::Failed;
        if (got == 0)
            return ReadResult::Ended;
        p += got;
        n -= std::size_t(got);
        offset += std::uint64_t(got);
    }
    return ReadResult::Done;
}

int writeAll(const FileDescriptor& file, QByteArrayView data) {
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t put =
            ::write(file.get(), data.data() + done, std::size_t(data.size() - done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return put < 0 ? errno : ENOSPC;
        done += put;
    }
    return 0;
}

bool refusesReplacement(const QByteArray& native) {
    struct stat st {};
    if (::stat(native.constData(), &st) != 0)
        return false; // nothing there yet
    return S_ISDIR(st.st_mode) || ::access(native.constData(), W_OK) != 0;
}

bool folderRefusesNewFile(int error) {
    return error == EACCES || error == EPERM;
}

FileDescriptor openExistingForWriting(const QByteArray& native) {
    FileDescriptor file(::open(native.constData(), O_WRONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!file.valid())
        return file;
    struct stat st {};
    int error = 0;
    if (::fstat(file.get(), &st) != 0)
        error = errno;
    else if (!S_ISREG(st.st_mode))
        error = S_ISDIR(st.st_mode) ? EISDIR : ENXIO;
    if (error == 0)
        return file;
    file.close();
    errno = error;
    return {};
}

int rewriteInPlace(const FileDescriptor& file, QByteArrayView data) {
    if (::ftruncate(file.get(), 0) != 0)
        return errno;
    if (::lseek(file.get(), 0, SEEK_SET) != 0)
        return errno;
    if (const int error = writeAll(file, data))
        return error;
    if (::fsync(file.get()) != 0 && errno != EINVAL)
        return errno;
    return 0;
}

ReplacementFile::ReplacementFile(const QString& target) {
    const QFileInfo info(target);
    const QString stem = info.absolutePath() + "/." + info.fileName() + ".";
    for (int attempt = 0; !file_.valid(); ++attempt) {
        name_ = QFile::encodeName(
            stem + QString::number(QRandomGenerator::global()->generate(), 36) + ".tmp");
        file_ = FileDescriptor(
            ::open(name_.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (!file_.valid() && (errno != EEXIST || attempt == 100)) {
            error_ = errno;
            name_.clear(); // nothing of ours to remove
            return;
        }
    }
}

ReplacementFile::~ReplacementFile() {
    if (!committed_ && !name_.isEmpty())
        ::unlink(name_.constData());
}

int ReplacementFile::finish() {
    if (::fsync(file_.get()) != 0 && errno != EINVAL)
        return errno;
    return file_.close() ? 0 : errno;
}

int ReplacementFile::commit(const QByteArray& nativeTarget) {
    if (::rename(name_.constData(), nativeTarget.constData()) != 0)
        return errno;
    committed_ = true;
    return 0;
}

} // namespace vell::posix
