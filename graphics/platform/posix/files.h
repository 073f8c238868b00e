// Plain-file access for the readers and writers of outside files: opening
// without blocking, sizes, whole reads and writes retried after signals,
// advisory locks and replacing a file whole. Failures come back as errno
// values; graphics/platform/posix/fileerrors.h turns them into the
// runtime's errors where a caller raises them.
#pragma once

#include "graphics/platform/posix/filedescriptor.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <optional>

namespace vell::posix {

// The path as the system takes it; nullopt for one that can name no file
// (empty, or holding a NUL).
std::optional<QByteArray> nativePath(const QString& path);

// Opens for reading without blocking, so that a FIFO or a device cannot hold
// the caller up; invalid, with errno set, on failure.
FileDescriptor openForReading(const QByteArray& native);

struct FileStatus {
    bool regular = false; // a plain file, not a FIFO, device or directory
    std::uint64_t size = 0;
};
// nullopt, with errno set, when the system cannot say.
std::optional<FileStatus> status(const FileDescriptor& file);

// Advisory flock() locks, not waited for: false while another open file holds
// a lock that excludes this one. Only processes that take them are held off.
bool tryLockShared(const FileDescriptor& file);
bool tryLockExclusive(const FileDescriptor& file);

enum class ReadResult { Done, Failed, Ended };
// n bytes at offset. Failed sets errno; Ended: the file ends before them.
ReadResult readAt(const FileDescriptor& file, std::uint64_t offset, void* out, std::size_t n);

// All of data from the current position: 0, or the errno of the failure
// (ENOSPC when the system takes no more).
int writeAll(const FileDescriptor& file, QByteArrayView data);

// Whether native names a file that is not to be replaced: a directory, or one
// the caller may not write.
bool refusesReplacement(const QByteArray& native);

// Whether a failure to make a ReplacementFile (its errno) is the folder's
// refusal of a new file, as a folder the caller may not write gives; a file
// already there may still be writable in place.
bool folderRefusesNewFile(int error);

// An existing plain file opened for writing in place, neither created nor
// truncated, without blocking; invalid, with errno set, on failure (EISDIR
// or ENXIO for what is not a plain file).
FileDescriptor openExistingForWriting(const QByteArray& native);

// Cuts the file to nothing, writes data from its start and flushes it to the
// disk: 0, or the errno of the failure. A failure leaves part of the data.
int rewriteInPlace(const FileDescriptor& file, QByteArrayView data);

// A new file beside the one it is to replace, under a name of its own, open
// for writing. Renamed over the old one by commit(); removed when the object
// goes without that.
class ReplacementFile {
public:
    explicit ReplacementFile(const QString& target);
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    // Whether the new file was made; error() is the errno when not.
    bool valid() const { return file_.valid(); }
    int error() const { return error_; }
    const FileDescriptor& file() const { return file_; }

    // Flushes the data to the disk and closes: 0, or the errno of the failure.
    int finish();
    // Renames the new file over nativeTarget: 0, or the errno of the failure.
    int commit(const QByteArray& nativeTarget);

private:
    QByteArray name_;
    FileDescriptor file_;
    int error_ = 0;
    bool committed_ = false;
};

} // namespace vell::posix
