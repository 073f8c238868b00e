// A hidden or minimised window comes back through one path, by a left press
// on its tray icon or by a later start of the program: shown, restored, then
// raised and given the keyboard.
#include "comebackwatch.h"
#include "formfixture.h"

#include <QTest>

using testing_support::AtForeground;
using testing_support::waitFor;
using testing_support::watchForeground;

namespace {

// A panel minimised while no tray host ran stays minimised on the taskbar (a
// hidden window could not come back); once a tray host runs, its icon must
// bring it back like a hidden one.
TEST_P(ProgramWindow, MinimisedWithoutATrayHostTheIconBringsItBackOnceOneRuns) {
    fakes.tray.trayAvailable = false;
    load();
    form->show();
    form->setWindowState(Qt::WindowMinimized);
    QTest::qWait(50);
    ASSERT_TRUE(form->isVisible()) << "on the taskbar";
    fakes.tray.trayAvailable = true; // a tray host came
    fakes.tray.press(form->hWnd(), monitor::WM_LBUTTONDOWN);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->windowState() & Qt::WindowMinimized) << "restored";
}

TEST_P(ProgramWindow, EveryWayAwayComesBackByTheIconAndByALaterStartShownThenFocused) {
    load();
    form->show();
    AtForeground at;
    const monitor::Form1* window = form.get();
    watchForeground(fakes, window, at);
    enum class Away { Hidden, Minimised, MinimisedWithoutTray };
    const std::function<void()> ways[] = {
        [&] { fakes.tray.press(form->hWnd(), monitor::WM_LBUTTONDOWN); },
        [&] { form->bringBack(); }, // what a later start asks for
    };
    for (int way = 0; way < 2; ++way) {
        for (Away away : {Away::Hidden, Away::Minimised, Away::MinimisedWithoutTray}) {
            SCOPED_TRACE(testing::Message()
                         << (way ? "later start" : "tray icon") << ", away " << int(away));
            fakes.tray.trayAvailable = away != Away::MinimisedWithoutTray;
            if (away == Away::Hidden) {
                form->Label2_Click();
                ASSERT_FALSE(form->isVisible());
            } else {
                form->setWindowState(Qt::WindowMinimized);
                if (away == Away::Minimised) {
                    ASSERT_TRUE(waitFor([&] { return !form->isVisible(); }, 2000));
                }
            }
            fakes.tray.trayAvailable = true;
            at = {};
            ways[way]();
            EXPECT_EQ(at.calls, 1);
            EXPECT_TRUE(at.shown && !at.minimised) << "focused only once it shows";
            EXPECT_TRUE(form->isVisible());
            EXPECT_FALSE(form->windowState() & Qt::WindowMinimized);
            QTest::qWait(20); // a hide still queued from minimising must not take it away
            EXPECT_TRUE(form->isVisible());
        }
    }
    at = {};
    form->bringBack(); // already there: raised and focused, nothing else
    EXPECT_EQ(at.calls, 1);
    EXPECT_TRUE(form->isVisible());
    form->ExitProgram();
    at = {};
    fakes.tray.press(form->hWnd(), monitor::WM_LBUTTONDOWN);
    form->bringBack();
    EXPECT_FALSE(form->isVisible()) << "an ended program never comes back";
    EXPECT_EQ(at.calls, 0);
}

} // namespace
