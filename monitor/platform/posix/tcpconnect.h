// One TCP connection attempt on a non-blocking socket: a single connect(2),
// whose outcome the caller learns once the socket turns writable. Nothing
// here retries, as a probe must make exactly one attempt.
#pragma once

#include "graphics/platform/posix/filedescriptor.h"
#include "monitor/platform/posix/socketaddress.h"

#include <cstdint>
#include <optional>

namespace monitor::posix {

class TcpConnect {
public:
    // Opens the socket and starts the handshake. A failure known at once (on
    // loopback a refusal often comes back from connect(2) itself) is left in
    // startError() and the socket closed.
    explicit TcpConnect(const SocketAddress& to);

    // The errno of a failure known at start, else 0 (the handshake is under way).
    int startError() const { return startError_; }
    // The socket, -1 after a failure at start.
    int descriptor() const { return socket_.get(); }
    // True when the handshake has ended, either way, without waiting.
    bool handshakeEnded() const;
    // The handshake's outcome once the socket is writable: 0 connected, else an errno.
    int result() const;
    // The local port the connection was made from, if the system says.
    std::optional<std::uint16_t> localPort() const;

private:
    vell::posix::FileDescriptor socket_;
    int startError_ = 0;
};

} // namespace monitor::posix
