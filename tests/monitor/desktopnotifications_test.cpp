// The notification client on a private session bus (a dbus-daemon of the
// test's own) against a small notification service: the replacing id, the
// click, a service that is gone or slow.
#include "monitor/platform/dbus/desktopnotifications.h"
#include "support/privatebus.h"
#include "support/testrealm.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QTest>
#include <QVariantMap>
#include <gtest/gtest.h>

#include <utility>

using testing_support::waitFor;

namespace {

struct Call {
    QString appName;
    quint32 replacesId = 0;
    QString icon, summary, body;
    QStringList actions;
    QVariantMap hints;
};

// Plays the desktop's notification service on its own connection.
class Service : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    explicit Service(const QString& address)
        : bus_(QDBusConnection::connectToBus(address, "service")) {}
    ~Service() override { QDBusConnection::disconnectFromBus("service"); }
    bool start() {
        return bus_.registerObject("/org/freedesktop/Notifications", this,
                                   QDBusConnection::ExportAllSlots) &&
               bus_.registerService("org.freedesktop.Notifications");
    }
    void invoke(quint32 id, const QString& action) {
        QDBusMessage signal = QDBusMessage::createSignal(
            "/org/freedesktop/Notifications", "org.freedesktop.Notifications", "ActionInvoked");
        signal << id << action;
        bus_.send(signal);
    }
    void release() {
        for (const QDBusMessage& reply : std::exchange(held, {}))
            bus_.send(reply);
    }
    std::vector<Call> calls;
    bool holdReplies = false; // a service that takes its time
    std::vector<QDBusMessage> held;

public slots:
    quint32 Notify(const QString& appName, quint32 replacesId, const QString& icon,
                   const QString& summary, const QString& body, const QStringList& actions,
                   const QVariantMap& hints, qint32 timeout) {
        (void)timeout;
        calls.push_back({appName, replacesId, icon, summary, body, actions, hints});
        const quint32 id = replacesId ? replacesId : ++lastId_;
        if (holdReplies) {
            setDelayedReply(true);
            held.push_back(message().createReply(QVariant::fromValue(id)));
        }
        return id;
    }

private:
    QDBusConnection bus_;
    quint32 lastId_ = 40;
};

class DesktopNotifications : public ::testing::Test {
protected:
    // One bus for the process: its session bus connection, once made, stays.
    static void SetUpTestSuite() {
        bus = new testing_support::PrivateBus;
        qputenv("DBUS_SESSION_BUS_ADDRESS", bus->address().toUtf8());
    }
    static void TearDownTestSuite() {
        delete bus;
        bus = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(bus->ok());
        notices.setHandlers(
            [this] { ++clicks; },
            [this](const QString& s, const QString& b) { undelivered << s + "|" + b; });
    }
    static testing_support::PrivateBus* bus;
    monitor::dbus::DesktopNotifications notices{"Brambleview", "brambleview", "brambleview"};
    int clicks = 0;
    QStringList undelivered;
};

testing_support::PrivateBus* DesktopNotifications::bus = nullptr;

TEST_F(DesktopNotifications, EachReplacesTheLastAndOnlyItsOwnClickCounts) {
    Service service(bus->address());
    ASSERT_TRUE(service.start());
    notices.notify("Brambleview", "Channel 2: Down");
    ASSERT_TRUE(waitFor([&] { return notices.shownId() != 0; }));
    ASSERT_EQ(service.calls.size(), 1u);
    const Call& first = service.calls[0];
    EXPECT_EQ(first.replacesId, 0u);
    EXPECT_EQ(first.appName, "Brambleview");
    EXPECT_EQ(first.icon, "brambleview");
    EXPECT_EQ(first.summary, "Brambleview");
    EXPECT_EQ(first.body, "Channel 2: Down");
    EXPECT_TRUE(first.actions.contains("default"));
    EXPECT_EQ(first.hints.value("desktop-entry").toString(), "brambleview");
    const quint32 id = notices.shownId();

    notices.notify("Brambleview", "Channel 2: Active");
    ASSERT_TRUE(waitFor([&] { return service.calls.size() == 2; }));
    EXPECT_EQ(service.calls[1].replacesId, id);

    service.invoke(id + 1, "default"); // someone else's
    service.invoke(id, "other");
    service.invoke(id, "default");
    ASSERT_TRUE(waitFor([&] { return clicks > 0; }));
    QTest::qWait(100);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(undelivered.isEmpty());
}

TEST_F(DesktopNotifications, ASlowServiceHoldsNothingAndTheNewestWaitsToReplace) {
    Service service(bus->address());
    ASSERT_TRUE(service.start());
    service.holdReplies = true;
    QElapsedTimer clock;
    clock.start();
    for (const char* body : {"Login: Down", "Login: Active", "Login: Down"})
        notices.notify("Brambleview", body);
    EXPECT_LT(clock.elapsed(), 1000) << "a call waited for the service";
    ASSERT_TRUE(waitFor([&] { return service.held.size() == 1; }));
    QTest::qWait(200);
    ASSERT_EQ(service.calls.size(), 1u) << "a second one before the first had its id";
    service.holdReplies = false;
    service.release();
    ASSERT_TRUE(waitFor([&] { return service.calls.size() == 2; }));
    EXPECT_EQ(service.calls[1].body, "Login: Down") << "only the newest is worth showing";
    EXPECT_EQ(service.calls[1].replacesId, 41u);
    QTest::qWait(200);
    EXPECT_EQ(service.calls.size(), 2u);
}

TEST_F(DesktopNotifications, WithoutAServiceTheCallerGetsItBack) {
    notices.notify("Brambleview", "Update: Down");
    ASSERT_TRUE(waitFor([&] { return !undelivered.isEmpty(); }));
    EXPECT_EQ(undelivered, QStringList{"Brambleview|Update: Down"});
    EXPECT_EQ(notices.shownId(), 0u);
}

TEST(DesktopNotificationsWithoutABus, NoBusMeansUndeliveredAtOnce) {
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    qunsetenv("XDG_RUNTIME_DIR");
    monitor::dbus::DesktopNotifications notices("Tallowbar", "tallowbar", "tallowbar");
    QStringList undelivered;
    notices.setHandlers({}, [&](const QString& s, const QString& b) { undelivered << s + b; });
    notices.notify("Tallowbar", "Login server: down");
    EXPECT_EQ(undelivered, QStringList{"TallowbarLogin server: down"});
}

} // namespace

#include "desktopnotifications_test.moc"
