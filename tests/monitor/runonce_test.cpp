// A start that finds a copy running makes nothing and ends; the first start
// runs its window, which every later start brings back.
#include "comebackwatch.h"
#include "monitor/runonce.h"
#include "support/fakeinstance.h"
#include "support/programs.h"
#include "support/testrealm.h"

#include <QCoreApplication>
#include <QTimer>
#include <gtest/gtest.h>

using monitor::InstanceService;
using testing_support::AtForeground;
using testing_support::FakeInstance;
using testing_support::waitFor;
using testing_support::watchForeground;

namespace {

class RunOnce : public ::testing::TestWithParam<testing_support::ProgramUnderTest> {
protected:
    void SetUp() override {
        program = GetParam().make();
        realm.aim(program);
        options.browserFactory = fakes.browsers.factory();
    }
    int run(FakeInstance& instance, const std::function<void(monitor::Form1&)>& started) {
        return monitor::runOnce(program, fakes.desktop(), instance, options, started);
    }

    testing_support::TestRealm realm;
    testing_support::FakeDesktop fakes;
    monitor::BuildOptions options;
    forms::Program program;
};

TEST_P(RunOnce, AStartThatFindsACopyRunningMakesNothingAndEnds) {
    for (auto [claim, status] : {std::pair{InstanceService::Claim::Asked, 0},
                                 std::pair{InstanceService::Claim::NoAnswer, 1}}) {
        FakeInstance instance(claim);
        bool started = false;
        EXPECT_EQ(run(instance, [&](monitor::Form1&) { started = true; }), status);
        EXPECT_EQ(instance.claims, 1);
        EXPECT_FALSE(started) << "no window";
        EXPECT_FALSE(instance.listening());
        EXPECT_TRUE(fakes.log.isEmpty())
            << "no icon, no placing: " << qPrintable(fakes.log.join(" "));
        EXPECT_TRUE(fakes.gdi.log.isEmpty()) << "no skin read";
    }
}

TEST_P(RunOnce, TheFirstStartRunsItsWindowAndEveryLaterStartBringsItBack) {
    for (auto claim : {InstanceService::Claim::First, InstanceService::Claim::Unchecked}) {
        SCOPED_TRACE(int(claim));
        FakeInstance instance(claim);
        instance.askedEarly = true; // a start made while this one loaded
        AtForeground at;
        const monitor::Form1* window = nullptr;
        watchForeground(fakes, window, at);
        int askedLater = 0;
        const int status = run(instance, [&](monitor::Form1& form) {
            window = &form;
            EXPECT_FALSE(instance.listening()) << "nothing to bring back before it is loaded";
            auto* guard = new QTimer(&form); // a test that goes wrong still ends
            guard->setSingleShot(true);
            QObject::connect(guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
            guard->start(30000);
            QTimer::singleShot(0, &form, [&] {
                EXPECT_EQ(at.calls, 1) << "the early start was answered";
                EXPECT_EQ(at.size, QSize(program.form1.find("PicBackground")->width / 15,
                                         program.form1.find("PicBackground")->height / 15))
                    << "after the window was loaded";
                EXPECT_TRUE(at.shown);
                form.Label2_Click();
                askedLater += instance.ask();
                EXPECT_TRUE(form.isVisible());
                form.setWindowState(Qt::WindowMinimized);
                EXPECT_TRUE(waitFor([&] { return !form.isVisible(); }, 2000));
                askedLater += instance.ask();
                EXPECT_TRUE(form.isVisible() && !(form.windowState() & Qt::WindowMinimized));
                form.ExitProgram();
            });
        });
        EXPECT_EQ(status, 0) << "ended by its own exit";
        EXPECT_EQ(askedLater, 2);
        EXPECT_EQ(at.calls, 3);
        EXPECT_FALSE(instance.listening()) << "the window is gone: nothing to bring back";
        fakes.windows.onSetForegroundWindow = nullptr;
    }
}

INSTANTIATE_TEST_SUITE_P(Programs, RunOnce,
                         ::testing::ValuesIn(testing_support::programsUnderTest()),
                         testing_support::programName);

} // namespace
