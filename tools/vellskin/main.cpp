// vellskin: region data for skin authors, on the classes the programs use.
#include "commands.h"

#include "runtime/runtimeerror.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

void usage(std::FILE* to) {
    std::fprintf(to, "usage: vellskin COMMAND ARGS...\n\ncommands:\n");
    for (const vellskin::Command& c : vellskin::commands())
        std::fprintf(to, "  vellskin %s %s\n      %s\n", c.name, c.usage, c.summary);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.front() == "-h" || args.front() == "--help") {
        usage(args.isEmpty() ? stderr : stdout);
        return args.isEmpty() ? 2 : 0;
    }
    const QString name = args.takeFirst();
    for (const vellskin::Command& c : vellskin::commands()) {
        if (name != c.name)
            continue;
        if (args.size() != QString(c.usage).split(' ').size()) {
            std::fprintf(stderr, "usage: vellskin %s %s\n", c.name, c.usage);
            return 2;
        }
        try {
            return c.run(args);
        } catch (const vell::RuntimeError& e) {
            std::fprintf(stderr, "vellskin: error %d, %s, %s\n", e.number(), qPrintable(e.source()),
                         qPrintable(e.description()));
            return 1;
        }
    }
    std::fprintf(stderr, "vellskin: no command '%s'\n", qPrintable(name));
    usage(stderr);
    return 2;
}
