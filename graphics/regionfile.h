// The file operations behind saving and loading region data, with the
// runtime's file error numbers (53 "File not found", 76 "Path not found",
// 75 "Path/File access error", 70 "Permission denied", 61 "Disk full",
// 57 "Device I/O error", ...), raised as a RuntimeError with the program as
// source for the caller to raise again under its own.
//
// Sharing: "deny other writers while reading" is an advisory shared flock()
// on the open file; a file another process holds under an exclusive flock()
// is refused with 70. Saving writes a new file beside the old one, under an
// exclusive flock(), and renames it over the old only when every byte is
// written: a reader sees the old data or the new, never a part, and a failed
// save leaves the old file as it was. Where the folder takes no new file (one
// the caller may not write) but the file itself may be written, the file is
// rewritten in place instead, under the same lock; a failure there leaves a
// part of the new data. Locks are advisory: only processes that take them are
// held off.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace vell {

// The whole file. A 0-byte file raises 9 "Subscript out of range" (no byte
// array holds nothing) and one longer than maxSize 7, described as too large
// for region data with the limit, both without reading it.
QByteArray readRegionFile(const QString& path, std::uint64_t maxSize);

// Replaces the file at path with exactly data.
void writeRegionFile(const QString& path, const QByteArray& data);

} // namespace vell
