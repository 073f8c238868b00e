// One copy per user and display over a private D-Bus session bus: who holds
// the place, who is asked to come back, and that the place goes with its
// holder however it ends.
#include "monitor/platform/dbus/singleinstance.h"
#include "monitor/platform/qt/displayname.h"
#include "support/testseed.h"

#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QElapsedTimer>
#include <QProcess>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

#include <random>

using monitor::InstanceService;
using monitor::dbus::busName;
using monitor::dbus::SingleInstance;
using Claim = monitor::InstanceService::Claim;

namespace {

// A session bus of the test's own, on a socket in a private folder.
class PrivateBus {
public:
    PrivateBus() {
        daemon_.setProgram("dbus-daemon");
        daemon_.setArguments({"--session", "--nofork", "--nopidfile", "--print-address=1",
                              "--address=unix:dir=" + dir_.path()});
        daemon_.start();
        if (daemon_.waitForReadyRead(10000))
            address_ = QString::fromLocal8Bit(daemon_.readLine()).trimmed();
    }
    ~PrivateBus() {
        for (const QString& name : names_)
            QDBusConnection::disconnectFromBus(name);
        daemon_.terminate();
        daemon_.waitForFinished(5000);
    }
    bool ok() const { return !address_.isEmpty(); }
    const QString& address() const { return address_; }
    // A connection of its own, as another process would have.
    QDBusConnection connect() {
        static int made = 0;
        names_ << QString("test-connection-%1").arg(++made);
        return QDBusConnection::connectToBus(address_, names_.last());
    }
    QString lastName() const { return names_.last(); }

private:
    QTemporaryDir dir_;
    QProcess daemon_;
    QString address_;
    QStringList names_;
};

class OnePlace : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(bus.ok()) << "dbus-daemon did not start"; }
    PrivateBus bus;
};

TEST_F(OnePlace, TheFirstStartHoldsItAndEveryLaterStartAsksItToComeBack) {
    SingleInstance first(bus.connect(), "Tallowbar", ":1");
    ASSERT_EQ(first.claim(), Claim::First);
    int cameBack = 0;
    EXPECT_EQ(SingleInstance(bus.connect(), "Tallowbar", ":1").claim(), Claim::Asked)
        << "asked while the first was still loading";
    EXPECT_EQ(cameBack, 0);
    first.onComeBack([&] { ++cameBack; });
    EXPECT_EQ(cameBack, 1) << "the early request is answered once the window can come back";
    EXPECT_EQ(SingleInstance(bus.connect(), "Tallowbar", ":1.0").claim(), Claim::Asked)
        << "a screen of the same server is the same place";
    EXPECT_EQ(cameBack, 2);

    // A key binding can ask too, with the bus's own tools.
    QProcess send;
    send.start("dbus-send", {"--bus=" + bus.address(), "--print-reply", "--dest=" + first.name(),
                             monitor::dbus::objectPath("Tallowbar"),
                             QString(monitor::dbus::InstanceInterface) + ".Activate"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return send.state() == QProcess::NotRunning; }, 10000));
    EXPECT_EQ(send.exitCode(), 0) << send.readAllStandardError().constData();
    EXPECT_EQ(cameBack, 3);

    // Other displays and other programs have places of their own.
    SingleInstance elsewhere(bus.connect(), "Tallowbar", ":2");
    SingleInstance other(bus.connect(), "Brambleview", ":1");
    EXPECT_EQ(elsewhere.claim(), Claim::First);
    EXPECT_EQ(other.claim(), Claim::First);
    EXPECT_EQ(cameBack, 3);
    first.onComeBack({}); // the window went: a request now is only answered
    EXPECT_EQ(SingleInstance(bus.connect(), "Tallowbar", ":1").claim(), Claim::Asked);
    EXPECT_EQ(cameBack, 3);
}

TEST_F(OnePlace, AnEndedCopyLetsGoAtOnce) {
    // Even before its process is gone (the panel's web engine takes a while
    // to end): a start made then runs rather than asking a copy that ended.
    {
        SingleInstance ended(bus.connect(), "Tallowbar", ":1");
        ASSERT_EQ(ended.claim(), Claim::First);
    }
    EXPECT_EQ(SingleInstance(bus.connect(), "Tallowbar", ":1").claim(), Claim::First);
}

// Holds the place and ends as it is asked: a copy on its way out. It keeps
// only the connection's name, so that ending the connection closes it.
class Leaving : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "example.marrowdell.Instance")
public:
    Leaving(const QDBusConnection& bus, const QString& program, const QString& display)
        : connection_(bus.name()) {
        QDBusConnection c = bus;
        c.registerObject(monitor::dbus::objectPath(program), this,
                         QDBusConnection::ExportScriptableSlots);
        c.interface()->registerService(busName(program, display));
    }
    bool asked = false;
public slots:
    Q_SCRIPTABLE void Activate() {
        asked = true;
        setDelayedReply(true); // no answer: the connection ends first
        QTimer::singleShot(0, this, [this] { QDBusConnection::disconnectFromBus(connection_); });
    }

private:
    QString connection_;
};

