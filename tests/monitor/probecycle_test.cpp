// The probe cycle against real loopback servers.
#include "monitor/controls/labelcontrol.h"
#include "monitor/controls/winsock.h"
#include "monitor/form1.h"
#include "support/fakedesktop.h"
#include "support/programs.h"
#include "support/testrealm.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using monitor::Form1;
using monitor::Winsock;
using testing_support::TestRealm;
using testing_support::waitFor;

namespace {

class ProbeCycle : public ::testing::TestWithParam<testing_support::ProgramUnderTest> {
protected:
    void SetUp() override {
        program = GetParam().make();
        realm.aim(program);
        options.browserFactory = fakes.browsers.factory();
        form = std::make_unique<Form1>(program, fakes.desktop(), options);
        for (const auto& p : form->cycle().probes()) {
            connect(p.socket, &Winsock::Connected, [this] { ++events; });
            connect(p.socket, &Winsock::Error, [this] { ++events; });
        }
    }

    template <typename Signal, typename F>
    void connect(Winsock* s, Signal sig, F f) {
        QObject::connect(s, sig, form.get(), f);
    }

    const monitor::ProbeEntry& row(int r) const { return form->cycle().probes().at(size_t(r)); }
    QString caption(int r) const { return row(r).indicator->caption(); }
    unsigned colour(int r) const { return row(r).indicator->foreColor(); }
    QString countdown() const {
        return form->controls().get<monitor::LabelControl>("Label1")->caption();
    }
    // The summary timer of a program whose tray tip is the summary, else null.
    QTimer* updater() const { return form->controls().find<QTimer>(program.summaryTimer); }
    QString up(int r) const { return testing_support::upCaption(program, r); }
    QString down(int r) const { return testing_support::downCaption(program, r); }
    QString initial(int r) const {
        return program.form1.find(program.probes.at(size_t(r)).indicator)->text;
    }
    bool allSettled() const {
        for (const auto& p : form->cycle().probes())
            if (p.socket->state() == Winsock::State::Connecting ||
                p.socket->state() == Winsock::State::Connected)
                return false;
        return true;
    }
    void settle() {
        ASSERT_TRUE(waitFor([&] { return events >= 6 && allSettled(); }));
    }

