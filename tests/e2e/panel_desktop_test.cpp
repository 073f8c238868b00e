// The real brambleview binary on a desktop of its own, probing the local realm
// and showing the realm's game-start page in its embedded browser.
#include "e2e/programdesktop.h"
#include "forms/brambleview/brambleview.h"

#include <QDir>
#include <QTest>

#include <set>

namespace {

class PanelDesktop : public e2e::ProgramDesktop {
protected:
    void startPanel() {
        startProgram(BRAMBLEVIEW_BIN, true);
        ASSERT_TRUE(QTest::qWaitFor([&] { return pagesServed() >= 1; }, 15000))
            << "the page loads at start, parked";
    }
    // The realm says a line for every time it served the game-start page.
    int pagesServed() {
        realmSaid += QString::fromLocal8Bit(realm->readAllStandardOutput());
        return int(realmSaid.count("game-start page served"));
    }
    // The program and every process it started (the web engine's helpers).
    std::set<qint64> processTree() const {
        std::set<qint64> tree{program->processId()};
        for (bool grew = true; grew;) {
            grew = false;
            for (qint64 pid : std::set<qint64>(tree))
                for (const QString& child :
                     x.run("pgrep", {"-P", QString::number(pid)}).split('\n', Qt::SkipEmptyParts))
                    grew |= tree.insert(child.toLongLong()).second;
        }
        return tree;
    }
    // Waits a little for every one of them to be gone.
    static bool allEnd(const std::set<qint64>& processes) {
        return QTest::qWaitFor(
            [&] {
                for (qint64 pid : processes)
                    if (QFile::exists(QString("/proc/%1").arg(pid)))
                        return false;
                return true;
            },
            5000);
    }
    QRgb pixel(const QImage& shot, int wx, int wy) const { return shot.pixel(at(wx, wy)); }
    // Where a click on a control lands: its centre, on the screen.
    QPoint on(const QString& control) const {
        const QPoint centre = panel.form1.get(control).centre();
        return at(centre.x(), centre.y());
    }
    // The embedded page's area once shown.
    QRect shownPage() const {
        QRect page = panel.form1.get(panel.page.browser).pixelRect();
        page.moveLeft(panel.page.shownLeft);
        return page.translated(geometry.topLeft());
    }

    const forms::Program panel = forms::brambleview();
    const forms::Roles& role = panel.roles;
    QString realmSaid;
};

// Pixels of the page's dark background in a screenshot of the browser's area.
int pageDarkPixels(const QImage& shot, const QRect& area) {
    return e2e::countPixels(shot, area,
                            [](QRgb c) { return qRed(c) < 60 && qGreen(c) < 45 && qBlue(c) < 30; });
}

TEST_F(PanelDesktop, OpensShapedAtTheBottomRightWithItsControlsAndColouredCaptions) {
    startRealm({"--down", "ch2"});
    startPanel();
    const QSize screen = x.screenSize();
    EXPECT_EQ(geometry, QRect(screen.width() - 562, screen.height() - 520 - 30, 562, 520));
    EXPECT_TRUE(x.run("xprop", {"-id", window, "_NET_WM_STATE"}).contains("_NET_WM_STATE_ABOVE"));
    QTest::qWait(500);
    const QImage shot = x.screenshot();
    shot.save(QDir::temp().filePath("brambleview-desktop.png"));
    // Shaped: the desktop shows through the skin's black corners.
    for (QPoint corner : {QPoint(0, 0), QPoint(561, 0), QPoint(0, 519), QPoint(561, 519)})
        EXPECT_EQ(pixel(shot, corner.x(), corner.y()), e2e::XSession::DesktopColour)
            << corner.x() << "," << corner.y();
    // Every control on the parchment, drawn: none shows the desktop.
    for (const QString& control :
         {role.logToggle, role.searchBox, role.search, QString("Command6"), QString("Command3"),
          role.refresh, role.countdown, role.hide, role.close, QString("Label4")})
        EXPECT_NE(shot.pixel(on(control)), e2e::XSession::DesktopColour) << qPrintable(control);
    // The indicators' captions: the up servers in green, channel 2 in red.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const QImage now = x.screenshot();
            return e2e::countPixels(now, QRect(at(312, 264), QSize(121, 16)), e2e::isRed) > 10;
        },
        5000));
    const QImage captions = x.screenshot();
    for (int row : {0, 1, 2, 3, 5})
        EXPECT_GT(e2e::countPixels(captions, QRect(at(312, 200 + 16 * row), QSize(121, 16)),
                                   e2e::isGreen),
                  10)
            << "row " << row;
    EXPECT_EQ(e2e::countPixels(captions, QRect(at(312, 264), QSize(121, 16)), e2e::isGreen), 0);
}

