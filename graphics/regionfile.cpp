#include "graphics/regionfile.h"

#include "graphics/countwords.h"
#include "graphics/formats/regiondata.h"
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

// A size limit, not a failure to allocate: 7 as callers know it, with the
// limit named.
[[noreturn]] void raiseTooLarge(std::uint64_t size, std::uint64_t maxSize) {
    const std::uint64_t rects =
        maxSize > gdi::RgnDataHeaderSize ? (maxSize - gdi::RgnDataHeaderSize) / 16 : 0;
    throw RuntimeError(OutOfMemory, RuntimeError::programName(),
                       QString("File too large for region data: %1 bytes, at most %2 (%3 "
                               "rectangles)")
                           .arg(grouped(std::int64_t(size)), grouped(std::int64_t(maxSize)),
                                grouped(std::int64_t(rects))));
}

// Writes data over the file at native where it stands; false when there is
// no file there to write.
bool writeInPlace(const QByteArray& native, const QByteArray& data, const QString& path) {
    posix::FileDescriptor file = posix::openExistingForWriting(native);
    if (!file.valid() && errno == ENOENT)
        return false;
    if (!file.valid())
        posix::raiseOpenError(errno, path);
    if (!posix::tryLockExclusive(file))
        raiseFileError(PermissionDenied);
    if (const int error = posix::rewriteInPlace(file, data))
        posix::raiseWriteError(error);
    if (!file.close())
        posix::raiseWriteError(errno);
    return true;
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
        raiseTooLarge(status->size, maxSize);
    return posix::readWhole(file, status->size);
}

void writeRegionFile(const QString& path, const QByteArray& data) {
    const QByteArray native = nativePath(path);
    // What could not be opened for writing is not replaced either.
    if (posix::refusesReplacement(native))
        raiseFileError(PathFileAccessError);
    posix::ReplacementFile replacement(path);
    // A folder that takes no new file may still hold a file we may write:
    // that one is written in place, no longer all or nothing.
    if (!replacement.valid() && posix::folderRefusesNewFile(replacement.error()) &&
        writeInPlace(native, data, path))
        return;
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
