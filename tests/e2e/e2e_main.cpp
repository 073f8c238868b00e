// Entry point of the end-to-end tests. The local realm binds port 80 and
// addresses across 127.0.0.0/8, which only a private network namespace (or
// root) allows: started outside the suite's namespace, by a bare ctest, each
// test first runs itself again in one of its own, made by the shell library
// every script uses (vell_isolated). Where none can be made, that library
// says why and how to get one.
#include <QGuiApplication>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace {

// Listing the tests (ctest's discovery, at build time) needs no namespace.
bool listingOnly(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--gtest_list_tests") == 0)
            return true;
    return false;
}

void runInPrivateNamespace(int argc, char** argv) {
    static char shell[] = "bash", command[] = "-c",
                script[] = ". \"$0\" && vell_isolated --exec \"$@\"",
                library[] = VELL_PRIVATE_SESSION_SH;
    static char self[4096];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) {
        std::perror("cannot find this test program");
        std::exit(1);
    }
    self[length] = '\0';
    std::vector<char*> args{shell, command, script, library, self};
    args.insert(args.end(), argv + 1, argv + argc);
    args.push_back(nullptr);
    ::execvp(shell, args.data());
    std::perror("cannot run bash for a private namespace");
    std::exit(1);
}

} // namespace

int main(int argc, char** argv) {
    // vell_isolated names the namespace it made (private, or the host's own
    // as root where user namespaces are refused).
    if (!std::getenv("VELL_NAMESPACE") && !listingOnly(argc, argv))
        runInPrivateNamespace(argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
