// Starting a program that already runs on the display, with a session bus of
// the test's own: the running window comes back, shown and focused, and the
// second start ends at once, leaving one process and one tray icon.
#include "e2e/programdesktop.h"
#include "forms/brambleview/brambleview.h"
#include "forms/tallowbar/tallowbar.h"

#include <QRegularExpression>
#include <QTest>

#include <csignal>
#include <set>

namespace {

class SecondStart : public e2e::ProgramDesktop {
protected:
    void SetUp() override {
        ProgramDesktop::SetUp();
        ASSERT_TRUE(busDir.isValid());
        bus = x.start("dbus-daemon", {"--session", "--nofork", "--nopidfile", "--print-address=1",
                                      "--address=unix:dir=" + busDir.path()});
        ASSERT_TRUE(bus->waitForReadyRead(10000)) << "dbus-daemon did not start";
        const QString address = QString::fromLocal8Bit(bus->readLine()).trimmed();
        ASSERT_TRUE(address.startsWith("unix:")) << qPrintable(address);
        programEnvironment.insert("DBUS_SESSION_BUS_ADDRESS", address);
    }

    // Starts the program again, as a launcher would: it must end with 0
    // within a few seconds.
    void startAgain(const QString& binary) {
        QProcessEnvironment env = programEnvironment;
        env.insert("QTWEBENGINE_DISABLE_SANDBOX", "1"); // tests only
        if (binary == BRAMBLEVIEW_BIN && qEnvironmentVariableIsSet("ASAN_OPTIONS"))
            // As the first start: the web engine's own frees and leaks are not ours.
            env.insert("ASAN_OPTIONS", qEnvironmentVariable("ASAN_OPTIONS") +
                                           ":new_delete_type_mismatch=0:detect_leaks=0");
        QProcess* again = x.start(binary, {}, env);
        ASSERT_TRUE(again->waitForFinished(5000)) << "the second start still runs";
        EXPECT_EQ(again->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(again->exitCode(), 0) << again->readAll().constData();
    }
    // The processes that own a window of the class on this display.
    std::set<qint64> windowOwners(const QString& windowClass) const {
        std::set<qint64> owners;
        for (const QString& id :
             x.run("xdotool", {"search", "--class", windowClass}).split('\n', Qt::SkipEmptyParts))
            if (const QString pid = x.run("xdotool", {"getwindowpid", id.trimmed()}).trimmed();
                !pid.isEmpty())
                owners.insert(pid.toLongLong());
        return owners;
    }
    // The icons of the class in the tray host's panel, at the screen's bottom.
    int trayIcons(const QString& windowClass) const {
        const QRegularExpression icon(
            QString(R"(\("%1" "[^"]*"\)\s+(\d+)x(\d+)\+-?\d+\+-?\d+\s+\+-?\d+\+(-?\d+))")
                .arg(windowClass));
        int n = 0;
        for (auto it = icon.globalMatch(x.run("xwininfo", {"-root", "-tree"})); it.hasNext();) {
            const auto m = it.next();
            n += m.captured(1).toInt() <= 32 && m.captured(2).toInt() <= 32 &&
                 m.captured(3).toInt() >= x.screenSize().height() - 32;
        }
        return n;
    }
    bool focused() const {
        return QTest::qWaitFor(
            [&] { return x.run("xdotool", {"getwindowfocus"}).trimmed() == window; }, 3000);
    }
    // Hides the window with its hide control, or has the window manager
    // minimise it; then starts the program again and checks it came back.
    void awayAndBack(const QString& binary, const QString& windowClass, QPoint hide) {
        const qint64 first = program->processId();
        for (bool minimise : {false, true}) {
            SCOPED_TRACE(minimise ? "minimised" : "hidden");
            if (minimise)
                x.run("xdotool", {"windowminimize", window});
            else
                click(hide);
            ASSERT_TRUE(QTest::qWaitFor([&] { return !mapped(); }, 3000));
            startAgain(binary);
            EXPECT_TRUE(QTest::qWaitFor([&] { return mapped(); }, 3000)) << "not back";
            EXPECT_TRUE(focused()) << "no keyboard";
            EXPECT_EQ(windowOwners(windowClass), std::set<qint64>{first});
            EXPECT_EQ(trayIcons(windowClass), 1);
            EXPECT_EQ(program->state(), QProcess::Running);
        }
    }

    QTemporaryDir busDir;
    QProcess* bus = nullptr;
};

TEST_F(SecondStart, BringsTheTickerBackAndACrashedTickerLeavesTheDisplayFree) {
    startRealm();
    startProgram(TALLOWBAR_BIN);
    ASSERT_TRUE(QTest::qWaitFor([&] { return trayIcons("tallowbar") == 1; }, 5000));
    const forms::Program ticker = forms::tallowbar();
    const QPoint hide = ticker.form1.get(ticker.roles.hide).centre();
    awayAndBack(TALLOWBAR_BIN, "tallowbar", at(hide.x(), hide.y()));

    // Killed, it holds nothing: the next start runs a window of its own.
    const qint64 killed = program->processId();
    ::kill(pid_t(killed), SIGKILL);
    ASSERT_TRUE(program->waitForFinished(5000));
    startProgram(TALLOWBAR_BIN);
    EXPECT_NE(program->processId(), killed);
    EXPECT_EQ(program->state(), QProcess::Running);
}

TEST_F(SecondStart, BringsThePanelBack) {
    startRealm();
    startProgram(BRAMBLEVIEW_BIN, true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return trayIcons("brambleview") == 1; }, 10000));
    const forms::Program panel = forms::brambleview();
    const QPoint hide = panel.form1.get(panel.roles.hide).centre();
    awayAndBack(BRAMBLEVIEW_BIN, "brambleview", at(hide.x(), hide.y()));
}

// A window minimised while no tray host ran is on the taskbar; once a tray
// host runs, the icon's left press brings it back.
TEST(TrayHostLater, TheIconBringsBackTheTickerMinimisedBeforeItCame) {
    e2e::XSession x{{.windowManager = true, .trayHost = false}};
    ASSERT_TRUE(x.ok()) << qPrintable(x.error());
    QProcess* ticker = x.start(TALLOWBAR_BIN);
    const QString window = x.waitForWindow(ticker->processId(), "Form1");
    ASSERT_FALSE(window.isEmpty());
    QTest::qWait(300);
    x.run("xdotool", {"windowminimize", window});
    const auto mapped = [&] { return x.run("xwininfo", {"-id", window}).contains("IsViewable"); };
    ASSERT_TRUE(QTest::qWaitFor([&] { return !mapped(); }, 3000));
    // The tray host as the desktop starts it.
    x.start("trayer", {"--edge", "bottom", "--align", "left", "--widthtype", "pixel", "--width",
                       "120", "--height", "24", "--SetDockType", "true", "--transparent", "false",
                       "--tint", "0x303030"});
    QRect icon;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !(icon = x.trayIcon("tallowbar")).isEmpty(); }, 10000))
        << "the icon did not come with the tray host";
    QTest::qWait(300);
    x.run("xdotool", {"mousemove", QString::number(icon.center().x()),
                      QString::number(icon.center().y()), "click", "1"});
    EXPECT_TRUE(QTest::qWaitFor(mapped, 3000)) << "still minimised";
    EXPECT_EQ(ticker->state(), QProcess::Running);
}

} // namespace
