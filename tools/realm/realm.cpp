#include "tools/realm/realm.h"

#include <QTcpServer>
#include <QTcpSocket>

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace realm {

std::vector<Endpoint> defaultEndpoints() {
    std::vector<Endpoint> out;
    for (const forms::Server& s : forms::servers())
        out.push_back({s.key, QHostAddress(s.host), s.port});
    return out;
}

std::vector<Endpoint> privateEndpoints(int subnet) {
    std::vector<Endpoint> out;
    int host = 0;
    for (const forms::Server& s : forms::servers())
        out.push_back({s.key, QHostAddress(QString("127.%1.0.%2").arg(subnet).arg(++host)), 0});
    return out;
}

void Realm::aim(forms::Program& program) const {
    for (const Endpoint& e : endpoints_)
        for (const forms::Server& s : program.probes)
            if (s.key == e.name)
                for (forms::Control& c : program.form1.controls)
                    if (c.name == s.socket) {
                        c.remoteHost = e.address.toString();
                        c.remotePort = port(e.name);
                    }
}

QString stateName(State s) {
    switch (s) {
    case State::Up:
        return "up";
    case State::Silent:
        return "silent";
    case State::Down:
        break;
    }
    return "down";
}

namespace {

QString bindAdvice(const QHostAddress& address, quint16 port) {
    if (port < 1024 && geteuid() != 0)
        return QString(" (port %1 is privileged: run as root, or grant the binary "
                       "CAP_NET_BIND_SERVICE, or build with another VELL_*_HOST)")
            .arg(port);
    if (address.isLoopback())
        return " (is another realm or server already listening there?)";
    return " (the address is not on this machine)";
}

} // namespace

Realm::Realm(std::vector<Endpoint> endpoints, QObject* parent)
    : QObject(parent), endpoints_(std::move(endpoints)) {
    for (const auto& e : endpoints_)
        servers_[e.name];
}

Realm::~Realm() {
    for (auto& [name, s] : servers_)
        stop(s);
}

Endpoint* Realm::find(const QString& name) {
    for (auto& e : endpoints_)
        if (e.name == name)
            return &e;
    return nullptr;
}

quint16 Realm::port(const QString& name) const {
    for (const auto& e : endpoints_)
        if (e.name == name)
            return e.port;
    return 0;
}

void Realm::stop(Server& s) {
    if (s.tcp) {
        s.tcp->close();
        s.tcp->deleteLater();
        s.tcp = nullptr;
    }
    s.silent.reset();
    s.state = State::Down;
}

bool Realm::setState(const QString& name, State state, QString* error) {
    Endpoint* e = find(name);
    if (!e) {
        if (error)
            *error = QString("no server named '%1'").arg(name);
        return false;
    }
    Server& s = servers_[name];
    if (s.state == state)
        return true;
    stop(s);
    const QString where = QString("%1:%2").arg(e->address.toString()).arg(e->port);
    if (state == State::Up) {
        auto* tcp = new QTcpServer(this);
        if (!tcp->listen(e->address, e->port)) {
            if (error)
                *error = QString("cannot listen on %1: %2%3")
                             .arg(where, tcp->errorString(), bindAdvice(e->address, e->port));
            delete tcp;
            return false;
        }
        e->port = tcp->serverPort();
        connect(tcp, &QTcpServer::newConnection, this, [this, tcp, server = e->name] {
            while (QTcpSocket* c = tcp->nextPendingConnection()) {
                acceptedPeerPorts_.push_back(c->peerPort());
                emit accepted(server);
                c->abort();
                c->deleteLater();
            }
        });
        s.tcp = tcp;
    } else if (state == State::Silent) {
        auto silent = std::make_unique<SilentListener>(e->address, e->port);
        if (!silent->ok()) {
            if (error)
                *error = QString("cannot listen on %1: %2%3")
                             .arg(where, silent->error(), bindAdvice(e->address, e->port));
            return false;
        }
        e->port = silent->port();
        s.silent = std::move(silent);
    }
    s.state = state;
    return true;
}

bool Realm::setAll(State state, QString* error) {
    for (const auto& e : endpoints_)
        if (!setState(e.name, state, error))
            return false;
    return true;
}

State Realm::state(const QString& name) const {
    const auto it = servers_.find(name);
    return it == servers_.end() ? State::Down : it->second.state;
}

SilentListener::SilentListener(const QHostAddress& address, quint16 port) {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener_ < 0) {
        error_ = QString::fromLocal8Bit(std::strerror(errno));
        return;
    }
    const int one = 1;
    ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(port);
    sa.sin_addr.s_addr = htonl(address.toIPv4Address());
    socklen_t len = sizeof sa;
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0 ||
        ::listen(listener_, 0) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&sa), &len) != 0) {
        error_ = QString::fromLocal8Bit(std::strerror(errno));
        return;
    }
    port_ = ntohs(sa.sin_port);
    // Fill the accept queue. Connections that complete take the queue's room;
    // once one stays pending, the queue is full and later SYNs are dropped.
    for (int i = 0; i < 4; ++i) {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (fd < 0)
            break;
        fillers_.push_back(fd);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0)
            continue;
        pollfd p{fd, POLLOUT, 0};
        if (::poll(&p, 1, 100) == 0)
            break; // this one is hanging: the queue is full
    }
}

SilentListener::~SilentListener() {
    for (int fd : fillers_)
        ::close(fd);
    if (listener_ >= 0)
        ::close(listener_);
}

} // namespace realm
