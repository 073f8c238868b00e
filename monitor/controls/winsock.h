// A TCP socket control in the manner of the probes' Winsock: the endpoint is a
// property, Connect takes no arguments and returns at once, and the outcome
// arrives later as exactly one Connected or Error event on the UI thread.
// Close abandons an attempt in progress (no event follows for it) and is
// harmless in any state.
//
// Each Connect makes exactly one connection attempt: the control drives a
// non-blocking socket of its own (platform/posix) rather than a QTcpSocket,
// which tries a refused address a second time. A host given as a name is
// looked up off the UI thread within the same connect timeout; an address in
// its usual written form (dotted quad, IPv6) is never looked up.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

class QSocketNotifier;

namespace monitor {
namespace posix {
class NameLookup;
class SocketAddress;
class TcpConnect;
struct LookupAnswer;
} // namespace posix

class Winsock : public QObject {
    Q_OBJECT
public:
    enum class State { Closed, Connecting, Connected, Error };

    // Time an attempt may take before it is reported as timed out, counted
    // from Connect and so including a name lookup. Five seconds leave room
    // for two SYN retransmissions (Linux sends them at 1 s and 3 s), while a
    // user who pressed Refresh still gets a prompt answer.
    static constexpr int DefaultConnectTimeoutMs = 5000;

    // Winsock's error numbers for the failures a probe meets.
    static constexpr int ErrTimedOut = 10060;
    static constexpr int ErrConnectionRefused = 10061;
    static constexpr int ErrNetworkUnreachable = 10051;
    static constexpr int ErrHostNotFound = 11001;
    static constexpr int ErrConnectionAborted = 10053;

    explicit Winsock(QObject* parent = nullptr);
    ~Winsock() override;

    QString RemoteHost;     // a numeric IPv4 or IPv6 address, or a name
    quint16 RemotePort = 0; // the local port is any free one

    void Connect();
    void Close();
    State state() const { return state_; }
    // The local port of the last connection made, kept after Close.
    quint16 boundPort() const { return boundPort_; }

    // The descriptor of the attempt or connection under way, else -1: what
    // the control holds of the system, for whoever counts it.
    int socketDescriptor() const;

    int connectTimeout() const { return timeoutMs_; }
    void setConnectTimeout(int ms) { timeoutMs_ = ms; }

signals:
    void Connected();
    // number, description, status code, source, help file, help context, cancel display
    void Error(int number, const QString& description, int scode, const QString& source,
               const QString& helpFile, int helpContext, bool* cancelDisplay);

private:
    void resolved(quint64 attempt, const posix::LookupAnswer& answer);
    void connectTo(posix::SocketAddress address);
    void connectFinished(); // the socket turned writable, or the deadline came
    void finish(bool ok, int number, const QString& description);
    void release(); // notifier, descriptor and lookup of the current attempt

    std::unique_ptr<posix::TcpConnect> socket_;
    std::unique_ptr<QSocketNotifier> writable_;
    std::unique_ptr<posix::NameLookup> lookup_; // for the live attempt, while under way
    QTimer timeout_;
    State state_ = State::Closed;
    quint64 attempt_ = 0; // identifies the live attempt; Close moves it on
    int timeoutMs_ = DefaultConnectTimeoutMs;
    quint16 boundPort_ = 0;
};

} // namespace monitor
