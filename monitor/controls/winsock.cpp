#include "monitor/controls/winsock.h"

#include "runtime/runtimeerror.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QNetworkInterface>
#include <QSocketNotifier>

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

// No proxy is consulted: the control opens a plain socket, so a probe always
// reaches the server itself and never a proxy answering in its place.

namespace monitor {
namespace {

union SocketAddress {
    sockaddr any;
    sockaddr_in v4;
    sockaddr_in6 v6;
};

// The address as the kernel takes it; 0 for an address of neither family.
socklen_t toSocketAddress(const QHostAddress& address, quint16 port, SocketAddress& out) {
    std::memset(&out, 0, sizeof out);
    if (address.protocol() == QAbstractSocket::IPv4Protocol) {
        out.v4.sin_family = AF_INET;
        out.v4.sin_port = htons(port);
        out.v4.sin_addr.s_addr = htonl(address.toIPv4Address());
        return sizeof out.v4;
    }
    if (address.protocol() == QAbstractSocket::IPv6Protocol) {
        out.v6.sin6_family = AF_INET6;
        out.v6.sin6_port = htons(port);
        const Q_IPV6ADDR bytes = address.toIPv6Address();
        std::memcpy(&out.v6.sin6_addr, bytes.c, sizeof bytes.c);
        if (!address.scopeId().isEmpty()) // a link-local address names its interface
            out.v6.sin6_scope_id =
                quint32(QNetworkInterface::interfaceIndexFromName(address.scopeId()));
        return sizeof out.v6;
    }
    return 0;
}

int winsockNumber(int error) {
    switch (error) {
    case ECONNREFUSED:
        return Winsock::ErrConnectionRefused;
    case ETIMEDOUT:
        return Winsock::ErrTimedOut;
    case ENETUNREACH:
    case EHOSTUNREACH:
    case ENETDOWN:
    case EHOSTDOWN:
        return Winsock::ErrNetworkUnreachable;
    default:
        return Winsock::ErrConnectionAborted;
    }
}

} // namespace

void Winsock::Descriptor::reset(int fd) {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = fd;
}

Winsock::Winsock(QObject* parent) : QObject(parent) {
    timeout_.setSingleShot(true);
    timeout_.setTimerType(Qt::PreciseTimer); // a coarse timer may fire 5 % early
    connect(&timeout_, &QTimer::timeout, this, [this] {
        if (state_ != State::Connecting)
            return;
        // A handshake that completed in the same turn as the deadline wins.
        if (writable_) {
            pollfd p{socket_.get(), POLLOUT, 0};
            if (::poll(&p, 1, 0) > 0) {
                connectFinished();
                return;
            }
        }
        finish(false, ErrTimedOut, "Connection timed out");
    });
}

Winsock::~Winsock() {
    release();
}

void Winsock::Connect() {
    if (state_ != State::Closed)
        throw vell::RuntimeError(ErrInvalidState, "Winsock", "Invalid operation at current state");
    const quint64 attempt = ++attempt_;
    state_ = State::Connecting;
    timeout_.start(timeoutMs_); // one deadline for the lookup and the handshake
    const QString host = RemoteHost.trimmed();
    const QHostAddress address(host);
    if (!address.isNull()) {
        connectTo(address); // numeric: never handed to the resolver
        return;
    }
    if (host.isEmpty()) {
        finish(false, ErrHostNotFound, "No host given");
        return;
    }
    // The lookup runs off the UI thread; its answer comes back as an event.
    // An abandoned lookup is left to finish and its answer ignored (the
    // attempt number has moved on): aborting one leaks Qt's callback.
    lookingUp_ = true;
    QHostInfo::lookupHost(host, this,
                          [this, attempt](const QHostInfo& info) { resolved(attempt, info); });
}

void Winsock::Close() {
    ++attempt_;
    release();
    state_ = State::Closed;
}

void Winsock::release() {
    timeout_.stop();
    lookingUp_ = false;
    writable_.reset(); // the notifier goes before its descriptor
    socket_.reset();
}

void Winsock::resolved(quint64 attempt, const QHostInfo& info) {
    if (attempt != attempt_ || state_ != State::Connecting || !lookingUp_)
        return; // abandoned by Close, or answered after the deadline
    lookingUp_ = false;
    const QList<QHostAddress> addresses = info.addresses();
    if (info.error() != QHostInfo::NoError || addresses.isEmpty()) {
        finish(false, ErrHostNotFound, info.errorString());
        return;
    }
    // One attempt per Connect: the first IPv4 address, else the first one.
    const auto v4 = std::find_if(addresses.begin(), addresses.end(), [](const QHostAddress& a) {
        return a.protocol() == QAbstractSocket::IPv4Protocol;
    });
    connectTo(v4 != addresses.end() ? *v4 : addresses.first());
}

void Winsock::connectTo(const QHostAddress& address) {
    SocketAddress to;
    const socklen_t length = toSocketAddress(address, RemotePort, to);
    if (length == 0) {
        finish(false, ErrHostNotFound, "Not an IP address: " + address.toString());
        return;
    }
    socket_.reset(::socket(to.any.sa_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!socket_) {
        const int error = errno;
        finish(false, winsockNumber(error), qt_error_string(error));
        return;
    }
    // On loopback a refusal often comes back from connect(2) itself.
    if (::connect(socket_.get(), &to.any, length) != 0 && errno != EINPROGRESS) {
        const int error = errno;
        finish(false, winsockNumber(error), qt_error_string(error));
        return;
    }
    // Writable once the handshake has ended, either way.
    writable_ = std::make_unique<QSocketNotifier>(socket_.get(), QSocketNotifier::Write);
    connect(writable_.get(), &QSocketNotifier::activated, this, &Winsock::connectFinished);
}

void Winsock::connectFinished() {
    if (state_ != State::Connecting || !socket_)
        return;
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(socket_.get(), SOL_SOCKET, SO_ERROR, &error, &length) != 0)
        error = errno;
    if (error != 0) {
        finish(false, winsockNumber(error), qt_error_string(error));
        return;
    }
    SocketAddress local;
    length = sizeof local;
    if (::getsockname(socket_.get(), &local.any, &length) == 0)
        boundPort_ =
            ntohs(local.any.sa_family == AF_INET6 ? local.v6.sin6_port : local.v4.sin_port);
    finish(true, 0, {});
}

void Winsock::finish(bool ok, int number, const QString& description) {
    state_ = ok ? State::Connected : State::Error;
    if (ok) {
        timeout_.stop();
        writable_.reset(); // the connection stays open until Close
    } else {
        release();
    }
    // The answer may be known inside Connect (a refusal from connect(2)); the
    // event still comes as an event of its own, after Connect has returned.
    QMetaObject::invokeMethod(
        this,
        [this, attempt = attempt_, ok, number, description] {
            if (attempt != attempt_)
                return; // abandoned by Close in the meantime
            if (ok) {
                emit Connected();
                return;
            }
            bool cancelDisplay = false;
            emit Error(number, description, number, "Winsock", QString(), 0, &cancelDisplay);
        },
        Qt::QueuedConnection);
}

} // namespace monitor
