// vellskin: a command-line tool for skins. The first argument names the command.
#include "tools/vellskin/pixelcommands.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

struct Command {
    const char* name;
    const char* usage;
    int (*run)(const QStringList& args);
};

constexpr Command Commands[] = {
    {"resample", "vellskin resample IN.bmp HEIGHT WIDTH OUT.bmp", runResample},
    {"noise", "vellskin noise gray|colour WIDTH HEIGHT OUT.bmp", runNoise},
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    for (const Command& c : Commands)
        if (!args.isEmpty() && args[0] == c.name)
            return c.run(args.mid(1));
    std::fprintf(stderr, "vellskin: error 5 (vellskin): unknown command; one of:\n");
    for (const Command& c : Commands)
        std::fprintf(stderr, "  %s\n", c.usage);
    return 2;
}
