// Both real programs used as a screen reader user and a keyboard-only user
// use them: on a private desktop whose accessibility bus is enabled as a
// running screen reader enables it, read and pressed through tools/atspi, and
// driven by nothing but xdotool key events.
#include "e2e/programdesktop.h"
#include "forms/brambleview/brambleview.h"
#include "forms/tallowbar/tallowbar.h"

#include <QRegularExpression>
#include <QTest>

namespace {

class AccessibleDesktop : public e2e::ProgramDesktop {
protected:
    AccessibleDesktop()
        : ProgramDesktop({.windowManager = true, .trayHost = true, .accessibility = true}) {}

    void start(const forms::Program& definition, const QString& binary) {
        def = definition;
        startProgram(binary, !def.page.browser.isEmpty());
        pid = QString::number(program->processId());
    }
    // tools/atspi's answer for this program; an empty text when it fails.
    QString atspi(const QString& command, const QStringList& args = {}) const {
        int code = -1;
        const QString out = x.run(ATSPI_TOOL, QStringList{command, pid} + args, &code);
        return code == 0 ? out : QString();
    }
    // The screen rectangle of the node that has the keyboard focus.
    QRect focusedRect() const {
        static const QRegularExpression extents("@(-?\\d+),(-?\\d+),(\\d+)x(\\d+)");
        const QRegularExpressionMatch m = extents.match(atspi("focused"));
        return m.hasMatch() ? QRect(m.captured(1).toInt(), m.captured(2).toInt(),
                                    m.captured(3).toInt(), m.captured(4).toInt())
                            : QRect();
    }
    QRect screenRect(const QString& control) const {
        return def.form1.get(control).pixelRect().translated(geometry.topLeft());
    }
    // The control of the definition at that screen rectangle, or what was found.
    QString focusedControl() const {
        const QRect r = focusedRect();
        for (const forms::Control& c : def.form1.controls)
            if (screenRect(c.name) == r && c.kind != forms::ControlKind::Timer &&
                c.kind != forms::ControlKind::Winsock)
                return c.name;
        if (!def.page.browser.isEmpty() && r == shownPage())
            return def.page.browser; // the shown page, a stop of its own
        return QString("<%1,%2 %3x%4>").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    }
    QRect shownPage() const {
        QRect page = def.form1.get(def.page.browser).pixelRect();
        page.moveLeft(def.page.shownLeft);
        return page.translated(geometry.topLeft());
    }
    // The controls a keyboard can reach by their kind or role that a user
    // sees now (the skin drawn at their centre, not under a shown page), in
    // tab index order.
    QStringList showing(bool pageShown) const {
        const QImage shot = x.screenshot();
        std::vector<const forms::Control*> order;
        for (const forms::Control& c : def.form1.controls) {
            const bool focusable = c.kind == forms::ControlKind::CommandButton ||
                                   c.kind == forms::ControlKind::TextBox ||
                                   c.kind == forms::ControlKind::PictureBox ||
                                   c.name == def.roles.hide || c.name == def.roles.close;
            const QPoint centre = screenRect(c.name).center();
            if (focusable && geometry.contains(centre) &&
                shot.pixel(centre) != e2e::XSession::DesktopColour &&
                !(pageShown && shownPage().contains(centre)))
                order.push_back(&c);
        }
        std::stable_sort(order.begin(), order.end(),
                         [](auto* a, auto* b) { return a->tabIndex < b->tabIndex; });
        QStringList names;
        for (const forms::Control* c : order)
            names << c->name;
        return names;
    }
    // The controls met pressing key from the focus until it comes back.
    QStringList walk(const QString& key) const {
        const QString start = focusedControl();
        QStringList met{start};
        for (int step = 0; step < 20; ++step) {
            xdo({"key", key});
            const QString now = focusedControl();
            if (now == start)
                break;
            met << now;
        }
        return met;
    }
    static QStringList from(QStringList cycle, const QString& start) {
        std::rotate(cycle.begin(), cycle.begin() + std::max(0, int(cycle.indexOf(start))),
                    cycle.end());
        return cycle;
    }
    static QStringList backwards(QStringList cycle) {
        std::reverse(cycle.begin() + 1, cycle.end());
        return cycle;
    }
    // Tab until the focus is on control.
    bool tabTo(const QString& control) const {
        for (int step = 0; step < 20; ++step) {
            if (focusedControl() == control)
                return true;
            xdo({"key", "Tab"});
        }
        return false;
    }
    // What an indicator's name holds: the caption it shows, after its
    // server's name where the caption lacks it.
    QString indicatorName(int row, bool up) const {
        const forms::Server& s = def.probes[size_t(row)];
        const QString caption =
            QString(up ? def.indicators.up : def.indicators.down).replace("%1", s.name);
        return caption.contains(s.name) ? caption : s.name + ": " + caption;
    }
    // The tree's line of the first node with that name.
    QString node(const QString& name) const {
        for (const QString& line : atspi("tree").split('\n'))
            if (line.contains("'" + name + "'"))
                return line;
        return {};
    }
    bool treeHas(const QString& line) const {
        return QTest::qWaitFor([&] { return atspi("tree").contains(line); }, 10000);
    }
    QString sizeHints() const { return x.run("xprop", {"-id", window, "WM_NORMAL_HINTS"}); }
    void realmSays(const char* command) {
        realm->write(QByteArray(command) + "\n");
        ASSERT_TRUE(realm->waitForReadyRead(3000));
    }
    bool endsWithZero() const {
        return program->waitForFinished(10000) && program->exitStatus() == QProcess::NormalExit &&
               program->exitCode() == 0;
    }

