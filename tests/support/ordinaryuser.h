// Root writes through any file permission, and the suite's namespace maps its
// user to root. A test of a refused permission, started as root, runs itself
// again as an ordinary user: uid 1000 in a user namespace of its own, mapped
// to ours (the files it makes stay its own), holding no capability.
#pragma once

#include <QCoreApplication>
#include <QProcess>
#include <QString>
#include <gtest/gtest.h>

#include <unistd.h>

namespace testing_support {

struct OrdinaryUserRun {
    bool ran = false; // false: no user namespace here
    bool passed = false;
    QString output;
};

inline bool runningAsRoot() {
    return ::geteuid() == 0;
}

// The current test once more, in a child process as uid 1000.
inline OrdinaryUserRun rerunAsOrdinaryUser() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    QProcess child;
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start("unshare",
                {"--user", "--map-user=1000", "--map-group=1000",
                 QCoreApplication::applicationFilePath(),
                 QString("--gtest_filter=%1.%2").arg(test->test_suite_name(), test->name())});
    child.waitForFinished(120000);
    OrdinaryUserRun run;
    run.output = QString::fromLocal8Bit(child.readAll());
    run.ran = run.output.contains("Running 1 test");
    run.passed = child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0 &&
                 run.output.contains("[  PASSED  ] 1 test.");
    return run;
}

} // namespace testing_support

// As root, runs the test as an ordinary user instead and ends it here.
#define VELL_RUN_AS_ORDINARY_USER()                                                                \
    if (testing_support::runningAsRoot()) {                                                        \
        const testing_support::OrdinaryUserRun run = testing_support::rerunAsOrdinaryUser();       \
        if (!run.ran)                                                                              \
            GTEST_SKIP() << "root writes through any permission, and no user namespace "           \
                            "lets this run as an ordinary user: "                                  \
                         << run.output.toStdString();                                              \
        EXPECT_TRUE(run.passed) << "as uid 1000:\n" << run.output.toStdString();                   \
        return;                                                                                    \
    }