    TestRealm realm;
    forms::Program program;
    testing_support::FakeDesktop fakes;
    monitor::BuildOptions options;
    std::unique_ptr<Form1> form;
    int events = 0;
};

TEST_P(ProbeCycle, StartupConnectsAllSixInTableOrderAndShowsTen) {
    // All six sockets at one server: its accept queue keeps the connect order.
    for (forms::Control& c : program.form1.controls)
        if (c.kind == forms::ControlKind::Winsock) {
            c.remoteHost = "127.61.0.2";
            c.remotePort = realm.realm().port("login");
        }
    Form1 f(program, fakes.desktop(), options);
    f.Form_Load();
    for (const auto& p : f.cycle().probes())
        EXPECT_EQ(p.socket->state(), Winsock::State::Connecting);
    EXPECT_EQ(f.controls().get<monitor::LabelControl>("Label1")->caption(), "10...");
    EXPECT_EQ(f.cycle().lTicks(), 0);
    ASSERT_TRUE(waitFor([&] {
        for (int r = 0; r < 6; ++r)
            if (f.cycle().probes()[size_t(r)].indicator->caption() != up(r))
                return false;
        return realm.realm().acceptedCount() == 6;
    }));
    std::vector<quint16> issued;
    for (const auto& p : f.cycle().probes())
        issued.push_back(p.socket->boundPort());
    EXPECT_EQ(issued, realm.realm().acceptedPeerPorts());
    const char* order[] = {"SrvUpdate", "SrvLogin", "SrvCharSelect", "SrvCh1", "SrvCh2", "SrvCh3"};
    for (size_t i = 0; i < 6; ++i)
        EXPECT_EQ(f.cycle().probes()[i].socket->objectName(), order[i]);
}

TEST_P(ProbeCycle, CountdownRunsTenToZeroThenPassesOnTheEleventhTick) {
    form->Form_Load();
    settle();
    form->Timer1_Timer();
    EXPECT_EQ(countdown(), "9...");
    for (int i = 2; i <= 10; ++i)
        form->Timer1_Timer();
    EXPECT_EQ(countdown(), "0...");
    EXPECT_EQ(form->cycle().lTicks(), 10);
    // Nothing probed during the counting ticks.
    for (const auto& p : form->cycle().probes())
        EXPECT_EQ(p.socket->state(), Winsock::State::Closed);

    form->Timer1_Timer();
    EXPECT_EQ(countdown(), "10...");
    EXPECT_EQ(form->cycle().lTicks(), 0);
    for (int r = 0; r < 6; ++r) {
        EXPECT_EQ(row(r).socket->state(), Winsock::State::Connecting) << r;
        EXPECT_EQ(colour(r), 0u) << "indicator is black while the pass runs";
        EXPECT_EQ(caption(r), up(r)) << "old caption kept during the pass";
    }
    for (int i = 0; i < 30; ++i) {
        form->Timer1_Timer();
        EXPECT_LE(form->cycle().lTicks(), 10);
    }
}

TEST_P(ProbeCycle, AcceptingServerIsGreenUpAndItsSocketClosedRefusingIsRedDownLeftInError) {
    realm.set("charselect", realm::State::Down);
    form->Form_Load();
    settle();
    for (int r = 0; r < 6; ++r) {
        if (r == 2) {
            EXPECT_EQ(caption(r), down(r));
            EXPECT_EQ(colour(r), 255u);
            EXPECT_EQ(row(r).socket->state(), Winsock::State::Error);
        } else {
            EXPECT_EQ(caption(r), up(r)) << r;
            EXPECT_EQ(colour(r), 65280u) << r;
            EXPECT_EQ(row(r).socket->state(), Winsock::State::Closed) << r;
        }
    }
    // The next pass takes the errored socket back through Close.
    realm.set("charselect", realm::State::Up);
    events = 0;
    form->Command1_Click();
    EXPECT_EQ(colour(2), 0u);
    EXPECT_EQ(caption(2), down(2));
    settle();
    EXPECT_EQ(caption(2), up(2));
    EXPECT_EQ(colour(2), 65280u);
}

TEST_P(ProbeCycle, EachSocketEventFiresOnlyAfterConnectReturned) {
    // The Connect event writes the caption; it must not run inside the pass.
    form->Form_Load();
    for (int r = 0; r < 6; ++r)
        EXPECT_EQ(caption(r), initial(r));
    settle();
    EXPECT_EQ(events, 6);
}

TEST_P(ProbeCycle, RefreshLeavesTheCountdown) {
    form->Form_Load();
    settle();
    for (int i = 0; i < 6; ++i)
        form->Timer1_Timer();
    ASSERT_EQ(countdown(), "4...");
    if (updater())
        updater()->stop();
    events = 0;
    form->Command1_Click();
    EXPECT_EQ(countdown(), "4...");
    if (updater()) {
        EXPECT_TRUE(updater()->isActive()) << "a summary is asked for";
    }
    for (int r = 0; r < 6; ++r)
        EXPECT_EQ(colour(r), 0u);
    settle();
    form->Timer1_Timer();
    EXPECT_EQ(countdown(), "3...");
}

TEST_P(ProbeCycle, SummaryIsRequestedAtStartupOnEveryTickAndOnRefresh) {
    if (!updater())
        GTEST_SKIP() << "a fixed tray title: no summary";
    EXPECT_FALSE(updater()->isActive());
    form->Form_Load();
    EXPECT_TRUE(updater()->isActive());
    for (int tick = 1; tick <= 12; ++tick) {
        updater()->stop();
        form->Timer1_Timer();
        EXPECT_TRUE(updater()->isActive()) << "tick " << tick;
    }
    updater()->stop();
    form->Command1_Click();
    EXPECT_TRUE(updater()->isActive());
}

TEST_P(ProbeCycle, AttemptPendingWhenAPassStartsNeverReports) {
    realm.set("ch1", realm::State::Silent);
    for (const auto& p : form->cycle().probes())
        p.socket->setConnectTimeout(400);
    form->Form_Load();
    ASSERT_TRUE(waitFor([&] { return events == 5; }));
    // ch1 is still trying; a pass abandons that attempt and starts another.
    EXPECT_EQ(row(3).socket->state(), Winsock::State::Connecting);
    EXPECT_EQ(caption(3), initial(3));
    events = 0;
    realm.set("ch1", realm::State::Up);
    form->Command1_Click();
    ASSERT_TRUE(waitFor([&] { return events >= 6; }));
    // Run past the abandoned attempt's timeout: it must not report "X".
    QTest::qWait(600);
    EXPECT_EQ(events, 6) << "only the new attempts report";
    EXPECT_EQ(caption(3), up(3));
    EXPECT_EQ(colour(3), 65280u);
}

TEST_P(ProbeCycle, SilentServerIsReportedDownAfterTheTimeout) {
    realm.set("login", realm::State::Silent);
    for (const auto& p : form->cycle().probes())
        p.socket->setConnectTimeout(300);
    QElapsedTimer clock;
    clock.start();
    form->Form_Load();
    ASSERT_TRUE(waitFor([&] { return caption(1) == down(1); }, 3000));
    EXPECT_GE(clock.elapsed(), 290);
    EXPECT_EQ(colour(1), 255u);
    EXPECT_EQ(row(1).socket->state(), Winsock::State::Error);
}

INSTANTIATE_TEST_SUITE_P(Programs, ProbeCycle,
                         ::testing::ValuesIn(testing_support::programsUnderTest()),
                         testing_support::programName);

} // namespace
