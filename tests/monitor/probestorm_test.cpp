// Ten thousand Refresh clicks and a hundred thousand countdown ticks against
// servers that accept, refuse and hang: nothing leaks, every attempt that is
// not abandoned by a close gets exactly one answer and an abandoned one none,
// and the indicators end on the last answers.
#include "formfixture.h"
#include "support/testseed.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QTimer>

#include <dirent.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <iostream>
#include <random>

using monitor::Winsock;
using realm::State;

namespace {

struct Descriptors {
    int all = 0;
    int sockets = 0;
};

Descriptors openDescriptors() {
    Descriptors d;
    DIR* dir = ::opendir("/proc/self/fd");
    if (!dir)
        return {-1, -1};
    const int own = ::dirfd(dir);
    while (const dirent* e = ::readdir(dir)) {
        if (e->d_name[0] == '.' || std::atoi(e->d_name) == own)
            continue;
        ++d.all;
        char target[64] = {};
        const std::string path = std::string("/proc/self/fd/") + e->d_name;
        if (::readlink(path.c_str(), target, sizeof target - 1) > 0 &&
            std::string(target).rfind("socket:", 0) == 0)
            ++d.sockets;
    }
    ::closedir(dir);
    return d;
}

// What each probe socket owes: an attempt is pending from its Connect until
// its one event, or until the next pass's Close abandons it.
struct Ledger {
    long long attempts = 0;
    long long events = 0;
    long long abandoned = 0;
    long long timeouts = 0;
    long long passes = 0;
    std::array<bool, 6> pending{};
    std::vector<std::string> faults;

    void pass() {
        ++passes;
        for (bool& p : pending) {
            abandoned += p;
            p = true;
        }
        attempts += 6;
    }
    void answer(int row, const char* what) {
        if (!pending[size_t(row)]) {
            fault(std::string(what) + " event for row " + std::to_string(row) +
                  " with no attempt pending");
            return;
        }
        pending[size_t(row)] = false;
        ++events;
    }
    bool anyPending() const {
        for (bool p : pending)
            if (p)
                return true;
        return false;
    }
    void fault(std::string what) {
        if (faults.size() < 10)
            faults.push_back(std::move(what));
    }
};

class ProbeStorm : public ProgramWindow {
protected:
    static constexpr int Refreshes = 10000;
    static constexpr int TicksPerRefresh = 10; // 100,000 ticks in all
    static constexpr int StormTimeoutMs = 3;   // hanging attempts time out or are abandoned
    static constexpr int FinalTimeoutMs = 300;

    void SetUp() override {
        ProgramWindow::SetUp();
        // The storm calls the handler itself; a run that takes over a minute
        // on a loaded machine must not get a real tick, and a pass, besides.
        QTimer* timer1 = form->findChild<QTimer*>("Timer1");
        ASSERT_NE(timer1, nullptr);
        timer1->stop();
        for (int r = 0; r < 6; ++r) {
            Winsock* s = form->cycle().probes()[size_t(r)].socket;
            s->setConnectTimeout(StormTimeoutMs);
            QObject::connect(s, &Winsock::Connected, form.get(),
                             [this, r] { ledger.answer(r, "Connect"); });
            QObject::connect(s, &Winsock::Error, form.get(), [this, r, s](int number) {
                if (s->state() != Winsock::State::Error)
                    ledger.fault("Error event on a socket not in its error state");
                ledger.timeouts += number == Winsock::ErrTimedOut;
                ledger.answer(r, "Error");
            });
        }
    }

