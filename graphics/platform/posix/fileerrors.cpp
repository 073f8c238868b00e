#include "graphics/platform/posix/fileerrors.h"

#include "graphics/platform/posix/files.h"

#include <QFileInfo>

#include <cerrno>

namespace vell::posix {
namespace {

ErrorNumber openError(int error, const QString& path) {
    switch (error) {
    case ENOENT:
        return QFileInfo(QFileInfo(path).absolutePath()).isDir() ? FileNotFound : PathNotFound;
    case ENOTDIR:
    case ELOOP:
        return PathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return PathFileAccessError;
    case ENAMETOOLONG:
        return BadFileNameOrNumber;
    case EMFILE:
    case ENFILE:
        return TooManyFiles;
    case ENOSPC:
    case EDQUOT:
        return DiskFull;
    default:
        return DeviceIOError;
    }
}

} // namespace

void raiseFileError(ErrorNumber number) {
    throw RuntimeError(number, RuntimeError::programName());
}

void raiseOpenError(int error, const QString& path) {
    raiseFileError(openError(error, path));
}

void raiseWriteError(int error) {
    raiseFileError(error == ENOSPC || error == EDQUOT || error == EFBIG ? DiskFull : DeviceIOError);
}

QByteArray readWhole(const FileDescriptor& file, std::uint64_t size) {
    QByteArray data(qsizetype(size), Qt::Uninitialized);
    switch (readAt(file, 0, data.data(), std::size_t(data.size()))) {
    case ReadResult::Done:
        return data;
    case ReadResult::Ended:
        raiseFileError(InputPastEndOfFile); // it shrank while we read
    case ReadResult::Failed:
        break;
    }
    raiseFileError(DeviceIOError);
}

} // namespace vell::posix
