// The ticker's tray options on a desktop of its own with a real notification
// server (dunst) on a private session bus: changes announced, replaced, not
// announced when off; a click on one brings the hidden window back; the
// autostart entry written and removed.
#include "e2e/programdesktop.h"
#include "forms/tallowbar/tallowbar.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

class NotifyDesktop : public e2e::ProgramDesktop {
protected:
    // The desktop's own session bus, with the accessibility bus on it: the
    // ticker's Refresh lies outside its shape, where only assistive
    // technology presses it.
    NotifyDesktop()
        : ProgramDesktop({.windowManager = true, .trayHost = true, .accessibility = true}) {}

    void SetUp() override {
        ProgramDesktop::SetUp();
        ASSERT_FALSE(x.sessionBus().isEmpty());
        ASSERT_TRUE(config.isValid());
        QFile rc(config.filePath("dunstrc"));
        ASSERT_TRUE(rc.open(QIODevice::WriteOnly));
        // Notifications stay until closed, so what is shown can be counted;
        // a left click runs the default action.
        rc.write("[global]\n    mouse_left_click = do_action, close_current\n"
                 "    idle_threshold = 0\n"
                 "[urgency_low]\n    timeout = 0\n[urgency_normal]\n    timeout = 0\n"
                 "[urgency_critical]\n    timeout = 0\n");
        rc.close();
        dunst = x.start("dunst", {"-config", rc.fileName()}, env());
        ASSERT_TRUE(QTest::qWaitFor([&] { return count("displayed") == 0; }, 10000))
            << "dunst did not come up: " << dunst->readAll().toStdString();
    }

    QProcessEnvironment env() const {
        QProcessEnvironment e;
        e.insert("XDG_CONFIG_HOME", config.path());
        e.insert("PATH", bin.path() + ":" + qEnvironmentVariable("PATH"));
        return e;
    }
    QString dunstctl(const QStringList& args, int* status = nullptr) const {
        QProcess p;
        p.setProcessEnvironment(x.environment());
        p.start("dunstctl", args);
        p.waitForFinished(10000);
        if (status)
            *status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        return QString::fromUtf8(p.readAllStandardOutput());
    }
    int count(const char* which) const {
        int status = 0;
        const QString out = dunstctl({"count", which}, &status).trimmed();
        bool ok = false;
        const int n = out.toInt(&ok);
        return status == 0 && ok ? n : -1;
    }
    // The bodies of the closed notifications, newest first, with their apps.
    QStringList history() const {
        QStringList out;
        const QJsonArray data =
            QJsonDocument::fromJson(dunstctl({"history"}).toUtf8()).object()["data"].toArray();
        for (const QJsonValue& n : data.at(0).toArray()) {
            const QJsonObject o = n.toObject();
            out << o["appname"].toObject()["data"].toString() + "|" +
                       o["body"].toObject()["data"].toString();
        }
        return out;
    }

    void startTicker() {
        program = x.start(TALLOWBAR_BIN, {}, env());
        window = x.waitForWindow(program->processId(), "Form1");
        ASSERT_FALSE(window.isEmpty()) << qPrintable(program->readAll());
        QTest::qWait(300);
        geometry = x.geometry(window);
        icon = x.trayIcon("tallowbar");
        ASSERT_FALSE(icon.isEmpty()) << "no tray icon";
    }
    void refresh() {
        int code = -1;
        x.run(ATSPI_TOOL, {"press", QString::number(program->processId()), "Refresh"}, &code);
        ASSERT_EQ(code, 0) << "Refresh pressed through the accessibility bus";
        QTest::qWait(1500); // refused and accepted connects answer at once
    }
    // The n-th item of the tray menu, by keyboard, as a user might: counted
    // from the top, or with a negative n from the bottom.
    void menuItem(int n) {
        click(icon.center(), 3);
        QTest::qWait(500);
        for (int i = 0; i < std::abs(n); ++i)
            xdo({"key", n > 0 ? "Down" : "Up"});
        xdo({"key", "Return"});
        QTest::qWait(300);
    }
    QString setting() const {
        QFile f(config.filePath("Tallowbar/Tallowbar.conf"));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    void realmSays(const char* line) {
        realm->write(line);
        realm->write("\n");
        ASSERT_TRUE(realm->waitForBytesWritten(2000));
        QTest::qWait(200);
    }
    QPoint on(const QString& control) const {
        const QPoint c = forms::tallowbar().form1.get(control).centre();
        return at(c.x(), c.y());
    }

    QTemporaryDir config;
    QProcess* dunst = nullptr;
    QRect icon;
};

TEST_F(NotifyDesktop, ChangesAreAnnouncedReplacedAndClickedOnlyWhileTheItemIsOn) {
    startRealm();
    startTicker();
    refresh();
    realmSays("down ch2");
    refresh();
    EXPECT_EQ(count("displayed"), 0) << "the item is off by default";

    menuItem(1); // Notify me of changes
    ASSERT_TRUE(QTest::qWaitFor([&] { return setting().contains("notifyOfChanges=true"); }, 3000))
        << qPrintable(setting());
    realmSays("up ch2");
    refresh();
    ASSERT_TRUE(QTest::qWaitFor([&] { return count("displayed") == 1; }, 5000));
    realmSays("down ch2");
    refresh();
    QTest::qWait(500);
    EXPECT_EQ(count("displayed"), 1) << "the second replaces the first";
    EXPECT_EQ(count("waiting"), 0);
    EXPECT_EQ(count("history"), 0);
    refresh(); // nothing changed
    EXPECT_EQ(count("displayed"), 1);

    // Hidden, then back through a click on the notification.
    click(on(forms::tallowbar().roles.hide));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !mapped(); }, 3000));
    const QString popup = x.run("xdotool", {"search", "--onlyvisible", "--class", "Dunst"})
                              .split('\n', Qt::SkipEmptyParts)
                              .value(0);
    ASSERT_FALSE(popup.isEmpty()) << "no notification window";
    click(x.geometry(popup).center());
    EXPECT_TRUE(QTest::qWaitFor([&] { return mapped(); }, 5000)) << "the window stayed hidden: " << program->readAll().toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return count("displayed") == 0; }, 3000));
    // One notification in all: the second, which replaced the first.
    EXPECT_EQ(history(), QStringList{"Tallowbar|Channel 2: down"});

    menuItem(1); // off again
    ASSERT_TRUE(QTest::qWaitFor([&] { return setting().contains("notifyOfChanges=false"); }, 3000));
    realmSays("up ch2");
    refresh();
    EXPECT_EQ(count("displayed"), 0);
    EXPECT_EQ(count("history"), 1);
}

TEST_F(NotifyDesktop, StartAtLoginLeavesAValidEntryAndRemovesIt) {
    startRealm();
    startTicker();
    const QString entry = config.filePath("autostart/tallowbar.desktop");
    menuItem(2); // Start at login
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(entry); }, 3000));
    int status = -1;
    const QString said = x.run("desktop-file-validate", {entry}, &status);
    EXPECT_EQ(status, 0) << qPrintable(said);
    QFile f(entry);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("\nExec=" + QByteArray(TALLOWBAR_BIN) + "\n"));
    menuItem(2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !QFile::exists(entry); }, 3000));
    ASSERT_TRUE(program->state() == QProcess::Running);
    menuItem(-1); // Exit, still last
    // Ends through its exit sequence; give a loaded machine time.
    ASSERT_TRUE(program->state() == QProcess::NotRunning || program->waitForFinished(15000));
    EXPECT_EQ(program->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program->exitCode(), 0);
}

} // namespace
