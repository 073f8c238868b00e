// Whoever starts the end-to-end tests, they run where the realm can bind its
// endpoints and nothing but loopback is reachable. ctest also runs this one as
// an ordinary user outside the suite's namespace (e2e_namespace_as_user).
#include "e2e/programdesktop.h"
#include "support/netnamespace.h"

namespace {

class OwnNamespace : public e2e::ProgramDesktop {};

TEST_F(OwnNamespace, TheRealmBindsItsEndpointsWithOnlyLoopbackAround) {
    startRealm();
    if (qEnvironmentVariable("VELL_NAMESPACE") == "host")
        GTEST_SKIP() << "running as root on this machine's own loopback (no user namespaces)";
    EXPECT_TRUE(testing_support::loopbackOnlyNamespace());
    EXPECT_TRUE(testing_support::resolverOnLoopback());
}

} // namespace
