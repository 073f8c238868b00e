// What a failed file operation raises: the runtime's file error for the
// errno, with the program as source (a caller raising it under its own
// source takes RuntimeError::withSource).
#pragma once

#include "graphics/platform/posix/filedescriptor.h"
#include "runtime/runtimeerror.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace vell::posix {

[[noreturn]] void raiseFileError(ErrorNumber number);

// errno of a failed open, create or rename of path: 53 "File not found", 76
// "Path not found", 75 "Path/File access error", 52 "Bad file name or
// number", 67 "Too many files", 61 "Disk full", else 57 "Device I/O error".
[[noreturn]] void raiseOpenError(int error, const QString& path);

// errno of a failed write, flush or close: 61 "Disk full" or 57 "Device I/O
// error".
[[noreturn]] void raiseWriteError(int error);

// The whole of an open file of the size its status gave: 62 "Input past end
// of file" if it shrank while read, 57 "Device I/O error" if the read failed.
QByteArray readWhole(const FileDescriptor& file, std::uint64_t size);

} // namespace vell::posix