    forms::Program def;
    QString pid;
};

// The first focus, the window's name, the indicators' names as they show and
// the hotspots pressed through their accessible action.
TEST_F(AccessibleDesktop, AScreenReaderFindsTheTickerAsItShowsAndPressesItsHotspots) {
    startRealm();
    start(forms::tallowbar(), TALLOWBAR_BIN);
    ASSERT_TRUE(focus());
    EXPECT_TRUE(treeHas("'Tallowbar'")) << qPrintable(atspi("tree"));
    EXPECT_TRUE(geometry.contains(focusedRect())) << qPrintable(atspi("focused"));
    EXPECT_EQ(focusedControl(), def.roles.hide);
    const int ch2 = 4;
    ASSERT_EQ(def.probes[size_t(ch2)].key, "ch2");
    EXPECT_TRUE(treeHas("'" + indicatorName(ch2, true) + "'")) << qPrintable(atspi("tree"));
    QProcess* listener = x.start(ATSPI_TOOL, {"watch", pid, "6"});
    ASSERT_TRUE(listener->waitForReadyRead(10000)); // "watching"
    realmSays("down ch2");
    // The ticker's Refresh lies outside its shape; assistive technology still presses it.
    ASSERT_FALSE(atspi("press", {"Refresh"}).isEmpty());
    EXPECT_TRUE(treeHas("'" + indicatorName(ch2, false) + "'")) << qPrintable(atspi("tree"));
    EXPECT_TRUE(treeHas("desc='Channel 2: down'"));
    ASSERT_TRUE(listener->waitForFinished(15000));
    const QString heard = QString::fromUtf8(listener->readAll());
    EXPECT_TRUE(heard.contains("accessible-name '" + indicatorName(ch2, false) + "'"))
        << "the change is announced: " << qPrintable(heard);
    EXPECT_TRUE(heard.contains("accessible-description '" + indicatorName(ch2, false) +
                               "' desc='Channel 2: down'"))
        << qPrintable(heard);

    const QRect icon = x.trayIcon("tallowbar");
    ASSERT_FALSE(atspi("press", {"Hide this app!"}).isEmpty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !mapped(); }, 3000));
    click(icon.center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return mapped(); }, 3000));
    ASSERT_FALSE(atspi("press", {"Close this app!"}).isEmpty());
    EXPECT_TRUE(endsWithZero());
}

TEST_F(AccessibleDesktop, AScreenReaderFindsThePanelAsItShowsAndPressesItsHotspots) {
    startRealm();
    start(forms::brambleview(), BRAMBLEVIEW_BIN);
    ASSERT_TRUE(focus());
    EXPECT_TRUE(treeHas("'Brambleview'")) << qPrintable(atspi("tree"));
    EXPECT_TRUE(geometry.contains(focusedRect())) << qPrintable(atspi("focused"));
    EXPECT_EQ(focusedControl(), def.roles.refresh);
    const int ch2 = 4;
    EXPECT_TRUE(treeHas("'" + indicatorName(ch2, true) + "'")) << qPrintable(atspi("tree"));
    EXPECT_TRUE(treeHas("desc='10 minutes to the next check'"));
    realmSays("down ch2");
    ASSERT_FALSE(atspi("press", {"Refresh"}).isEmpty());
    EXPECT_TRUE(treeHas("'" + indicatorName(ch2, false) + "'")) << qPrintable(atspi("tree"));
    EXPECT_TRUE(treeHas("desc='Channel 2: down'"));
    ASSERT_FALSE(atspi("press", {"Show/Hide Update Log"}).isEmpty());
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return node("Show/Hide Update Log").contains("checked"); }, 5000))
        << qPrintable(node("Show/Hide Update Log"));

    const QRect icon = x.trayIcon("brambleview");
    ASSERT_FALSE(atspi("press", {"Hide this app!"}).isEmpty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !mapped(); }, 3000));
    click(icon.center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return mapped(); }, 3000));
    ASSERT_FALSE(atspi("press", {"Close this app!"}).isEmpty());
    EXPECT_TRUE(endsWithZero());
}

