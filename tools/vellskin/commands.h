// vellskin's commands: one table row and one file each. A command gets the
// arguments after its name, returns the exit status, and raises a
// RuntimeError for anything that goes wrong (main prints it on one line).
#pragma once

#include "runtime/runtimeerror.h"

#include <QImage>
#include <QStringList>

#include <cstdint>

#include <span>

namespace vell {
class cDIBSection;
}

namespace vellskin {

struct Command {
    const char* name;
    const char* usage;   // the arguments, as shown after the name
    const char* summary; // one line
    int (*run)(const QStringList& args);
};

std::span<const Command> commands();

int runRegion(const QStringList& args);
int runInfo(const QStringList& args);
int runRender(const QStringList& args);
int runExtract(const QStringList& args);
int runResample(const QStringList& args);
int runNoise(const QStringList& args);

// The runtime's own numbers for what goes wrong in a command.
inline constexpr vell::ErrorNumber InvalidArgument = vell::InvalidProcedureCall;
inline constexpr vell::ErrorNumber OutOfMemory = vell::OutOfMemory;
inline constexpr vell::ErrorNumber FileAccess = vell::PathFileAccessError;
inline constexpr vell::ErrorNumber InvalidPicture = vell::InvalidPicture;

// Failures of the tool itself: number, source "vellskin", description.
[[noreturn]] void fail(vell::ErrorNumber number, const QString& description);
[[noreturn]] void fail(vell::ErrorNumber number); // with the standard description
// A failure of the classes under a command, raised again as the tool's own.
[[noreturn]] void failAs(const vell::RuntimeError& error);

// The picture in the file at path, or its reader's error as the tool's own.
QImage picture(const QString& path);
// A 32-bit signed number, or an InvalidArgument error naming what it is.
std::int32_t number(const QString& text, const char* what);
// Writes the surface as a 24-bit bitmap file, replacing the file whole (a
// failed write leaves no half file).
void writeBitmap(const vell::cDIBSection& dib, const QString& path);

} // namespace vellskin
