// A TCP socket control in the manner of the probes' Winsock: the endpoint is a
// property, Connect takes no arguments and returns at once, and the outcome
// arrives later as exactly one Connected or Error event on the UI thread.
// Close abandons an attempt in progress (no event follows for it) and is
// harmless in any state.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class QTcpSocket;

namespace monitor {

class Winsock : public QObject {
    Q_OBJECT
public:
    enum class State { Closed, Connecting, Connected, Error };

    // Time an attempt may take before it is reported as timed out. Five
    // seconds leaves room for two SYN retransmissions (Linux sends them at
    // 1 s and 3 s), while a user who pressed Refresh still gets a prompt answer.
    static constexpr int DefaultConnectTimeoutMs = 5000;

    // Winsock's error numbers for the failures a probe meets.
    static constexpr int ErrTimedOut = 10060;
    static constexpr int ErrConnectionRefused = 10061;
    static constexpr int ErrNetworkUnreachable = 10051;
    static constexpr int ErrHostNotFound = 11001;
    static constexpr int ErrConnectionAborted = 10053;
    static constexpr int ErrInvalidState = 40020;

    explicit Winsock(QObject* parent = nullptr);
    ~Winsock() override;

    QString RemoteHost;
    quint16 RemotePort = 0; // the local port is any free one

    void Connect();
    void Close();
    State state() const { return state_; }
    // The local port of the last connection made, kept after Close.
    quint16 boundPort() const { return boundPort_; }

    int connectTimeout() const { return timeoutMs_; }
    void setConnectTimeout(int ms) { timeoutMs_ = ms; }

signals:
    void Connected();
    // number, description, status code, source, help file, help context, cancel display
    void Error(int number, const QString& description, int scode, const QString& source,
               const QString& helpFile, int helpContext, bool* cancelDisplay);

private:
    void finish(quint64 attempt, bool ok, int number, const QString& description);
    void dropSocket();

    QTcpSocket* socket_ = nullptr;
    QTimer timeout_;
    State state_ = State::Closed;
    quint64 attempt_ = 0; // identifies the live attempt; Close moves it on
    int timeoutMs_ = DefaultConnectTimeoutMs;
    quint16 boundPort_ = 0;
};

} // namespace monitor
