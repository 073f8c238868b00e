// The real tallowbar binary on a desktop of its own: Xvfb, openbox and a tray
// host, driven through xdotool as a user would, probing the local realm.
#include "e2e/programdesktop.h"
#include "forms/tallowbar/tallowbar.h"

#include <QDir>

#include <QTest>
#include <csignal>

namespace {

class TickerDesktop : public e2e::ProgramDesktop {
protected:
    void startTicker() {
        startProgram(TALLOWBAR_BIN);
        ticker = program;
    }
    // Where a click on a control lands: its centre, on the screen.
    QPoint on(const QString& control) const {
        const QPoint centre = forms::tallowbar().form1.get(control).centre();
        return at(centre.x(), centre.y());
    }
    const forms::Roles role = forms::tallowbar().roles;
    QProcess* ticker = nullptr;
};

TEST_F(TickerDesktop, OpensShapedOnTopAtTheBottomRight) {
    startRealm();
    startTicker();
    const QSize screen = x.screenSize();
    EXPECT_EQ(geometry, QRect(screen.width() - 240, screen.height() - 89 - 30, 240, 89));
    EXPECT_TRUE(x.run("xprop", {"-id", window, "_NET_WM_STATE"}).contains("_NET_WM_STATE_ABOVE"));
    const QImage shot = x.screenshot();
    shot.save(QDir::temp().filePath("tallowbar-desktop.png"));
    // The desktop shows through the skin's black corners; the frame is opaque.
    EXPECT_EQ(shot.pixel(at(0, 88)), e2e::XSession::DesktopColour);
    EXPECT_EQ(shot.pixel(at(239, 88)), e2e::XSession::DesktopColour);
    EXPECT_EQ(shot.pixel(at(2, 0)), e2e::XSession::DesktopColour);
    EXPECT_NE(shot.pixel(at(120, 45)), e2e::XSession::DesktopColour);
    EXPECT_NE(shot.pixel(at(5, 45)), e2e::XSession::DesktopColour);
}

TEST_F(TickerDesktop, ALeftDragOnTheSurfaceMovesItAndARightDragDoesNot) {
    startRealm();
    startTicker();
    drag(at(120, 20), {-300, -200}, 3);
    EXPECT_EQ(x.geometry(window).topLeft(), geometry.topLeft()) << "right drag";
    drag(at(120, 20), {-300, -200}, 1);
    QPoint moved;
    (void)QTest::qWaitFor( // the window manager may take a moment to settle it
        [&] {
            moved = x.geometry(window).topLeft() - geometry.topLeft();
            return std::abs(moved.x() + 300) <= 4 && std::abs(moved.y() + 200) <= 4;
        },
        3000);
    EXPECT_NEAR(moved.x(), -300, 4);
    EXPECT_NEAR(moved.y(), -200, 4);
}

// A tap (a touchpad's, or any click quicker than the window manager) ends
// before the window manager takes the pointer for the move it was asked for:
// the window must not then follow the pointer until the next click.
TEST_F(TickerDesktop, AQuickClickOnTheSurfaceLeavesItWhereItIs) {
    startRealm();
    startTicker();
    for (int round = 0; round < 3; ++round) {
        click(at(120, 20));
        QTest::qWait(200);
        for (int step = 1; step <= 5; ++step)
            xdo({"mousemove", QString::number(at(120, 20).x() - 60 * step),
                 QString::number(at(120, 20).y() - 40 * step)});
        QTest::qWait(300);
        ASSERT_EQ(x.geometry(window).topLeft(), geometry.topLeft()) << "round " << round;
    }
    drag(at(120, 20), {-300, -200}, 1); // and a real drag still moves it
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return x.geometry(window).topLeft() != geometry.topLeft(); }, 3000));
}

TEST_F(TickerDesktop, HiddenOrMinimisedItComesBackFromTheTrayWithProbesDoneMeanwhile) {
    startRealm({"--silent", "login"}); // its probe ends only after the 5 s timeout
    startTicker();
    const QRect icon = x.trayIcon("tallowbar");
    ASSERT_FALSE(icon.isEmpty()) << "no tray icon";

    click(on(role.hide));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !mapped(); }, 3000));
    EXPECT_FALSE(x.trayIcon("tallowbar").isEmpty()) << "the icon stays";
    QTest::qWait(5500); // the login probe times out while the window is hidden
    click(icon.center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return mapped(); }, 3000));
    QTest::qWait(300);
    const QImage shot = x.screenshot();
    const QPoint origin = x.geometry(window).topLeft();
    EXPECT_GT(e2e::countPixels(shot, QRect(origin + QPoint(171, 51), QSize(9, 13)), e2e::isRed), 2)
        << "login went down while the window was hidden";

    x.run("xdotool", {"windowminimize", window});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !mapped(); }, 3000));
    click(icon.center(), 3); // a right click never shows it
    xdo({"key", "Escape"});
    QTest::qWait(300);
    EXPECT_FALSE(mapped());
    click(icon.center());
    EXPECT_TRUE(QTest::qWaitFor([&] { return mapped(); }, 3000));
}