    void setTimeouts(int ms) {
        for (const auto& p : form->cycle().probes())
            p.socket->setConnectTimeout(ms);
    }
    void setStates(const std::array<State, 6>& states) {
        for (int r = 0; r < 6; ++r)
            realm.set(testing_support::TestRealm::names()[r], states[size_t(r)]);
    }
    // Every socket of a pass has been given an attempt.
    void checkPassStarted() {
        for (const auto& p : form->cycle().probes())
            if (p.socket->state() == Winsock::State::Closed)
                ledger.fault("a pass left a socket closed");
    }
    void refresh() {
        ledger.pass();
        form->Command1_Click();
        checkPassStarted();
    }
    void tick() {
        const bool passes = form->cycle().lTicks() == 10;
        if (passes)
            ledger.pass();
        form->Timer1_Timer();
        if (passes)
            checkPassStarted();
        if (form->cycle().lTicks() < 0 || form->cycle().lTicks() > 10)
            ledger.fault("lTicks out of range: " + std::to_string(form->cycle().lTicks()));
    }
    int liveSockets() const {
        int n = 0;
        for (const auto& p : form->cycle().probes())
            n += p.socket->socketDescriptor() >= 0;
        return n;
    }
    // Runs the event loop until every attempt has answered.
    bool settle(int ms = 5000) {
        const QDeadlineTimer deadline(ms);
        QTimer wake; // processEvents below waits for an event; this is one
        wake.start(20);
        while (ledger.anyPending() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return !ledger.anyPending();
    }
    // A pass against the given states, run to its end: the point where
    // descriptors are compared, the realm being the same each time.
    Descriptors measureAt(const std::array<State, 6>& states) {
        setStates(states);
        setTimeouts(FinalTimeoutMs);
        refresh();
        EXPECT_TRUE(settle());
        setTimeouts(StormTimeoutMs);
        return openDescriptors();
    }

    Ledger ledger;
};

TEST_P(ProbeStorm, RefreshesAndTicksLeakNothingAndAnswerEachAttemptOnce) {
    const std::array<State, 6> measured{State::Up, State::Down,   State::Silent,
                                        State::Up, State::Silent, State::Down};
    const testing_support::TestSeed seed;
    std::mt19937 random(seed.value());
    std::array<State, 6> states{};
    states.fill(State::Up);
    const auto reroll = [&](bool withSilent) {
        for (State& s : states) {
            if (s == State::Silent && !withSilent)
                continue; // making a silent server costs 100 ms: rarely
            const int pick = int(random() % (withSilent ? 6 : 2));
            s = pick == 0 ? State::Down : pick == 1 ? State::Up : pick == 2 ? State::Silent : s;
        }
        setStates(states);
    };

    QElapsedTimer clock;
    clock.start();
    ledger.pass();
    load(); // the start-up pass
    Descriptors warm;
    int maxSockets = 0;
    int maxLive = 0;
    for (int i = 0; i < Refreshes; ++i) {
        if (i == 200) { // warmed up: Qt's own descriptors are open by now
            warm = measureAt(measured);
            setStates(states);
        }
        if (i % 1000 == 0)
            reroll(true);
        else if (i % 25 == 0)
            reroll(false);
        refresh();
        QCoreApplication::processEvents();
        for (int t = 0; t < TicksPerRefresh; ++t) {
            tick();
            QCoreApplication::processEvents();
        }
        maxLive = std::max(maxLive, liveSockets());
        if (i % 10 == 9) { // now and then every answer comes in, timeouts too
            ASSERT_TRUE(settle()) << "an attempt never answered, refresh " << i;
            if (i % 500 == 499)
                maxSockets = std::max(maxSockets, openDescriptors().sockets);
        }
    }
    const Descriptors end = measureAt(measured);
    const qint64 ms = clock.elapsed();

    std::cout << "[  STORM   ] " << GetParam().name << ": " << ledger.passes << " passes, "
              << ledger.attempts << " attempts, " << ledger.events << " events (" << ledger.timeouts
              << " timed out), " << ledger.abandoned << " abandoned; fds " << warm.all << " -> "
              << end.all << " (sockets " << warm.sockets << " -> " << end.sockets << ", at most "
              << maxSockets << " between); live probe sockets at most " << maxLive << "; " << ms
              << " ms\n";

    for (const std::string& f : ledger.faults)
        ADD_FAILURE() << f;
    EXPECT_EQ(ledger.events + ledger.abandoned, ledger.attempts)
        << "every attempt answered once or abandoned";
    EXPECT_GT(ledger.abandoned, 0);
    EXPECT_GT(ledger.timeouts, 0) << "some hanging attempts ran to their timeout";
    EXPECT_EQ(ledger.passes, 1 + Refreshes + Refreshes * TicksPerRefresh / 11 + 2);
    EXPECT_LE(end.all, warm.all) << "descriptors grew";
    EXPECT_LE(end.sockets, warm.sockets) << "sockets grew";
    EXPECT_LE(maxSockets, warm.sockets + 6 * 3 + 6) << "sockets piled up during the storm";
    EXPECT_LE(maxLive, 6);
    EXPECT_EQ(liveSockets(), 0) << "a settled probe holds no socket";

    // The last answers: up shows the up caption in green, refused and
    // hanging ones the down caption in red.
    for (int r = 0; r < 6; ++r) {
        const auto& p = form->cycle().probes()[size_t(r)];
        const bool isUp = measured[size_t(r)] == State::Up;
        EXPECT_EQ(p.indicator->caption(), isUp ? up(r) : down(r)) << "row " << r;
        EXPECT_EQ(p.indicator->foreColor(), isUp ? 65280u : 255u) << "row " << r;
        EXPECT_EQ(p.socket->state(), isUp ? Winsock::State::Closed : Winsock::State::Error);
    }
}

INSTANTIATE_TEST_SUITE_P(Programs, ProbeStorm,
                         ::testing::ValuesIn(testing_support::programsUnderTest()),
                         testing_support::programName);

} // namespace
