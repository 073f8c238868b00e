// A stand-in for the game's six servers on loopback. Each server can be up
// (accepts connections and closes them at once), down (nothing listens, so a
// connect is refused) or silent (listens but never completes a handshake, so
// a connect gets no answer at all).
#pragma once

#include "forms/shared/formdefinition.h"

#include <QHostAddress>
#include <QObject>
#include <QString>

#include <map>
#include <memory>
#include <vector>

class QTcpServer;

namespace realm {

struct Endpoint {
    QString name; // update, login, charselect, ch1, ch2, ch3
    QHostAddress address;
    quint16 port = 0;
};

enum class State { Down, Up, Silent };

// The six endpoints the build probes (forms::servers()).
std::vector<Endpoint> defaultEndpoints();
// The six servers on 127.<subnet>.0.1 to .6, each on a free port once up: a
// realm of one's own for tests and benchmarks, apart from the default one.
std::vector<Endpoint> privateEndpoints(int subnet);

class SilentListener;

class Realm : public QObject {
    Q_OBJECT
public:
    explicit Realm(std::vector<Endpoint> endpoints, QObject* parent = nullptr);
    ~Realm() override;

    // Each returns false and sets *error when the address cannot be taken.
    bool setState(const QString& name, State state, QString* error = nullptr);
    bool setAll(State state, QString* error = nullptr);
    State state(const QString& name) const;
    const std::vector<Endpoint>& endpoints() const { return endpoints_; }
    // Endpoints given port 0 take a free port when first up; this reads it back.
    quint16 port(const QString& name) const;
    // Points the program's six probe sockets at this realm's endpoints.
    void aim(forms::Program& program) const;
    int acceptedCount() const { return int(acceptedPeerPorts_.size()); }
    // The client ports of accepted connections, in the order they were accepted.
    const std::vector<quint16>& acceptedPeerPorts() const { return acceptedPeerPorts_; }

signals:
    void accepted(const QString& server);

private:
    struct Server {
        State state = State::Down;
        QTcpServer* tcp = nullptr;
        std::unique_ptr<SilentListener> silent;
    };
    Endpoint* find(const QString& name);
    void stop(Server& s);

    std::vector<Endpoint> endpoints_;
    std::map<QString, Server> servers_;
    std::vector<quint16> acceptedPeerPorts_;
};

// A listening socket whose accept queue is kept full: the kernel drops every
// further SYN, so a client's connect neither succeeds nor fails.
class SilentListener {
public:
    SilentListener(const QHostAddress& address, quint16 port);
    ~SilentListener();
    SilentListener(const SilentListener&) = delete;
    SilentListener& operator=(const SilentListener&) = delete;

    bool ok() const { return error_.isEmpty(); }
    QString error() const { return error_; }
    quint16 port() const { return port_; }

private:
    int listener_ = -1;
    std::vector<int> fillers_;
    quint16 port_ = 0;
    QString error_;
};

QString stateName(State s);

} // namespace realm
