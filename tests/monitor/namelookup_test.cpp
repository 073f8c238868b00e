// Names looked up off the UI thread: the answer comes back on the asker's
// thread, never from inside the call that asked, and never once abandoned,
// even when the asker is gone by the time the resolver returns.
#include "monitor/platform/posix/namelookup.h"
#include "support/netnamespace.h"
#include "support/testrealm.h"

#include <QCoreApplication>
#include <QThread>
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <thread>

using monitor::posix::LookupAnswer;
using monitor::posix::NameLookup;
using testing_support::localhostInHostsFile;
using testing_support::waitFor;

namespace {

// Waits without running the event loop until every worker has handed back
// its lookup, so an answer not dropped is posted but not yet delivered.
bool workersDone() {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (NameLookup::inFlight() > 0) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

constexpr const char* NoLocalhost = "/etc/hosts does not map localhost to 127.0.0.1";

bool hasLoopbackV4(const LookupAnswer& answer) {
    for (const auto& address : answer.addresses) {
        const auto* v4 = reinterpret_cast<const sockaddr_in*>(address.get());
        if (address.isIpv4() && ntohl(v4->sin_addr.s_addr) == INADDR_LOOPBACK)
            return true;
    }
    return false;
}

TEST(NameLookup, AnswerComesLaterOnTheAskersThread) {
    if (!localhostInHostsFile())
        GTEST_SKIP() << NoLocalhost;
    QObject receiver;
    int answers = 0;
    QThread* answeredOn = nullptr;
    LookupAnswer answer;
    NameLookup lookup("localhost", &receiver, [&](const LookupAnswer& a) {
        ++answers;
        answeredOn = QThread::currentThread();
        answer = a;
    });
    ASSERT_TRUE(workersDone());
    EXPECT_EQ(answers, 0) << "delivered without the event loop";
    ASSERT_TRUE(waitFor([&] { return answers == 1; }));
    EXPECT_EQ(answeredOn, receiver.thread());
    EXPECT_TRUE(hasLoopbackV4(answer)) << answer.error.toStdString();
    QCoreApplication::processEvents();
    EXPECT_EQ(answers, 1);
}

TEST(NameLookup, NameThatResolvesNowhereAnswersWithAReason) {
    if (!testing_support::loopbackOnlyNamespace() || !testing_support::resolverOnLoopback())
        GTEST_SKIP() << testing_support::loopbackOnlySkipReason().toStdString();
    QObject receiver;
    LookupAnswer answer;
    bool answered = false;
    // Reserved never to resolve; the name server asked is on loopback, where
    // none listens, so the resolver fails without connecting past loopback.
    NameLookup lookup("no-such-host.invalid", &receiver, [&](const LookupAnswer& a) {
        answered = true;
        answer = a;
    });
    ASSERT_TRUE(waitFor([&] { return answered; }, 10000));
    EXPECT_TRUE(answer.addresses.empty());
    EXPECT_FALSE(answer.error.isEmpty());
}

TEST(NameLookup, AbandonedLookupIsNeverAnsweredWhetherOrNotItsAnswerWasPosted) {
    if (!localhostInHostsFile())
        GTEST_SKIP() << NoLocalhost;
    QObject receiver;
    int answers = 0;
    // Dropped before the resolver returns, most likely.
    auto early = std::make_unique<NameLookup>("localhost", &receiver,
                                              [&](const LookupAnswer&) { ++answers; });
    early.reset();
    // Dropped after the answer was posted to the receiver.
    auto late = std::make_unique<NameLookup>("localhost", &receiver,
                                             [&](const LookupAnswer&) { ++answers; });
    ASSERT_TRUE(workersDone());
    late.reset();
    EXPECT_FALSE(waitFor([&] { return answers > 0; }, 200));
}

TEST(NameLookup, ReceiverGoneAfterItsLookupWasDroppedTakesThePostedAnswerWithIt) {
    if (!localhostInHostsFile())
        GTEST_SKIP() << NoLocalhost;
    // Under the sanitizers a delivery to the destroyed receiver would show.
    auto receiver = std::make_unique<QObject>();
    int answers = 0;
    auto lookup = std::make_unique<NameLookup>("localhost", receiver.get(),
                                               [&](const LookupAnswer&) { ++answers; });
    ASSERT_TRUE(workersDone());
    lookup.reset();
    receiver.reset();
    QCoreApplication::processEvents();
    EXPECT_EQ(answers, 0);
}

TEST(NameLookup, ManyLookupsAtOnceShareABoundedSetOfWorkers) {
    if (!localhostInHostsFile())
        GTEST_SKIP() << NoLocalhost;
    QObject receiver;
    constexpr int count = 3 * NameLookup::MaxWorkers;
    int answers = 0;
    int found = 0;
    std::vector<std::unique_ptr<NameLookup>> lookups;
    for (int i = 0; i < count; ++i) {
        lookups.push_back(
            std::make_unique<NameLookup>("localhost", &receiver, [&](const LookupAnswer& a) {
                ++answers;
                found += hasLoopbackV4(a) ? 1 : 0;
            }));
        EXPECT_LE(NameLookup::workers(), NameLookup::MaxWorkers);
    }
    ASSERT_TRUE(waitFor([&] { return answers == count; }, 10000)) << answers;
    EXPECT_EQ(found, count);
    EXPECT_TRUE(waitFor([] { return NameLookup::workers() == 0; }))
        << "workers end once nothing waits";
}

} // namespace
