// What a failed file operation raises: the runtime's file error for the
// errno, with the program as source (a caller raising it under its own
// source takes RuntimeError::withSource).
#pragma once

#include "runtime/runtimeerror.h"

#include <QString>

namespace vell::posix {

[[noreturn]] void raiseFileError(ErrorNumber number);

// errno of a failed open, create or rename of path: 53 "File not found", 76
// "Path not found", 75 "Path/File access error", 52 "Bad file name or
// number", 67 "Too many files", 61 "Disk full", else 57 "Device I/O error".
[[noreturn]] void raiseOpenError(int error, const QString& path);

// errno of a failed write, flush or close: 61 "Disk full" or 57 "Device I/O
// error".
[[noreturn]] void raiseWriteError(int error);

} // namespace vell::posix
