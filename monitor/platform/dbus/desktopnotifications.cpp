#include "monitor/platform/dbus/desktopnotifications.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDir>
#include <QFileInfo>
#include <QVariantMap>

namespace monitor::dbus {
namespace {

const QString Service = QStringLiteral("org.freedesktop.Notifications");
const QString Path = QStringLiteral("/org/freedesktop/Notifications");
const QString Interface = QStringLiteral("org.freedesktop.Notifications");
constexpr int CallTimeoutMs = 10000;

// Whether a session bus was announced. Without one, the bus library would try
// to start a bus of its own for the display; we would rather say nothing.
bool sessionBusAnnounced() {
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(QDir(runtime).filePath("bus"));
}

} // namespace

DesktopNotifications::DesktopNotifications(QString appName, QString icon, QString desktopEntry)
    : appName_(std::move(appName)), icon_(std::move(icon)), desktopEntry_(std::move(desktopEntry)) {
}

DesktopNotifications::~DesktopNotifications() = default;

void DesktopNotifications::setHandlers(
    std::function<void()> activated,
    std::function<void(const QString&, const QString&)> undelivered) {
    activated_ = std::move(activated);
    undelivered_ = std::move(undelivered);
}

bool DesktopNotifications::connectBus() {
    // Only on the first notification: a program whose user never asked for
    // notifications never touches the bus.
    if (busUp_)
        return *busUp_;
    busUp_ = sessionBusAnnounced() && QDBusConnection::sessionBus().isConnected();
    if (*busUp_)
        QDBusConnection::sessionBus().connect(Service, Path, Interface, "ActionInvoked", this,
                                              SLOT(actionInvoked(quint32, QString)));
    return *busUp_;
}

void DesktopNotifications::notify(const QString& summary, const QString& body) {
    if (!connectBus()) {
        if (undelivered_)
            undelivered_(summary, body);
        return;
    }
    if (inFlight_) {
        queued_ = std::make_pair(summary, body); // only the newest is worth showing
        return;
    }
    send(summary, body);
}

void DesktopNotifications::send(const QString& summary, const QString& body) {
    QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, Interface, "Notify");
    QVariantMap hints;
    hints.insert("desktop-entry", desktopEntry_);
    call << appName_ << shownId_ << icon_ << summary << body << QStringList{"default", appName_}
         << hints << qint32(-1);
    inFlight_ = true;
    auto* watcher = new QDBusPendingCallWatcher(
        QDBusConnection::sessionBus().asyncCall(call, CallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, summary, body](QDBusPendingCallWatcher* w) { answered(w, summary, body); });
}

void DesktopNotifications::answered(QDBusPendingCallWatcher* call, const QString& summary,
                                    const QString& body) {
    call->deleteLater();
    inFlight_ = false;
    const QDBusPendingReply<quint32> reply = *call;
    if (reply.isError()) {
        // No service, or one that did not answer in time: the next one tries
        // afresh, with nothing to replace.
        shownId_ = 0;
        if (undelivered_)
            undelivered_(summary, body);
    } else {
        shownId_ = reply.value();
    }
    if (queued_) {
        const auto [nextSummary, nextBody] = *std::exchange(queued_, std::nullopt);
        send(nextSummary, nextBody);
    }
}

void DesktopNotifications::actionInvoked(quint32 id, const QString& action) {
    // The service tells every client: only our own notification counts.
    if (id != 0 && id == shownId_ && action == QLatin1String("default") && activated_)
        activated_();
}

} // namespace monitor::dbus
