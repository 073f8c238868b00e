// Which hosts count as numeric addresses (and so never reach the resolver),
// and the address each one names, scope included.
#include "monitor/platform/posix/socketaddress.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <net/if.h>

using monitor::posix::SocketAddress;

namespace {

// The address and port as text, read back from what the kernel would get.
std::string text(const SocketAddress& address) {
    char buffer[INET6_ADDRSTRLEN] = {};
    const sockaddr* raw = address.get();
    if (raw->sa_family == AF_INET) {
        const auto* v4 = reinterpret_cast<const sockaddr_in*>(raw);
        inet_ntop(AF_INET, &v4->sin_addr, buffer, sizeof buffer);
        return std::string(buffer) + ":" + std::to_string(ntohs(v4->sin_port));
    }
    const auto* v6 = reinterpret_cast<const sockaddr_in6*>(raw);
    inet_ntop(AF_INET6, &v6->sin6_addr, buffer, sizeof buffer);
    return "[" + std::string(buffer) + "%" + std::to_string(v6->sin6_scope_id) +
           "]:" + std::to_string(ntohs(v6->sin6_port));
}

TEST(NumericHost, AddressesOfBothFamiliesAreNumericWithThePortSetLater) {
    const std::pair<const char*, const char*> cases[] = {
        {"127.29.0.1", "127.29.0.1:29000"},
        {"::1", "[::1%0]:29000"},
        {"::ffff:127.0.0.1", "[::ffff:127.0.0.1%0]:29000"},
        {"fe80::1%7", "[fe80::1%7]:29000"},
        {"fe80::1%", "[fe80::1%0]:29000"}, // an empty scope names no interface
    };
    for (const auto& [host, expected] : cases) {
        auto address = SocketAddress::numeric(host);
        ASSERT_TRUE(address) << host;
        address->setPort(29000);
        EXPECT_EQ(text(*address), expected) << host;
        EXPECT_EQ(address->isIpv4(), address->family() == AF_INET) << host;
        EXPECT_EQ(address->length(), address->isIpv4() ? sizeof(sockaddr_in) : sizeof(sockaddr_in6))
            << host;
    }
}

TEST(NumericHost, LinkLocalScopeByInterfaceNameBecomesItsIndex) {
    const unsigned loopback = if_nametoindex("lo");
    if (loopback == 0)
        GTEST_SKIP() << "no interface named lo";
    const auto address = SocketAddress::numeric("fe80::1%lo");
    ASSERT_TRUE(address);
    EXPECT_EQ(text(*address), "[fe80::1%" + std::to_string(loopback) + "]:0");
    const auto unknown = SocketAddress::numeric("fe80::1%no-such-interface");
    ASSERT_TRUE(unknown) << "still an address; connect(2) judges the missing scope";
    EXPECT_EQ(text(*unknown), "[fe80::1%0]:0");
}

TEST(NumericHost, NamesAndMalformedAddressesAreNotNumeric) {
    for (const char* host : {"localhost", "no-such-host.invalid", "", "127.0.0.1%lo", "127.0.0.256",
                             "::1::2", "[::1]", "127.0.0.1 "}) {
        EXPECT_FALSE(SocketAddress::numeric(host)) << '"' << host << '"';
    }
}

} // namespace
