#include "graphics/regionfile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vell {
namespace {

[[noreturn]] void raise(int number, const char* description) {
    throw FileError{number, description};
}

// errno of a failed open as the runtime reports it.
[[noreturn]] void raiseOpenError(int error, const QString& path) {
    switch (error) {
    case ENOENT:
        if (QFileInfo(QFileInfo(path).absolutePath()).isDir())
            raise(53, "File not found");
        raise(76, "Path not found");
    case ENOTDIR:
    case ELOOP:
        raise(76, "Path not found");
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        raise(75, "Path/File access error");
    case ENAMETOOLONG:
        raise(52, "Bad file name or number");
    case EMFILE:
    case ENFILE:
        raise(67, "Too many files");
    case ENOSPC:
    case EDQUOT:
        raise(61, "Disk full");
    default:
        raise(57, "Device I/O error");
    }
}

[[noreturn]] void raiseWriteError(int error) {
    if (error == ENOSPC || error == EDQUOT || error == EFBIG)
        raise(61, "Disk full");
    raise(57, "Device I/O error");
}

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    // Closes now and reports whether the close went well (a late write error
    // shows here).
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

QByteArray nativePath(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    if (native.isEmpty() || native.contains('\0'))
        raise(52, "Bad file name or number");
    return native;
}

} // namespace

QByteArray readRegionFile(const QString& path, std::uint64_t maxSize) {
    const QByteArray native = nativePath(path);
    // Non-blocking open: a FIFO or a device must not hold the caller up.
    Fd fd(::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.get() < 0)
        raiseOpenError(errno, path);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        raise(57, "Device I/O error");
    if (!S_ISREG(st.st_mode))
        raise(75, "Path/File access error");
    if (::flock(fd.get(), LOCK_SH | LOCK_NB) != 0)
        raise(70, "Permission denied");
    if (st.st_size == 0)
        raise(9, "Subscript out of range");
    if (std::uint64_t(st.st_size) > maxSize)
        raise(7, "Out of memory");
    QByteArray data(qsizetype(st.st_size), Qt::Uninitialized);
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t got = ::read(fd.get(), data.data() + done, std::size_t(data.size() - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            raise(57, "Device I/O error");
        if (got == 0)
            raise(62, "Input past end of file"); // it shrank while we read
        done += got;
    }
    return data;
}

void writeRegionFile(const QString& path, const QByteArray& data) {
    const QByteArray native = nativePath(path);
    struct stat st {};
    if (::stat(native.constData(), &st) == 0) {
        // What could not be opened for writing is not replaced either.
        if (S_ISDIR(st.st_mode) || ::access(native.constData(), W_OK) != 0)
            raise(75, "Path/File access error");
    }
    const QFileInfo info(path);
    const QString stem = info.absolutePath() + "/." + info.fileName() + ".";
    QByteArray temporary;
    int raw = -1;
    for (int attempt = 0; raw < 0; ++attempt) {
        temporary = QFile::encodeName(
            stem + QString::number(QRandomGenerator::global()->generate(), 36) + ".tmp");
        raw = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (raw < 0 && (errno != EEXIST || attempt == 100))
            raiseOpenError(errno, path);
    }
    Fd fd(raw);
    bool keep = false;
    struct Cleanup {
        const QByteArray& name;
        const bool& keep;
        ~Cleanup() {
            if (!keep)
                ::unlink(name.constData());
        }
    } cleanup{temporary, keep};

    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
        raise(70, "Permission denied");
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t put =
            ::write(fd.get(), data.constData() + done, std::size_t(data.size() - done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            raiseWriteError(put < 0 ? errno : ENOSPC);
        done += put;
    }
    if (::fsync(fd.get()) != 0 && errno != EINVAL)
        raiseWriteError(errno);
    if (!fd.close())
        raiseWriteError(errno);
    if (::rename(temporary.constData(), native.constData()) != 0)
        raiseOpenError(errno, path);
    keep = true;
}

} // namespace vell
