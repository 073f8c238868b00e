#include "monitor/platform/posix/socketaddress.h"

#include <arpa/inet.h>
#include <net/if.h>

#include <charconv>
#include <cstring>

namespace monitor::posix {
namespace {

// An interface index given as a number, else looked up by name; 0 (no
// scope) for an interface that does not exist, which connect(2) then refuses.
std::uint32_t interfaceIndex(const std::string& scope) {
    std::uint32_t index = 0;
    const char* end = scope.data() + scope.size();
    const auto [last, error] = std::from_chars(scope.data(), end, index);
    if (error == std::errc() && last == end)
        return index;
    return ::if_nametoindex(scope.c_str());
}

} // namespace

std::optional<SocketAddress> SocketAddress::numeric(const std::string& host) {
    SocketAddress address;
    if (::inet_pton(AF_INET, host.c_str(), &address.storage_.v4.sin_addr) == 1) {
        address.storage_.v4.sin_family = AF_INET;
        return address;
    }
    const std::string::size_type percent = host.rfind('%');
    const std::string bare = host.substr(0, percent);
    if (::inet_pton(AF_INET6, bare.c_str(), &address.storage_.v6.sin6_addr) != 1)
        return std::nullopt;
    address.storage_.v6.sin6_family = AF_INET6;
    if (percent != std::string::npos && percent + 1 < host.size()) // a link-local address
        address.storage_.v6.sin6_scope_id = interfaceIndex(host.substr(percent + 1));
    return address;
}

std::optional<SocketAddress> SocketAddress::from(const sockaddr* from, socklen_t length) {
    SocketAddress address;
    if (from->sa_family == AF_INET && length >= socklen_t(sizeof(sockaddr_in))) {
        std::memcpy(&address.storage_.v4, from, sizeof(sockaddr_in));
        return address;
    }
    if (from->sa_family == AF_INET6 && length >= socklen_t(sizeof(sockaddr_in6))) {
        std::memcpy(&address.storage_.v6, from, sizeof(sockaddr_in6));
        return address;
    }
    return std::nullopt;
}

void SocketAddress::setPort(std::uint16_t port) {
    if (isIpv4())
        storage_.v4.sin_port = htons(port);
    else
        storage_.v6.sin6_port = htons(port);
}

socklen_t SocketAddress::length() const {
    return isIpv4() ? sizeof storage_.v4 : sizeof storage_.v6;
}

} // namespace monitor::posix
