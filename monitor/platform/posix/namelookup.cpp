#include "monitor/platform/posix/namelookup.h"

#include <QObject>
#include <QUrl>

#include <deque>
#include <mutex>
#include <netdb.h>
#include <sys/socket.h>
#include <system_error>
#include <thread>

namespace monitor::posix {

class NameLookup::Request {
public:
    Request(QByteArray name, QObject* receiver, Done done)
        : name_(std::move(name)), receiver_(receiver), done_(std::move(done)) {}

    // Worker thread: the resolver's answer, posted to the receiver unless the
    // asker has gone. The receiver cannot go while the lock is held, since
    // its owner drops the request first; once posted, the call goes with the
    // receiver if the receiver goes.
    static void run(const std::shared_ptr<Request>& self) {
        if (self->abandoned())
            return;
        LookupAnswer answer = self->resolve();
        std::lock_guard lock(self->mutex_);
        if (!self->receiver_)
            return;
        QMetaObject::invokeMethod(
            self->receiver_, [self, answer = std::move(answer)] { self->deliver(answer); },
            Qt::QueuedConnection);
    }

    // The receiver's thread.
    void abandon() {
        Done done;
        std::lock_guard lock(mutex_);
        receiver_ = nullptr;
        done.swap(done_); // let go of what it holds here, not on the worker
    }

private:
    bool abandoned() {
        std::lock_guard lock(mutex_);
        return receiver_ == nullptr;
    }

    // The receiver's thread, once: nothing after an abandon.
    void deliver(const LookupAnswer& answer) {
        Done done;
        {
            std::lock_guard lock(mutex_);
            if (!receiver_)
                return;
            receiver_ = nullptr;
            done.swap(done_);
        }
        done(answer); // may drop the NameLookup; this request lives on in the call
    }

    LookupAnswer resolve() const;

    const QByteArray name_; // as the resolver takes it (IDNA)
    std::mutex mutex_;
    QObject* receiver_;
    Done done_;
};

namespace {

// The resolver's failures in the words the control reported them before.
QString failure(int code) {
    if (code == EAI_NONAME || code == EAI_FAIL || code == EAI_NODATA)
        return QStringLiteral("Host not found");
    return QString::fromLocal8Bit(::gai_strerror(code));
}

// The workers and their queue. Never destroyed: a worker may still be inside
// getaddrinfo when the program ends, and must not find its queue gone.
class Workers {
public:
    static Workers& instance() {
        static Workers* const workers = new Workers;
        return *workers;
    }

    void submit(std::shared_ptr<NameLookup::Request> request) {
        std::lock_guard lock(mutex_);
        queue_.push_back(std::move(request));
        ++inFlight_;
        if (running_ >= NameLookup::MaxWorkers)
            return; // a running worker takes it next
        try {
            std::thread([this] { work(); }).detach();
            ++running_;
        } catch (const std::system_error&) {
            // No thread to be had: a running worker takes it, or the asker's
            // deadline passes first.
        }
    }

    int inFlight() {
        std::lock_guard lock(mutex_);
        return inFlight_;
    }
    int running() {
        std::lock_guard lock(mutex_);
        return running_;
    }

private:
    void work() {
        for (;;) {
            std::shared_ptr<NameLookup::Request> request;
            {
                std::lock_guard lock(mutex_);
                if (queue_.empty()) {
                    --running_;
                    return;
                }
                request = std::move(queue_.front());
                queue_.pop_front();
            }
            NameLookup::Request::run(request);
            request.reset();
            std::lock_guard lock(mutex_);
            --inFlight_;
        }
    }

    std::mutex mutex_;
    std::deque<std::shared_ptr<NameLookup::Request>> queue_;
    int running_ = 0;
    int inFlight_ = 0;
};

} // namespace

LookupAnswer NameLookup::Request::resolve() const {
    LookupAnswer answer;
    if (name_.isEmpty()) {
        answer.error = QStringLiteral("Invalid hostname");
        return answer;
    }
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM; // one entry per address
    hints.ai_flags = AI_ADDRCONFIG;  // no IPv6 answers on a host without IPv6
    addrinfo* found = nullptr;
    int code = ::getaddrinfo(name_.constData(), nullptr, &hints, &found);
    if (code == EAI_BADFLAGS) {
        hints.ai_flags = 0;
        code = ::getaddrinfo(name_.constData(), nullptr, &hints, &found);
    }
    if (code != 0) {
        answer.error = failure(code);
        return answer;
    }
    const std::unique_ptr<addrinfo, void (*)(addrinfo*)> owned(found, ::freeaddrinfo);
    for (const addrinfo* entry = found; entry; entry = entry->ai_next) {
        if (auto address = SocketAddress::from(entry->ai_addr, entry->ai_addrlen))
            answer.addresses.push_back(*address);
    }
    if (answer.addresses.empty())
        answer.error = QStringLiteral("Unknown error");
    return answer;
}

NameLookup::NameLookup(const QString& host, QObject* receiver, Done done)
    : request_(std::make_shared<Request>(QUrl::toAce(host), receiver, std::move(done))) {
    Workers::instance().submit(request_);
}

NameLookup::~NameLookup() {
    request_->abandon();
}

int NameLookup::inFlight() {
    return Workers::instance().inFlight();
}

int NameLookup::workers() {
    return Workers::instance().running();
}

} // namespace monitor::posix
