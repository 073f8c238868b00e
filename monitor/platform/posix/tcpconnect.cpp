#include "monitor/platform/posix/tcpconnect.h"

#include <cerrno>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

// No proxy is consulted: a plain socket always reaches the server itself and
// never a proxy answering in its place.

namespace monitor::posix {

TcpConnect::TcpConnect(const SocketAddress& to) {
    socket_ = vell::posix::FileDescriptor(
        ::socket(to.family(), SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!socket_.valid()) {
        startError_ = errno;
        return;
    }
    if (::connect(socket_.get(), to.get(), to.length()) != 0 && errno != EINPROGRESS) {
        startError_ = errno;
        socket_ = {};
    }
}

bool TcpConnect::handshakeEnded() const {
    pollfd p{socket_.get(), POLLOUT, 0};
    return socket_.valid() && ::poll(&p, 1, 0) > 0;
}

int TcpConnect::result() const {
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(socket_.get(), SOL_SOCKET, SO_ERROR, &error, &length) != 0)
        error = errno;
    return error;
}

std::optional<std::uint16_t> TcpConnect::localPort() const {
    union {
        sockaddr any;
        sockaddr_in v4;
        sockaddr_in6 v6;
    } local{};
    socklen_t length = sizeof local;
    if (::getsockname(socket_.get(), &local.any, &length) != 0)
        return std::nullopt;
    return ntohs(local.any.sa_family == AF_INET6 ? local.v6.sin6_port : local.v4.sin_port);
}

} // namespace monitor::posix
