// The window by keyboard alone: only controls a user can see take the focus,
// Tab and Shift+Tab walk them in tab index order, and Space, Return and Enter
// press what has the focus.
#include "formfixture.h"

#include <QAccessible>
#include <QApplication>
#include <QTest>

#include <algorithm>

namespace {

class KeyboardWindow : public ProgramWindow {
protected:
    void showActive() {
        load();
        activate();
    }
    void activate() {
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    bool pageShown() const {
        return fakes.browsers.last && fakes.browsers.last->Left() == program.page.shownLeft;
    }
    // What of the window shows: its shape, less the page where it is shown.
    QRegion seen() const {
        QRegion r = fakes.gdi.RegionPixels(form->region()->hRgn());
        if (pageShown()) {
            QRect page = program.form1.get(program.page.browser).pixelRect();
            page.moveLeft(program.page.shownLeft);
            r -= page;
        }
        return r;
    }
    // The controls that take the focus by their kind or their role and show,
    // in tab index order.
    QStringList visibleStops() const {
        std::vector<const forms::Control*> order;
        for (const forms::Control& c : program.form1.controls) {
            const bool focusable = c.kind == forms::ControlKind::CommandButton ||
                                   c.kind == forms::ControlKind::TextBox ||
                                   c.kind == forms::ControlKind::PictureBox ||
                                   c.name == program.roles.hide || c.name == program.roles.close;
            if (focusable && seen().intersects(c.pixelRect()))
                order.push_back(&c);
        }
        std::stable_sort(order.begin(), order.end(),
                         [](auto* a, auto* b) { return a->tabIndex < b->tabIndex; });
        QStringList names;
        for (const forms::Control* c : order)
            names << c->name;
        return names;
    }
    static QString focused() {
        QWidget* w = QApplication::focusWidget();
        return w ? w->objectName() : QString("<none>");
    }
    // The names met pressing key from the focus until it comes back, the
    // start first.
    static QStringList walk(Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        const QString start = focused();
        QStringList met{start};
        for (int step = 0; step < 40; ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, modifiers);
            if (focused() == start)
                break;
            met << focused();
        }
        return met;
    }
    static QStringList from(QStringList cycle, const QString& start) {
        std::rotate(cycle.begin(), cycle.begin() + std::max(0, int(cycle.indexOf(start))),
                    cycle.end());
        return cycle;
    }
    static QStringList reversed(QStringList cycle) {
        std::reverse(cycle.begin() + 1, cycle.end());
        return cycle;
    }
    void focusOn(const char* name) {
        control<QWidget>(name)->setFocus(Qt::TabFocusReason);
        ASSERT_EQ(focused(), name);
    }
    static bool atFocusable(QWidget* w) {
        return QAccessible::queryAccessibleInterface(w)->state().focusable;
    }
};

TEST_P(KeyboardWindow, OnlyControlsThatShowAreStopsAndTabWalksThemInTabOrderShownAndParked) {
    showActive();
    EXPECT_EQ(focused(), visibleStops().value(0)) << "the first focus: the first that shows";
    EXPECT_NE(focused(), program.roles.picture);
    // Parked, shown and parked again; without a page the toggle changes nothing.
    for (int round = 0; round < 3; ++round) {
        const QStringList stops = visibleStops();
        ASSERT_FALSE(stops.isEmpty());
        ASSERT_TRUE(stops.contains(focused())) << qPrintable(focused());
        EXPECT_EQ(walk(), from(stops, focused())) << "round " << round;
        EXPECT_EQ(walk(Qt::ShiftModifier), reversed(from(stops, focused()))) << "round " << round;
        // What assistive technology may focus is what the keyboard reaches.
        for (const forms::Control& c : program.form1.controls) {
            if (auto* w = form->controls().find<QWidget>(c.name)) {
                EXPECT_EQ(atFocusable(w), stops.contains(c.name))
                    << qPrintable(c.name) << " round " << round;
            }
        }
        if (!stops.contains(program.roles.logToggle))
            break; // the ticker's toggle lies outside its shape
        focusOn(qPrintable(program.roles.logToggle));
        QTest::keyClick(control<QWidget>(qPrintable(program.roles.logToggle)), Qt::Key_Space);
        EXPECT_EQ(pageShown(), round % 2 == 0) << "Space on the toggle, round " << round;
    }
}

TEST_P(KeyboardWindow, TheTickerShowsOnlyItsHotspotsAndThePanelHidesEightStopsUnderItsLog) {
    // The definitions place controls off the ticker's shape with tab indexes.
    showActive();
    const forms::Roles& role = program.roles;
    if (!fakes.browsers.last) {
        EXPECT_EQ(visibleStops(), QStringList({role.hide, role.close}));
        EXPECT_EQ(walk(), QStringList({role.hide, role.close}));
        return;
    }
    const QStringList parked = visibleStops();
    EXPECT_EQ(parked.size(), 11);
    EXPECT_EQ(parked.first(), role.refresh);
    form->Command8_Click();
    EXPECT_EQ(visibleStops(), QStringList({role.hide, role.close, role.logToggle}));
    EXPECT_EQ(walk(), from(visibleStops(), focused()));
}

TEST_P(KeyboardWindow, AFocusedControlThePageCoversHandsTheFocusOnAndGetsItBackParked) {
    showActive();
    if (!fakes.browsers.last)
        GTEST_SKIP() << "no page";
    focusOn(qPrintable(program.roles.searchBox));
    form->Command8_Click();
    EXPECT_TRUE(visibleStops().contains(focused())) << qPrintable(focused());
    QTest::keyClicks(QApplication::focusWidget(), "guild");
    EXPECT_NE(control<QLineEdit>(qPrintable(program.roles.searchBox))->text(), "guild");
    form->Command8_Click();
    EXPECT_TRUE(walk().contains(program.roles.searchBox));
}

// Keys go to the control with the focus; the walk above shows which can have it.
TEST_P(KeyboardWindow, SpaceReturnEnterAndTheAccessiblePressActionPressHotspotsAndButtons) {
    showActive();
    const QString hide = program.roles.hide;
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}) {
        form->show();
        QTest::keyClick(control<QWidget>(qPrintable(hide)), key);
        EXPECT_FALSE(form->isVisible()) << "key " << key;
    }
    form->show();
    QTest::keyClick(control<QWidget>(qPrintable(hide)), Qt::Key_A);
    EXPECT_TRUE(form->isVisible()) << "other keys press nothing";

    // Return and Enter press a link button as Space does.
    for (const forms::Link& link : program.links) {
        for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter})
            QTest::keyClick(control<QWidget>(qPrintable(link.control)), key);
        EXPECT_EQ(fakes.urls.urls.count(link.url), 3) << qPrintable(link.control);
    }

    // A screen reader's press: the first action of a button.
    auto press = [&](const QString& name) {
        QAccessibleInterface* a =
            QAccessible::queryAccessibleInterface(control<QWidget>(qPrintable(name)));
        ASSERT_TRUE(a && a->actionInterface());
        EXPECT_EQ(a->role(), QAccessible::Button);
        ASSERT_EQ(a->actionInterface()->actionNames().value(0),
                  QAccessibleActionInterface::pressAction());
        a->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    };
    form->show();
    press(hide);
    EXPECT_FALSE(form->isVisible());
    form->show();
    press(program.roles.close);
    EXPECT_TRUE(form->ended());
}

TEST_P(KeyboardWindow, AFocusedHotspotShowsAMark) {
    showActive();
    auto* hide = control<QWidget>(qPrintable(program.roles.hide));
    auto* close = control<QWidget>(qPrintable(program.roles.close));
    close->setFocus();
    const QImage plain = hide->grab().toImage();
    hide->setFocus();
    ASSERT_TRUE(hide->hasFocus());
    const QImage marked = hide->grab().toImage();
    ASSERT_EQ(plain.size(), marked.size());
    int changed = 0;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x)
            changed += plain.pixel(x, y) != marked.pixel(x, y);
    // A dotted line around the edge: about half of the border's pixels.
    const int border = 2 * (plain.width() + plain.height()) - 4;
    EXPECT_GT(changed, border / 3);
    EXPECT_LE(changed, border);
}

INSTANTIATE_TEST_SUITE_P(Programs, KeyboardWindow,
                         ::testing::ValuesIn(testing_support::programsUnderTest()),
                         testing_support::programName);

} // namespace
