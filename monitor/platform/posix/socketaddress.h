// An IPv4 or IPv6 address and port in the form the kernel takes it.
#pragma once

#include <netinet/in.h>
#include <sys/socket.h>

#include <cstdint>
#include <optional>
#include <string>

namespace monitor::posix {

class SocketAddress {
public:
    // The address a numeric host names: a dotted IPv4 address, or an IPv6
    // address with an optional %scope (an interface name or index) for a
    // link-local one. Empty for anything else, a name above all: a numeric
    // host never reaches the resolver.
    static std::optional<SocketAddress> numeric(const std::string& host);
    // The address of a resolver entry; empty for a family other than IPv4/6.
    static std::optional<SocketAddress> from(const sockaddr* address, socklen_t length);

    int family() const { return storage_.any.sa_family; }
    bool isIpv4() const { return family() == AF_INET; }
    void setPort(std::uint16_t port);

    const sockaddr* get() const { return &storage_.any; }
    socklen_t length() const;

private:
    SocketAddress() = default;

    union Storage {
        sockaddr any;
        sockaddr_in v4;
        sockaddr_in6 v6;
    } storage_{};
};

} // namespace monitor::posix