TEST_F(OnePlace, AHolderThatDoesNotAnswerEndsTheStartAndOneThatLeftLetsItRun) {
    const QString name = busName("Tallowbar", ":1");
    // A holder that never learnt to answer.
    QDBusConnection mute = bus.connect();
    ASSERT_TRUE(mute.interface()->registerService(name).isValid());
    EXPECT_EQ(SingleInstance(bus.connect(), "Tallowbar", ":1", 300).claim(), Claim::NoAnswer);
    mute.interface()->unregisterService(name);

    // A holder whose thread is stuck: waited for as long as asked, no longer.
    {
        QSemaphore gate;
        std::unique_ptr<QThread> stuck(QThread::create([&] { gate.acquire(); }));
        stuck->start();
        SingleInstance hung(bus.connect(), "Tallowbar", ":1");
        ASSERT_EQ(hung.claim(), Claim::First);
        hung.moveToThread(stuck.get());
        QElapsedTimer waited;
        waited.start();
        EXPECT_EQ(SingleInstance(bus.connect(), "Tallowbar", ":1", 300).claim(), Claim::NoAnswer);
        EXPECT_GE(waited.elapsed(), 250);
        EXPECT_LT(waited.elapsed(), 5000);
        gate.release();
        stuck->wait();
    }

    // A holder on its way out when asked, its connection ending unanswered:
    // the place is free, and this start runs.
    Leaving leaving(bus.connect(), "Tallowbar", ":1");
    EXPECT_EQ(SingleInstance(bus.connect(), "Tallowbar", ":1").claim(), Claim::First);
    EXPECT_TRUE(leaving.asked);
}

TEST_F(OnePlace, WithoutABusOrADisplayUsersShareEveryStartRuns) {
    EXPECT_EQ(SingleInstance(QDBusConnection("no-such-connection"), "Tallowbar", ":1").claim(),
              Claim::Unchecked);
    QDBusConnection watcher = bus.connect();
    for (int start = 0; start < 2; ++start)
        EXPECT_EQ(SingleInstance(bus.connect(), "Tallowbar", "").claim(), Claim::Unchecked);
    const QStringList names = watcher.interface()->registeredServiceNames().value();
    EXPECT_TRUE(names.filter("marrowdell").isEmpty()) << qPrintable(names.join(" "));
}

TEST_F(OnePlace, EveryDisplayNameGivesANameTheBusTakesAndOneServerOneName) {
    testing_support::TestSeed seed;
    std::mt19937 random(seed.value());
    QStringList displays{":0",
                         ":0.1",
                         "localhost:10.0",
                         "[::1]:3",
                         "unix:7",
                         "wayland-0",
                         "9host:1",
                         "é:1",
                         "",
                         "a.b-c_d:2",
                         "::",
                         "..:0.0.0",
                         QString(300, 'x') + ":1"};
    const QString alphabet = QString::fromUtf8(":._-/[]@ 09azAZéß\u4e2d\U0001F600");
    for (int i = 0; i < 200; ++i) {
        QString d;
        for (int n = int(random() % 24); n > 0; --n)
            d += alphabet[qsizetype(random() % alphabet.size())];
        displays << d;
    }
    QDBusConnection c = bus.connect();
    for (const QString& display : displays) {
        const QString name = busName("Tallowbar", display);
        const auto reply = c.interface()->registerService(name);
        EXPECT_TRUE(reply.isValid()) << qPrintable(display) << " -> " << qPrintable(name) << ": "
                                     << qPrintable(reply.error().message());
        c.interface()->unregisterService(name);
    }
    EXPECT_EQ(busName("Tallowbar", ":1"), "example.marrowdell.Tallowbar.display_1");
    EXPECT_EQ(busName("Tallowbar", ":1.2"), busName("Tallowbar", ":1"));
    EXPECT_NE(busName("Tallowbar", ":1"), busName("Tallowbar", ":12"));
    EXPECT_NE(busName("Tallowbar", ":1"), busName("Tallowbar", "host:1"));
    EXPECT_NE(busName("Tallowbar", ":1"), busName("Brambleview", ":1"));
}

TEST(SharedDisplay, TheXDisplayIsTheOptionsElseTheEnvironmentsAndOffscreenHasNone) {
    const QByteArray display = qgetenv("DISPLAY"), wayland = qgetenv("WAYLAND_DISPLAY");
    qputenv("DISPLAY", ":7");
    qputenv("WAYLAND_DISPLAY", "wayland-3");
    using monitor::qt::sharedDisplay;
    EXPECT_EQ(sharedDisplay("xcb", {"tallowbar"}), ":7");
    EXPECT_EQ(sharedDisplay("xcb", {"tallowbar", "-display", ":3"}), ":3");
    EXPECT_EQ(sharedDisplay("xcb", {"tallowbar", "--display", ":4"}), ":4");
    EXPECT_EQ(sharedDisplay("xcb", {"tallowbar", "-display"}), ":7") << "an option with no value";
    EXPECT_EQ(sharedDisplay("wayland", {"tallowbar"}), "wayland-3");
    EXPECT_EQ(sharedDisplay("offscreen", {"tallowbar"}), "");
    EXPECT_EQ(sharedDisplay("minimal", {"tallowbar"}), "");
    qputenv("DISPLAY", display);
    qputenv("WAYLAND_DISPLAY", wayland);
    if (display.isNull())
        qunsetenv("DISPLAY");
    if (wayland.isNull())
        qunsetenv("WAYLAND_DISPLAY");
}

} // namespace

#include "singleinstance_test.moc"
