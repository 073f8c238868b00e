// Hosts given as names or as IPv6 addresses: still one attempt per Connect,
// with a name looked up off the UI thread within the connect timeout.
#include "monitor/controls/winsock.h"
#include "monitor/platform/posix/namelookup.h"
#include "support/netnamespace.h"
#include "support/testrealm.h"
#include "tools/realm/realm.h"

#include <QElapsedTimer>
#include <QTest>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using monitor::Winsock;
using testing_support::activeOpens;
using testing_support::localhostInHostsFile;
using testing_support::loopbackOnlyNamespace;
using testing_support::waitFor;

namespace {

// Waits, without running the event loop, until no lookup is left with the
// resolver: an answer not abandoned by then is posted but not delivered.
bool resolverIdle() {
    QElapsedTimer clock;
    clock.start();
    while (monitor::posix::NameLookup::inFlight() > 0) {
        if (clock.elapsed() > 10000)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

class WinsockHost : public ::testing::Test {
protected:
    void SetUp() override {
        QObject::connect(&socket, &Winsock::Connected, [this] { ++connects; });
        QObject::connect(&socket, &Winsock::Error, [this](int number) {
            ++errors;
            lastError = number;
        });
    }
    // One server, up, on the given address and a free port.
    bool serve(const char* address) {
        server = std::make_unique<realm::Realm>(
            std::vector<realm::Endpoint>{{"login", QHostAddress(address), 0}});
        if (!server->setState("login", realm::State::Up, &why))
            return false;
        socket.RemotePort = server->port("login");
        return true;
    }
    // Attempts made since the test began; -1 where they cannot be told apart
    // from other processes' (outside a private namespace).
    long long attempts() const { return counted ? activeOpens() - opensBefore : -1; }

    Winsock socket;
    std::unique_ptr<realm::Realm> server;
    QString why;
    int connects = 0;
    int errors = 0;
    int lastError = 0;
    const bool counted = loopbackOnlyNamespace();
    const long long opensBefore = activeOpens();
};

TEST_F(WinsockHost, NameIsLookedUpAfterConnectReturnsAndConnectedOnce) {
    if (!localhostInHostsFile())
        GTEST_SKIP() << "/etc/hosts does not map localhost to 127.0.0.1";
    ASSERT_TRUE(serve("127.0.0.1")) << why.toStdString();
    socket.RemoteHost = "localhost";
    socket.Connect();
    EXPECT_EQ(socket.state(), Winsock::State::Connecting);
    if (counted) {
        EXPECT_EQ(attempts(), 0) << "the lookup must not block Connect";
    }
    ASSERT_TRUE(waitFor([&] { return connects == 1 && server->acceptedCount() == 1; }));
    EXPECT_EQ(server->acceptedPeerPorts().front(), socket.boundPort());
    socket.Close();
    QTest::qWait(100);
    EXPECT_EQ(connects + errors, 1);
    if (counted) {
        EXPECT_EQ(attempts(), 1);
    }
}

TEST_F(WinsockHost, CloseAbandonsALookupInProgress) {
    if (!localhostInHostsFile())
        GTEST_SKIP() << "/etc/hosts does not map localhost to 127.0.0.1";
    ASSERT_TRUE(serve("127.0.0.1")) << why.toStdString();
    socket.RemoteHost = "localhost";
    for (int i = 0; i < 3; ++i) { // the later ones possibly while the first is still out
        socket.Connect();
        socket.Close();
        EXPECT_EQ(socket.state(), Winsock::State::Closed);
    }
    QTest::qWait(300);
    EXPECT_EQ(connects + errors, 0) << "an abandoned lookup reports nothing";
    EXPECT_EQ(server->acceptedCount(), 0) << "and connects nowhere";
    if (counted) {
        EXPECT_EQ(attempts(), 0);
    }
    socket.Connect();
    ASSERT_TRUE(waitFor([&] { return connects == 1; }));
}

TEST_F(WinsockHost, ControlDestroyedWhileItsLookupIsOutHearsNothingAndConnectsNowhere) {
    // Under the sanitizers a late answer reaching the destroyed control shows.
    if (!localhostInHostsFile())
        GTEST_SKIP() << "/etc/hosts does not map localhost to 127.0.0.1";
    ASSERT_TRUE(serve("127.0.0.1")) << why.toStdString();
    int heard = 0;
    for (const bool answerPosted : {false, true}) {
        auto doomed = std::make_unique<Winsock>();
        QObject::connect(doomed.get(), &Winsock::Connected, [&] { ++heard; });
        QObject::connect(doomed.get(), &Winsock::Error, [&] { ++heard; });
        doomed->RemoteHost = "localhost";
        doomed->RemotePort = socket.RemotePort;
        doomed->Connect();
        if (answerPosted) { // the resolver has returned; its answer waits in the event queue
            ASSERT_TRUE(resolverIdle());
        }
        doomed.reset();
        ASSERT_TRUE(resolverIdle());
        QTest::qWait(100);
    }
    EXPECT_EQ(heard, 0);
    EXPECT_EQ(server->acceptedCount(), 0);
    if (counted) {
        EXPECT_EQ(attempts(), 0);
    }
}

TEST_F(WinsockHost, NameThatResolvesNowhereIsHostNotFoundWithoutAnAttempt) {
    // Outside the suite's namespace the resolver would ask the machine's name
    // server; inside, it asks one on loopback, where none listens.
    if (!counted || !testing_support::resolverOnLoopback())
        GTEST_SKIP() << testing_support::loopbackOnlySkipReason().toStdString();
    socket.RemoteHost = "no-such-host.invalid"; // reserved never to resolve
    socket.RemotePort = 9;
    QElapsedTimer clock;
    clock.start();
    socket.Connect();
    ASSERT_TRUE(waitFor([&] { return errors == 1; }, Winsock::DefaultConnectTimeoutMs + 2000));
    std::cout << "[          ] lookup failed after " << clock.elapsed() << " ms\n";
    EXPECT_EQ(lastError, Winsock::ErrHostNotFound) << "not the connect timeout";
    EXPECT_EQ(socket.state(), Winsock::State::Error);
    EXPECT_EQ(attempts(), 0);
    QTest::qWait(100);
    EXPECT_EQ(connects + errors, 1);
}

TEST_F(WinsockHost, Ipv6AddressConnectsAndIsRefused) {
    if (!serve("::1"))
        GTEST_SKIP() << "no IPv6 loopback here: " << why.toStdString();
    socket.RemoteHost = "::1";
    socket.Connect();
    if (counted) {
        EXPECT_EQ(attempts(), 1) << "a numeric address goes straight to connect(2)";
    }
    ASSERT_TRUE(waitFor([&] { return connects == 1 && server->acceptedCount() == 1; }));
    EXPECT_EQ(server->acceptedPeerPorts().front(), socket.boundPort());
    socket.Close();
    ASSERT_TRUE(server->setState("login", realm::State::Down));
    socket.Connect();
    ASSERT_TRUE(waitFor([&] { return errors == 1; }));
    EXPECT_EQ(lastError, Winsock::ErrConnectionRefused);
    EXPECT_EQ(connects, 1);
}

} // namespace
