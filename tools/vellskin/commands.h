// vellskin's commands: one table row and one file each. A command gets the
// arguments after its name, returns the exit status, and raises a
// RuntimeError for anything that goes wrong (main prints it on one line).
#pragma once

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

// Failures of the tool itself: number, source "vellskin", description.
[[noreturn]] void fail(int number, const QString& description);
// The runtime's own numbers for what goes wrong in a command.
inline constexpr int InvalidArgument = 5; // "invalid procedure call or argument"
inline constexpr int OutOfMemory = 7;
inline constexpr int FileAccess = 75;
inline constexpr int InvalidPicture = 481;

// A 32-bit signed number, or an InvalidArgument error naming what it is.
std::int32_t number(const QString& text, const char* what);
// Writes the surface as a 24-bit bitmap file, replacing the file whole (a
// failed write leaves no half file).
void writeBitmap(const vell::cDIBSection& dib, const QString& path);

} // namespace vellskin
