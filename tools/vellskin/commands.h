// vellskin's commands: one table row and one file each. A command gets the
// arguments after its name, returns the exit status, and raises a
// RuntimeError for anything that goes wrong (main prints it on one line).
#pragma once

#include <QStringList>

#include <span>

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

// Failures of the tool itself: number, source "vellskin", description.
[[noreturn]] void fail(int number, const QString& description);
inline constexpr int InvalidArgument = 5; // the runtime's "invalid procedure call or argument"

} // namespace vellskin
