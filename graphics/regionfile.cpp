#include "graphics/regionfile.h"

#include "graphics/platform/posix/fileerrors.h"
#include "graphics/platform/posix/files.h"

#include <cerrno>

namespace vell {
namespace {

using posix::raiseFileError;

QByteArray nativePath(const QString& path) {
    const auto native = posix::nativePath(path);
    if (!native)
        raiseFileError(BadFileNameOrNumber);
    return *native;
}

// The file open for reading, or its open error raised.
posix::FileDescriptor openOrRaise(const QString& path) {
    posix::FileDescriptor file = posix::openForReading(nativePath(path));
    if (!file.valid())
        posix::raiseOpenError(errno, path);
    return file;
}

} // namespace

QByteArray readRegionFile(const QString& path, std::uint64_t maxSize) {
    const posix::FileDescriptor file = openOrRaise(path);
    const auto status = posix::status(file);
    if (!status)
        raiseFileError(DeviceIOError);
    if (!status->regular)
        raiseFileError(PathFileAccessError);
    if (!posix::tryLockShared(file))
        raiseFileError(PermissionDenied);
    if (status->size == 0) // no byte array to hold it: the runtime's number, saying why
        throw RuntimeError(SubscriptOutOfRange, RuntimeError::programName(),
                           "File is empty (0 bytes): no region data");
    if (status->size > maxSize)
        raiseFileError(OutOfMemory);
    QByteArray data(qsizetype(status->size), Qt::Uninitialized);
    switch (posix::readAt(file, 0, data.data(), std::size_t(data.size()))) {
    case posix::ReadResult::Done:
        return data;
    case posix::ReadResult::Ended:
        raiseFileError(InputPastEndOfFile); // it shrank while we read
    case posix::ReadResult::Failed:
        break;
    }
    raiseFileError(DeviceIOError);
}

void writeRegionFile(const QString& path, const QByteArray& data) {
    const QByteArray native = nativePath(path);
    // What could not be opened for writing is not replaced either.
    if (posix::refusesReplacement(native))
        raiseFileError(PathFileAccessError);
    posix::ReplacementFile replacement(path);
    if (!replacement.valid())
        posix::raiseOpenError(replacement.error(), path);
    if (!posix::tryLockExclusive(replacement.file()))
        raiseFileError(PermissionDenied);
    if (const int error = posix::writeAll(replacement.file(), data))
        posix::raiseWriteError(error);
    if (const int error = replacement.finish())
        posix::raiseWriteError(error);
    if (const int error = replacement.commit(native))
        posix::raiseOpenError(error, path);
}

} // namespace vell
