#include "monitor/controls/winsock.h"

#include "monitor/platform/posix/namelookup.h"
#include "monitor/platform/posix/socketaddress.h"
#include "monitor/platform/posix/tcpconnect.h"
#include "runtime/runtimeerror.h"

#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>

namespace monitor {
namespace {

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

Winsock::Winsock(QObject* parent) : QObject(parent) {
    timeout_.setSingleShot(true);
    timeout_.setTimerType(Qt::PreciseTimer); // a coarse timer may fire 5 % early
    connect(&timeout_, &QTimer::timeout, this, [this] {
        if (state_ != State::Connecting)
            return;
        // A handshake that completed in the same turn as the deadline wins.
        if (writable_ && socket_->handshakeEnded()) {
            connectFinished();
            return;
        }
        finish(false, ErrTimedOut, "Connection timed out");
    });
}

Winsock::~Winsock() {
    release();
}

int Winsock::socketDescriptor() const {
    return socket_ ? socket_->descriptor() : -1;
}

void Winsock::Connect() {
    if (state_ != State::Closed)
        throw vell::RuntimeError(vell::InvalidOperation, "Winsock");
    const quint64 attempt = ++attempt_;
    state_ = State::Connecting;
    timeout_.start(timeoutMs_); // one deadline for the lookup and the handshake
    const QString host = RemoteHost.trimmed();
    if (const auto address = posix::SocketAddress::numeric(host.toStdString())) {
        connectTo(*address); // an address as written: never handed to the resolver
        return;
    }
    if (host.isEmpty()) {
        finish(false, ErrHostNotFound, "No host given");
        return;
    }
    // The lookup runs off the UI thread; its answer comes back as an event.
    // Dropping it (Close, the deadline, this control's end) drops the answer.
    lookup_ = std::make_unique<posix::NameLookup>(
        host, this,
        [this, attempt](const posix::LookupAnswer& answer) { resolved(attempt, answer); });
}

void Winsock::Close() {
    ++attempt_;
    release();
    state_ = State::Closed;
}

void Winsock::release() {
    timeout_.stop();
    lookup_.reset();
    writable_.reset(); // the notifier goes before its descriptor
    socket_.reset();
}

void Winsock::resolved(quint64 attempt, const posix::LookupAnswer& answer) {
    if (attempt != attempt_ || state_ != State::Connecting || !lookup_)
        return; // abandoned by Close, or answered after the deadline
    lookup_.reset();
    const std::vector<posix::SocketAddress>& addresses = answer.addresses;
    if (addresses.empty()) {
        finish(false, ErrHostNotFound, answer.error);
        return;
    }
    // One attempt per Connect: the first IPv4 address, else the first one.
    const auto v4 = std::find_if(addresses.begin(), addresses.end(),
                                 [](const posix::SocketAddress& a) { return a.isIpv4(); });
    connectTo(v4 != addresses.end() ? *v4 : addresses.front());
}

void Winsock::connectTo(posix::SocketAddress address) {
    address.setPort(RemotePort);
    socket_ = std::make_unique<posix::TcpConnect>(address);
    if (const int error = socket_->startError()) {
        finish(false, winsockNumber(error), qt_error_string(error));
        return;
    }
    // Writable once the handshake has ended, either way.
    writable_ = std::make_unique<QSocketNotifier>(socket_->descriptor(), QSocketNotifier::Write);
    connect(writable_.get(), &QSocketNotifier::activated, this, &Winsock::connectFinished);
}

void Winsock::connectFinished() {
    if (state_ != State::Connecting || !socket_ || socket_->descriptor() < 0)
        return;
    if (const int error = socket_->result()) {
        finish(false, winsockNumber(error), qt_error_string(error));
        return;
    }
    if (const auto port = socket_->localPort())
        boundPort_ = *port;
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