TEST_F(PanelDesktop, TheUpdateLogButtonShowsTheServedPageAndParksItAgain) {
    startRealm();
    startPanel();
    const QString windowAtStart = window;
    const QRect browser = shownPage();
    const QImage before = x.screenshot();
    EXPECT_LT(pageDarkPixels(before, browser), 2000) << "parked out of sight";

    click(on(role.logToggle)); // "Show/Hide Update Log"
    ASSERT_TRUE(QTest::qWaitFor([&] { return pagesServed() >= 2; }, 10000)) << "loaded again";
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return pageDarkPixels(x.screenshot(), browser) > 20000; }, 10000))
        << "the page shows at left 165";
    x.screenshot().save(QDir::temp().filePath("brambleview-update-log.png"));
    // While shown, the link buttons beneath cannot be clicked.
    click(on("Command6"));
    QTest::qWait(500);
    EXPECT_TRUE(opened().isEmpty()) << qPrintable(opened().join(" | "));

    click(on(role.logToggle));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return pageDarkPixels(x.screenshot(), browser) < 2000; }, 5000))
        << "parked again";
    EXPECT_EQ(pagesServed(), 2) << "parking loads nothing";
    EXPECT_EQ(x.waitForWindow(program->processId(), "Form1"), windowAtStart)
        << "the window keeps its handle";
    EXPECT_EQ(x.run("xwininfo", {"-id", window, "-shape"}).count("No window shape"), 0)
        << "and its shape";
}

// The page lives in a window of its own inside the panel's: the mouse wheel
// over it scrolls the update log, and once it is parked the panel's controls
// have the mouse and the keyboard as before.
TEST_F(PanelDesktop, TheShownPageScrollsByTheWheelAndTheSearchBoxTypesAfterwards) {
    startRealm();
    startPanel();
    ASSERT_TRUE(focus());
    const QRect browser = shownPage();
    click(on(role.logToggle)); // "Show/Hide Update Log"
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return pageDarkPixels(x.screenshot(), browser) > 20000; }, 10000));
    QTest::qWait(500);
    const QImage top = x.screenshot().copy(browser);

    xdo({"mousemove", QString::number(at(300, 330).x()), QString::number(at(300, 330).y())});
    xdo({"click", "--repeat", "5", "5"}); // the wheel, downwards
    EXPECT_TRUE(QTest::qWaitFor([&] { return x.screenshot().copy(browser) != top; }, 5000))
        << "the page did not scroll";

    click(on(role.logToggle)); // parked again
    click(at(200, 207));
    xdo({"type", "--delay", "40", "guild"});
    xdo({"key", "Return"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !opened().isEmpty(); }, 5000))
        << "the search box did not get the keys";
    EXPECT_TRUE(opened()[0].contains("q=guild+site%3A")) << qPrintable(opened()[0]);
}

TEST_F(PanelDesktop, TheSearchBoxAndTheLinksReachTheBrowser) {
    startRealm();
    startPanel();
    ASSERT_TRUE(focus());
    click(at(200, 207)); // into the search box: its prompt goes
    xdo({"type", "--delay", "40", "guild"});
    xdo({"key", "Return"});
    click(on(role.search)); // "->"
    click(on("Command3"));  // "VellFans"
    ASSERT_TRUE(QTest::qWaitFor([&] { return opened().size() >= 3; }, 5000))
        << qPrintable(opened().join(" | "));
    EXPECT_TRUE(opened()[0].contains("q=guild+site%3A")) << qPrintable(opened()[0]);
    EXPECT_EQ(opened()[1], opened()[0]);
    EXPECT_TRUE(opened()[2].endsWith("/site/vellmoor/brambleview.php")) << qPrintable(opened()[2]);
}

TEST_F(PanelDesktop, HidesToTheTrayComesBackAndItsExitLeavesNoProcessBehind) {
    startRealm();
    startPanel();
    const QRect icon = x.trayIcon("brambleview");
    ASSERT_FALSE(icon.isEmpty()) << "no tray icon";
    click(on(role.hide)); // the green button
    ASSERT_TRUE(QTest::qWaitFor([&] { return !mapped(); }, 3000));
    click(icon.center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return mapped(); }, 3000));

    const std::set<qint64> processes = processTree();
    EXPECT_GT(processes.size(), 1u) << "the web engine runs helpers";
    click(icon.center(), 3); // the tray menu: Exit
    QTest::qWait(400);
    xdo({"key", "Up", "Return"});
    ASSERT_TRUE(program->waitForFinished(10000)) << "still running";
    EXPECT_EQ(program->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program->exitCode(), 0);
    EXPECT_TRUE(x.trayIcon("brambleview").isEmpty());
    EXPECT_TRUE(allEnd(processes)) << "a process of the program is left";
}

TEST_F(PanelDesktop, TheCloseButtonEndsItWithEveryHelper) {
    startRealm();
    startPanel();
    const std::set<qint64> processes = processTree();
    click(on(role.close)); // the blue button
    ASSERT_TRUE(program->waitForFinished(10000)) << "still running";
    EXPECT_EQ(program->exitCode(), 0);
    EXPECT_TRUE(x.trayIcon("brambleview").isEmpty());
    EXPECT_TRUE(allEnd(processes)) << "a process of the program is left";
}

} // namespace
