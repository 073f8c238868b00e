// Each Connect is one TCP attempt, as the kernel counts them: a pass costs six.
#include "formfixture.h"
#include "support/netnamespace.h"

#include <QTest>

using monitor::Winsock;
using testing_support::activeOpens;
using testing_support::loopbackOnlyNamespace;
using testing_support::waitFor;

namespace {

#define SKIP_OUTSIDE_PRIVATE_NAMESPACE()                                                           \
    if (!loopbackOnlyNamespace())                                                                  \
    GTEST_SKIP() << testing_support::loopbackOnlySkipReason().toStdString()

TEST(WinsockAttempts, OneConnectToARefusedPortIsOneAttemptMadeInsideConnect) {
    SKIP_OUTSIDE_PRIVATE_NAMESPACE();
    testing_support::TestRealm realm;
    realm.set("login", realm::State::Down);
    Winsock socket;
    socket.RemoteHost = realm.realm().endpoints().at(1).address.toString();
    socket.RemotePort = realm.realm().port("login");
    int errors = 0;
    QObject::connect(&socket, &Winsock::Error, [&] { ++errors; });

    const long long before = activeOpens();
    ASSERT_GE(before, 0);
    socket.Connect();
    // A numeric host goes straight to connect(2): nothing is looked up first.
    EXPECT_EQ(activeOpens() - before, 1);
    ASSERT_TRUE(waitFor([&] { return errors == 1; }));
    QTest::qWait(300); // room for any second attempt
    EXPECT_EQ(activeOpens() - before, 1);
    EXPECT_EQ(errors, 1);
}

TEST_P(ProgramWindow, TenRefreshesAgainstRefusingServersMakeSixtyAttempts) {
    SKIP_OUTSIDE_PRIVATE_NAMESPACE();
    realm.realm().setAll(realm::State::Down);
    int events = 0;
    for (const auto& p : form->cycle().probes()) {
        QObject::connect(p.socket, &Winsock::Connected, form.get(), [&] { ++events; });
        QObject::connect(p.socket, &Winsock::Error, form.get(), [&] { ++events; });
    }
    const long long before = activeOpens();
    ASSERT_GE(before, 0);
    for (int i = 1; i <= 10; ++i) {
        form->Command1_Click();
        ASSERT_TRUE(waitFor([&] { return events == 6 * i; })) << "pass " << i;
    }
    QTest::qWait(300); // room for any second attempt
    EXPECT_EQ(events, 60);
    EXPECT_EQ(activeOpens() - before, 60) << "one attempt per probe per pass";
}

} // namespace