TEST_F(TickerDesktop, TheTrayTooltipShowsTheSummaryAfterFiveSeconds) {
    startRealm({"--down", "ch2"});
    startTicker();
    const QRect icon = x.trayIcon("tallowbar");
    ASSERT_FALSE(icon.isEmpty());
    auto tooltipShown = [&] {
        for (const QString& type : x.visibleWindowTypes("tallowbar"))
            if (type.contains("TOOLTIP"))
                return true;
        return false;
    };
    auto hover = [&] { // onto the icon, then a nudge: tooltips wait for a move inside
        xdo({"mousemove", QString::number(icon.center().x()), QString::number(icon.center().y())});
        xdo({"mousemove", QString::number(icon.center().x() + 1),
             QString::number(icon.center().y())});
    };
    hover();
    QTest::qWait(1500);
    EXPECT_FALSE(tooltipShown()) << "the tip is empty until the first summary";
    xdo({"mousemove", "500", "300"});
    QTest::qWait(4500);
    hover();
    EXPECT_TRUE(QTest::qWaitFor(tooltipShown, 4000)) << "summary tooltip";
    x.screenshot().save(QDir::temp().filePath("tallowbar-tooltip.png"));
}

TEST_F(TickerDesktop, TheCloseLabelRemovesTheIconAndEndsTheProgram) {
    startRealm();
    startTicker();
    ASSERT_FALSE(x.trayIcon("tallowbar").isEmpty());
    click(on(role.close));
    ASSERT_TRUE(ticker->waitForFinished(5000)) << "still running";
    EXPECT_EQ(ticker->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(ticker->exitCode(), 0);
    EXPECT_TRUE(x.trayIcon("tallowbar").isEmpty());
}

// The search box and the link buttons lie outside the ticker's shape: they
// take no keys. Tab goes between the two hotspots that show, and Space on the
// hide spot hides.
TEST_F(TickerDesktop, KeysReachOnlyTheHotspotsThatShowNeverTheSearchOrTheLinks) {
    startRealm();
    startTicker();
    ASSERT_TRUE(focus()); // the focus starts on the hide spot
    QTest::qWait(200);
    xdo({"key", "Tab", "Tab"}); // the close spot, then the hide spot again
    xdo({"type", "--delay", "40", "a&b #c"});
    xdo({"key", "Return"}); // the hide spot takes Return: hidden
    ASSERT_TRUE(QTest::qWaitFor([&] { return !mapped(); }, 3000)) << "Return on the hide spot";
    click(x.trayIcon("tallowbar").center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return mapped(); }, 3000));
    ASSERT_TRUE(focus());
    xdo({"key", "Tab", "Tab", "Tab", "space"}); // the close spot, by Space
    ASSERT_TRUE(ticker->waitForFinished(5000)) << "still running";
    EXPECT_EQ(ticker->exitCode(), 0);
    EXPECT_TRUE(opened().isEmpty()) << qPrintable(opened().join(" | "));
}

} // namespace

namespace {

TEST_F(TickerDesktop, EndsThroughItsExitSequenceOnTerminateInterruptAndHangUp) {
    startRealm();
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
        startTicker();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !x.trayIcon("tallowbar").isEmpty(); }, 5000));
        ::kill(pid_t(ticker->processId()), sig);
        ASSERT_TRUE(ticker->waitForFinished(5000)) << "signal " << sig;
        EXPECT_EQ(ticker->exitStatus(), QProcess::NormalExit) << "signal " << sig;
        EXPECT_EQ(ticker->exitCode(), 0) << "signal " << sig;
        EXPECT_TRUE(x.trayIcon("tallowbar").isEmpty()) << "the icon went with it";
    }
}

TEST_F(TickerDesktop, StaysOnTheScreenAtAFractionalScale) {
    startRealm();
    QProcessEnvironment env;
    env.insert("QT_SCALE_FACTOR", "1.5");
    ticker = x.start(TALLOWBAR_BIN, {}, env);
    window = x.waitForWindow(ticker->processId(), "Form1");
    ASSERT_FALSE(window.isEmpty());
    QTest::qWait(300);
    const QRect g = x.geometry(window);
    EXPECT_EQ(g.size(), QSize(360, 134)) << "240 x 89 at 1.5";
    EXPECT_LE(g.right(), x.screenSize().width() - 1) << "not past the right edge";
    EXPECT_GE(g.right(), x.screenSize().width() - 2) << "yet at it";
}

TEST(ProgramWithoutDisplay, SaysSoAndExitsWithOne) {
    for (const char* display : {"", ":93"}) { // unset, and one nobody serves
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("QT_QPA_PLATFORM");
        env.remove("WAYLAND_DISPLAY");
        if (*display)
            env.insert("DISPLAY", display);
        else
            env.remove("DISPLAY");
        p.setProcessEnvironment(env);
        p.start(TALLOWBAR_BIN);
        ASSERT_TRUE(p.waitForFinished(10000));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << display;
        EXPECT_EQ(p.exitCode(), 1) << display;
        EXPECT_TRUE(p.readAllStandardError().contains("display")) << display;
    }
}

TEST(UnhandledError, ShowsNumberSourceAndDescriptionThenEndsTheProgram) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.start(UNHANDLED_DEMO_BIN);
    ASSERT_TRUE(p.waitForFinished(10000));
    const QString out = QString::fromLocal8Bit(p.readAllStandardOutput());
    const QString err = QString::fromLocal8Bit(p.readAllStandardError());
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_NE(p.exitCode(), 0);
    EXPECT_TRUE(out.contains("Run-time error '40020':")) << qPrintable(out);
    EXPECT_TRUE(out.contains("Invalid operation at current state")) << qPrintable(out);
    EXPECT_TRUE(out.contains("(Winsock)")) << qPrintable(out);
    EXPECT_FALSE(out.contains("still running"));
    EXPECT_TRUE(err.contains("run-time error 40020, Winsock: Invalid operation at current state"))
        << qPrintable(err);
}

} // namespace
