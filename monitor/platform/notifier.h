// Desktop notifications: a short message outside the window, such as a
// server that changed state. Behind an interface so tests can record.
#pragma once

#include <QString>

#include <functional>

namespace monitor {

class Notifier {
public:
    virtual ~Notifier() = default;
    // Shows summary and body, replacing this notifier's previous one. Never
    // waits for the desktop.
    virtual void notify(const QString& summary, const QString& body) = 0;
    // activated: the user clicked a notification (its default action).
    // undelivered: no notification service took this one; it gets the
    // summary and body to show some other way.
    virtual void setHandlers(std::function<void()> activated,
                             std::function<void(const QString&, const QString&)> undelivered) = 0;
};

} // namespace monitor
