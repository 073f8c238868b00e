// The panel's embedded page on a desktop of its own: it keeps to its own
// site, whatever the page tries, and comes back after its render process ends.
#include "e2e/programdesktop.h"
#include "forms/brambleview/brambleview.h"

#include <QDir>
#include <QTest>

#include <csignal>
#include <set>
#include <vector>

namespace {

class PanelPage : public e2e::ProgramDesktop {
protected:
    void startPanel() {
        startProgram(BRAMBLEVIEW_BIN, true);
        ASSERT_TRUE(QTest::qWaitFor([&] { return pagesServed() >= 1; }, 15000))
            << "the page loads at start, parked";
    }
    // What the realm said so far: a line for each page served, redirect
    // served and request to the other site.
    const QString& realmSays() {
        realmSaid += QString::fromLocal8Bit(realm->readAllStandardOutput());
        return realmSaid;
    }
    int pagesServed() { return int(realmSays().count("game-start page served")); }
    // The web engine's render processes among the program's descendants: a
    // zygote forks them, and they may keep its command line (but not its parent).
    std::set<qint64> renderers() const {
        std::set<qint64> found;
        std::vector<qint64> next{program->processId()};
        while (!next.empty()) {
            const qint64 pid = next.back();
            next.pop_back();
            const bool zygote = commandLine(pid).contains(" --type=zygote ");
            for (const QString& child :
                 x.run("pgrep", {"-P", QString::number(pid)}).split('\n', Qt::SkipEmptyParts)) {
                const qint64 c = child.toLongLong();
                if (commandLine(c).contains(" --type=renderer ") || zygote)
                    found.insert(c);
                next.push_back(c);
            }
        }
        return found;
    }
    static QByteArray commandLine(qint64 pid) {
        QFile cmdline(QString("/proc/%1/cmdline").arg(pid));
        return cmdline.open(QIODevice::ReadOnly) ? cmdline.readAll().replace('\0', ' ') + " "
                                                 : QByteArray();
    }
    QPoint on(const QString& control) const {
        const QPoint centre = panel.form1.get(control).centre();
        return at(centre.x(), centre.y());
    }
    QRect shownPage() const {
        QRect page = panel.form1.get(panel.page.browser).pixelRect();
        page.moveLeft(panel.page.shownLeft);
        return page.translated(geometry.topLeft());
    }
    // Pixels of the page's dark background where the page shows.
    int pageDarkPixels() const {
        return e2e::countPixels(x.screenshot(), shownPage(), [](QRgb c) {
            return qRed(c) < 60 && qGreen(c) < 45 && qBlue(c) < 30;
        });
    }
    bool pageShows() const {
        return QTest::qWaitFor([&] { return pageDarkPixels() > 20000; }, 10000);
    }

    const forms::Program panel = forms::brambleview();
    QString realmSaid;
};

TEST_F(PanelPage, KeepsToItsSiteAndHandsAClickedLinkToTheDesktopsBrowser) {
    startRealm({"--wayward-page"});
    startPanel();
    click(on(panel.roles.logToggle)); // "Show/Hide Update Log"
    ASSERT_TRUE(pageShows());
    // The page's script goes through its five ways off the site, the last a
    // redirect; the refresh comes 3 s after the page.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return realmSays().contains("redirect served: /gamestart/mirror.asp"); }, 10000))
        << qPrintable(realmSaid);
    QTest::qWait(3000);
    EXPECT_TRUE(pageShows()) << "the page stays";

    click(shownPage().center()); // the page is one link to the other site
    ASSERT_TRUE(QTest::qWaitFor([&] { return !opened().isEmpty(); }, 5000));
    QTest::qWait(500);
    EXPECT_EQ(opened(), QStringList{"http://127.80.0.99/news/patch-2.14.html"});
    EXPECT_TRUE(pageShows()) << "the link does not load in the view";
    EXPECT_FALSE(realmSays().contains("other site asked")) << qPrintable(realmSaid);
}

TEST_F(PanelPage, AfterItsRenderProcessIsKilledTheNextShowLoadsItAgain) {
    startRealm();
    startPanel();
    click(on(panel.roles.logToggle));
    ASSERT_TRUE(pageShows());
    const std::set<qint64> killed = renderers();
    ASSERT_FALSE(killed.empty()) << "no render process found";
    for (qint64 pid : killed)
        ::kill(pid_t(pid), SIGKILL);
    ASSERT_TRUE(QTest::qWaitFor([&] { return pageDarkPixels() < 2000; }, 10000))
        << "the page still shows with its render process gone";
    x.screenshot().save(QDir::temp().filePath("brambleview-renderer-gone.png"));

    const int served = pagesServed();
    click(on(panel.roles.logToggle)); // parked
    click(on(panel.roles.logToggle)); // and shown again
    ASSERT_TRUE(QTest::qWaitFor([&] { return pagesServed() > served; }, 10000));
    EXPECT_TRUE(pageShows()) << "still grey";
    x.screenshot().save(QDir::temp().filePath("brambleview-renderer-back.png"));
    const std::set<qint64> now = renderers();
    EXPECT_FALSE(now.empty());
    for (qint64 pid : now)
        EXPECT_EQ(killed.count(pid), 0u);
}

} // namespace
