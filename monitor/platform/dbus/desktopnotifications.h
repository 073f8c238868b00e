// Notifications through the desktop's notification service
// (org.freedesktop.Notifications on the session bus). Every call is
// asynchronous: a slow or missing service never holds up the caller. Each new
// notification replaces the one shown before; a click on one (its "default"
// action) reaches the activated handler.
#pragma once

#include "monitor/platform/notifier.h"

#include <QObject>
#include <QString>

#include <optional>
#include <utility>

class QDBusPendingCallWatcher;

namespace monitor::dbus {

class DesktopNotifications final : public QObject, public Notifier {
    Q_OBJECT
public:
    // appName and icon (an icon theme name) go with every notification; the
    // desktop entry names the program's .desktop file, without its suffix.
    DesktopNotifications(QString appName, QString icon, QString desktopEntry);
    ~DesktopNotifications() override;

    void notify(const QString& summary, const QString& body) override;
    void setHandlers(std::function<void()> activated,
                     std::function<void(const QString&, const QString&)> undelivered) override;

    // The id the service gave the notification shown last; 0 before one.
    quint32 shownId() const { return shownId_; }

private slots:
    void actionInvoked(quint32 id, const QString& action);

private:
    bool connectBus();
    void send(const QString& summary, const QString& body);
    void answered(QDBusPendingCallWatcher* call, const QString& summary, const QString& body);

    QString appName_;
    QString icon_;
    QString desktopEntry_;
    std::function<void()> activated_;
    std::function<void(const QString&, const QString&)> undelivered_;
    std::optional<bool> busUp_; // unknown until the first notification
    quint32 shownId_ = 0;
    bool inFlight_ = false;
    // The newest notification asked for while one was on its way: it waits
    // for that one's id so it can replace it.
    std::optional<std::pair<QString, QString>> queued_;
};

} // namespace monitor::dbus
