// The socket control's contract: one event per attempt that is not abandoned,
// none for an abandoned one, Close harmless in every state.
#include "monitor/controls/winsock.h"
#include "runtime/runtimeerror.h"
#include "support/testrealm.h"

#include <QTest>
#include <gtest/gtest.h>

using monitor::Winsock;
using testing_support::TestRealm;
using testing_support::waitFor;

namespace {

struct Recorder {
    explicit Recorder(Winsock& s) {
        QObject::connect(&s, &Winsock::Connected, [this] { ++connects; });
        QObject::connect(&s, &Winsock::Error,
                         [this](int number, const QString&, int, const QString&, const QString&,
                                int, bool* cancel) {
                             ++errors;
                             lastError = number;
                             cancelSeen = cancel != nullptr && !*cancel;
                         });
    }
    int connects = 0;
    int errors = 0;
    int lastError = 0;
    bool cancelSeen = false;
};

class WinsockContract : public ::testing::Test {
protected:
    void aim(const QString& server) {
        socket.RemoteHost = realm.realm()
                                .endpoints()
                                .at(size_t(TestRealm::names().indexOf(server)))
                                .address.toString();
        socket.RemotePort = realm.realm().port(server);
    }
    TestRealm realm;
    Winsock socket;
    Recorder rec{socket};
};

TEST_F(WinsockContract, AcceptedAttemptRaisesOneConnectEvent) {
    aim("login");
    socket.Connect();
    EXPECT_EQ(socket.state(), Winsock::State::Connecting);
    EXPECT_EQ(rec.connects, 0) << "the event never comes from inside Connect";
    ASSERT_TRUE(waitFor([&] { return rec.connects == 1; }));
    EXPECT_EQ(socket.state(), Winsock::State::Connected);
    QTest::qWait(100);
    EXPECT_EQ(rec.connects + rec.errors, 1);
    socket.Close();
    EXPECT_EQ(socket.state(), Winsock::State::Closed);
}

TEST_F(WinsockContract, RefusedAttemptRaisesOneErrorAndStaysInError) {
    realm.set("ch2", realm::State::Down);
    aim("ch2");
    socket.Connect();
    ASSERT_TRUE(waitFor([&] { return rec.errors == 1; }));
    EXPECT_EQ(rec.lastError, Winsock::ErrConnectionRefused);
    EXPECT_TRUE(rec.cancelSeen);
    EXPECT_EQ(socket.state(), Winsock::State::Error);
    QTest::qWait(100);
    EXPECT_EQ(rec.connects + rec.errors, 1);
    // Connect is only valid on a closed socket; Close makes it ready again.
    EXPECT_THROW(socket.Connect(), vell::RuntimeError);
    socket.Close();
    realm.set("ch2", realm::State::Up);
    socket.Connect();
    ASSERT_TRUE(waitFor([&] { return rec.connects == 1; }));
}

TEST_F(WinsockContract, FailureKnownInsideConnectIsReportedOnlyAfterItReturns) {
    // Loopback's broadcast address fails in connect(2) itself (no route for
    // TCP, nothing sent), and an empty host fails before any socket: both
    // answers are known before Connect returns, and the event must wait.
    const std::pair<const char*, int> cases[] = {
        {"127.255.255.255", Winsock::ErrNetworkUnreachable}, {"", Winsock::ErrHostNotFound}};
    for (const auto& [host, number] : cases) {
        socket.RemoteHost = host;
        socket.RemotePort = 9;
        rec.errors = 0;
        socket.Connect();
        EXPECT_EQ(rec.errors, 0) << host << ": the Error event came from inside Connect";
        ASSERT_TRUE(waitFor([&] { return rec.errors == 1; })) << host;
        EXPECT_EQ(rec.lastError, number) << host;
        EXPECT_EQ(socket.state(), Winsock::State::Error);
        socket.Close();
    }
    EXPECT_EQ(rec.connects, 0);
}

TEST_F(WinsockContract, CloseIsHarmlessInEveryStateAndSilencesAnAbandonedAttempt) {
    socket.Close(); // never opened
    socket.Close();
    aim("update");
    socket.Connect();
    socket.Close(); // connecting, and on loopback possibly already settled inside Qt
    EXPECT_EQ(socket.state(), Winsock::State::Closed);
    QTest::qWait(150);
    EXPECT_EQ(rec.connects + rec.errors, 0);

    socket.Connect();
    ASSERT_TRUE(waitFor([&] { return rec.connects == 1; }));
    socket.Close(); // connected
    socket.Close();
    EXPECT_EQ(socket.state(), Winsock::State::Closed);
}

TEST_F(WinsockContract, SilentEndpointTimesOutOnceWithTheTimeoutNumber) {
    realm.set("ch3", realm::State::Silent);
    aim("ch3");
    socket.setConnectTimeout(250);
    socket.Connect();
    QTest::qWait(150);
    EXPECT_EQ(rec.errors, 0);
    ASSERT_TRUE(waitFor([&] { return rec.errors == 1; }, 2000));
    EXPECT_EQ(rec.lastError, Winsock::ErrTimedOut);
    QTest::qWait(300);
    EXPECT_EQ(rec.errors, 1);
}

TEST_F(WinsockContract, AbandonedSilentAttemptNeverReports) {
    realm.set("ch3", realm::State::Silent);
    aim("ch3");
    socket.setConnectTimeout(200);
    socket.Connect();
    socket.Close();
    QTest::qWait(400);
    EXPECT_EQ(rec.connects + rec.errors, 0);
}

} // namespace
