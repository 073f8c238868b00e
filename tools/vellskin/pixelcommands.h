// The skin tool's pixel commands: each takes the arguments after its name and
// returns the process's exit code. Errors are one line on standard error.
#pragma once

#include "runtime/runtimeerror.h"

#include <QStringList>

namespace vell {
class cDIBSection;
}

int runResample(const QStringList& args);
int runNoise(const QStringList& args);

namespace vellskin {

// Errors a command raises itself, numbered as the runtime numbers them.
constexpr int InvalidArgument = 5;
constexpr int OutOfMemory = 7;
constexpr int FileAccess = 75;
constexpr int InvalidPicture = 481;

vell::RuntimeError commandError(int number, const QString& description);
// Prints "vellskin: error NUMBER (SOURCE): DESCRIPTION"; returns 1.
int report(const vell::RuntimeError& e);
// A 32-bit signed number, or an InvalidArgument error naming what it is.
std::int32_t number(const QString& text, const char* what);
// Writes the surface as a 24-bit bitmap file, replacing the file whole.
void writeBitmap(const vell::cDIBSection& dib, const QString& path);

} // namespace vellskin
