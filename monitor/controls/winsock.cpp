#include "monitor/controls/winsock.h"

#include "runtime/runtimeerror.h"

#include <QHostAddress>
#include <QNetworkProxy>
#include <QTcpSocket>

namespace monitor {
namespace {

int winsockNumber(QAbstractSocket::SocketError e) {
    switch (e) {
    case QAbstractSocket::ConnectionRefusedError:
        return Winsock::ErrConnectionRefused;
    case QAbstractSocket::SocketTimeoutError:
        return Winsock::ErrTimedOut;
    case QAbstractSocket::HostNotFoundError:
        return Winsock::ErrHostNotFound;
    case QAbstractSocket::NetworkError:
        return Winsock::ErrNetworkUnreachable;
    default:
        return Winsock::ErrConnectionAborted;
    }
}

} // namespace

Winsock::Winsock(QObject* parent) : QObject(parent) {
    timeout_.setSingleShot(true);
    timeout_.setTimerType(Qt::PreciseTimer); // a coarse timer may fire 5 % early
    connect(&timeout_, &QTimer::timeout, this,
            [this] { finish(attempt_, false, ErrTimedOut, "Connection timed out"); });
}

Winsock::~Winsock() {
    dropSocket();
}

void Winsock::Connect() {
    if (state_ != State::Closed)
        throw vell::RuntimeError(ErrInvalidState, "Winsock", "Invalid operation at current state");
    const quint64 attempt = ++attempt_;
    state_ = State::Connecting;
    socket_ = new QTcpSocket(this);
    // Straight to the server: through a proxy, the proxy would answer for it.
    socket_->setProxy(QNetworkProxy::NoProxy);
    connect(socket_, &QTcpSocket::connected, this,
            [this, attempt] { finish(attempt, true, 0, {}); });
    connect(socket_, &QTcpSocket::errorOccurred, this, [this, attempt, s = socket_](auto error) {
        finish(attempt, false, winsockNumber(error), s->errorString());
    });
    timeout_.start(timeoutMs_);
    const QHostAddress address(RemoteHost);
    if (address.isNull())
        socket_->connectToHost(RemoteHost, RemotePort);
    else
        socket_->connectToHost(address, RemotePort);
}

void Winsock::Close() {
    ++attempt_;
    timeout_.stop();
    dropSocket();
    state_ = State::Closed;
}

void Winsock::dropSocket() {
    if (!socket_)
        return;
    // abort() reports its state changes synchronously: cut the wires first so
    // an abandoned attempt can never raise an event.
    socket_->disconnect(this);
    socket_->abort();
    socket_->deleteLater();
    socket_ = nullptr;
}

void Winsock::finish(quint64 attempt, bool ok, int number, const QString& description) {
    if (attempt != attempt_ || state_ != State::Connecting)
        return;
    timeout_.stop();
    state_ = ok ? State::Connected : State::Error;
    if (ok)
        boundPort_ = socket_->localPort();
    else
        dropSocket();
    // Qt may settle a loopback attempt from inside connectToHost(); the event
    // must still come as an event of its own, after Connect has returned.
    QMetaObject::invokeMethod(
        this,
        [this, attempt, ok, number, description] {
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
