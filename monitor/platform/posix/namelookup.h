// Host names looked up with getaddrinfo off the UI thread. A few worker
// threads, started as lookups come and ended when none wait, run the
// resolver; the answer comes back to the asker's thread as a queued call.
//
// An abandoned lookup (the NameLookup dropped) is never answered: the resolver
// cannot be interrupted, so its worker finishes and throws the answer away.
#pragma once

#include "monitor/platform/posix/socketaddress.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QObject;

namespace monitor::posix {

struct LookupAnswer {
    std::vector<SocketAddress> addresses; // in the resolver's order, port 0
    QString error;                        // why there are none
};

class NameLookup {
public:
    using Done = std::function<void(const LookupAnswer&)>;

    // Starts looking host up and returns at once. done runs later on the
    // receiver's thread, unless this is dropped first. Make and drop it on
    // that thread, and drop it before the receiver.
    NameLookup(const QString& host, QObject* receiver, Done done);
    ~NameLookup();
    NameLookup(const NameLookup&) = delete;
    NameLookup& operator=(const NameLookup&) = delete;

    // Lookups waiting for or in a worker, abandoned ones included until
    // their resolver call returns; and the worker threads running now.
    static int inFlight();
    static int workers();
    // More lookups than this at once wait for a worker.
    static constexpr int MaxWorkers = 8;

    class Request; // shared by the asker and the worker

private:
    std::shared_ptr<Request> request_;
};

} // namespace monitor::posix