// Keys only: the two hotspots are all the ticker shows, so they are all Tab
// reaches; typed text goes nowhere; Space hides; Alt+F4 ends it.
TEST_F(AccessibleDesktop, TheTickerByKeyboardAlone) {
    startRealm();
    start(forms::tallowbar(), TALLOWBAR_BIN);
    const QString size = QString("%1 by %2").arg(geometry.width()).arg(geometry.height());
    EXPECT_TRUE(sizeHints().contains("minimum size: " + size)) << qPrintable(sizeHints());
    EXPECT_TRUE(sizeHints().contains("maximum size: " + size)) << qPrintable(sizeHints());
    ASSERT_TRUE(focus());
    const QStringList shows = showing(false);
    EXPECT_EQ(shows, QStringList({def.roles.hide, def.roles.close}));
    EXPECT_EQ(walk("Tab"), from(shows, focusedControl()));
    EXPECT_EQ(walk("shift+Tab"), backwards(from(shows, focusedControl())));
    xdo({"type", "--delay", "40", "guild"});
    QTest::qWait(300);
    EXPECT_TRUE(opened().isEmpty()) << "the search box is out of sight and out of reach";
    ASSERT_TRUE(tabTo(def.roles.hide));
    xdo({"key", "space"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !mapped(); }, 3000));
    click(x.trayIcon("tallowbar").center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return mapped(); }, 3000));
    ASSERT_TRUE(focus());
    xdo({"key", "alt+F4"});
    EXPECT_TRUE(endsWithZero());
}

int pageDarkPixels(const QImage& shot, const QRect& area) {
    return e2e::countPixels(shot, area,
                            [](QRgb c) { return qRed(c) < 60 && qGreen(c) < 45 && qBlue(c) < 30; });
}

// Keys only: Tab and Shift+Tab reach every control that shows and none the
// shown log covers; a search typed and sent with Return; the log shown and
// parked by Space; hidden by Space on its hotspot; ended by Alt+F4.
TEST_F(AccessibleDesktop, ThePanelByKeyboardAlone) {
    startRealm();
    start(forms::brambleview(), BRAMBLEVIEW_BIN);
    const QString size = QString("%1 by %2").arg(geometry.width()).arg(geometry.height());
    EXPECT_TRUE(sizeHints().contains("minimum size: " + size)) << qPrintable(sizeHints());
    EXPECT_TRUE(sizeHints().contains("maximum size: " + size)) << qPrintable(sizeHints());
    ASSERT_TRUE(focus());
    const QStringList parked = showing(false);
    EXPECT_EQ(parked.size(), 11) << qPrintable(parked.join(' '));
    EXPECT_EQ(walk("Tab"), from(parked, focusedControl()));
    EXPECT_EQ(walk("shift+Tab"), backwards(from(parked, focusedControl())));

    ASSERT_TRUE(tabTo(def.roles.searchBox)); // its prompt selected: typing replaces it
    xdo({"type", "--delay", "40", "guild"});
    xdo({"key", "Return"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !opened().isEmpty(); }, 5000));
    EXPECT_TRUE(opened()[0].contains("q=guild+site%3A")) << qPrintable(opened()[0]);

    ASSERT_TRUE(tabTo(def.roles.logToggle));
    xdo({"key", "space"});
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return pageDarkPixels(x.screenshot(), shownPage()) > 20000; }, 10000))
        << "Space shows the log";
    const QStringList shown = showing(true);
    EXPECT_EQ(shown, QStringList({def.roles.hide, def.roles.close, def.roles.logToggle}));
    // The page itself is the stop after the toggle (it has no links of its own).
    QStringList stops = shown;
    stops.insert(stops.indexOf(def.roles.logToggle) + 1, def.page.browser);
    EXPECT_EQ(walk("Tab"), from(stops, focusedControl()));
    EXPECT_EQ(walk("shift+Tab"), backwards(from(stops, focusedControl())));
    ASSERT_TRUE(tabTo(def.roles.logToggle));
    xdo({"key", "space"});
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return pageDarkPixels(x.screenshot(), shownPage()) < 2000; }, 5000))
        << "and parks it";
    EXPECT_EQ(walk("Tab"), from(parked, focusedControl())) << "the covered controls are back";

    ASSERT_TRUE(tabTo(def.roles.hide));
    xdo({"key", "space"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !mapped(); }, 3000));
    click(x.trayIcon("brambleview").center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return mapped(); }, 3000));
    ASSERT_TRUE(focus());
    xdo({"key", "alt+F4"});
    EXPECT_TRUE(endsWithZero());
}

} // namespace
