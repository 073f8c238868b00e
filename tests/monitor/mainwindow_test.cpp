// The main window's life on recording fakes: start-up order, placement,
// dragging, hiding and the two ways the program ends.
#include "formfixture.h"

#include <QMouseEvent>
#include <QScreen>
#include <QTest>
#include <QtEndian>

using monitor::Winsock;
using testing_support::waitFor;

namespace {

struct Snapshot {
    bool taken = false;
    int windowRegions = 0;
    std::uint32_t trayRecordSize = 0;
    QPoint position;
    bool anyProbeStarted = false;
};

TEST_P(ProgramWindow, LoadShapesStacksFillsPlacesThenProbesAndReleasesTheSurface) {
    Snapshot atTopmost;
    fakes.windows.onSetWindowPos = [&] {
        atTopmost.taken = true;
        atTopmost.windowRegions = int(fakes.gdi.calls("SetWindowRgn").size());
        atTopmost.trayRecordSize = form->tray().record().cbSize;
        atTopmost.position = form->pos();
        for (const auto& p : form->cycle().probes())
            atTopmost.anyProbeStarted |= p.socket->state() != Winsock::State::Closed;
    };
    const QPoint before = form->pos();
    load();
    ASSERT_TRUE(atTopmost.taken);
    EXPECT_EQ(atTopmost.windowRegions, 1) << "shaped before being made topmost";
    EXPECT_EQ(atTopmost.trayRecordSize, 0u) << "tray record filled after";
    EXPECT_EQ(atTopmost.position, before) << "placed after";
    EXPECT_FALSE(atTopmost.anyProbeStarted) << "probes start last";
    EXPECT_TRUE(fakes.log.contains(QString("SetWindowPos(%1,-1,0,0,0,0,3)").arg(form->hWnd())));

    EXPECT_EQ(form->size(), skinSize()) << "the picture's own size";
    EXPECT_EQ(form->minimumSize(), skinSize()) << "and its only one";
    EXPECT_EQ(form->maximumSize(), skinSize());
    EXPECT_EQ(
        fakes.gdi.calls("SetWindowRgn").first(),
        QString("SetWindowRgn(%1,#%2,1)").arg(form->hWnd()).arg(form->region()->hRgn(), 0, 16));
    EXPECT_EQ(form->tray().record().cbSize, 88u);
    for (const auto& p : form->cycle().probes())
        EXPECT_EQ(p.socket->state(), Winsock::State::Connecting);
    EXPECT_EQ(label("Label1")->caption(), "10...");
    // The surface is gone: its context and bitmap were the last things freed.
    const QStringList gdiLog = fakes.gdi.log;
    EXPECT_TRUE(gdiLog.last().startsWith("DeleteDC(")) << qPrintable(gdiLog.last());
    EXPECT_TRUE(gdiLog[gdiLog.size() - 2].startsWith("DeleteObject("));
    // What stays: the picture box's skin and the region, nothing more.
    EXPECT_EQ(fakes.gdi.liveObjects(), 2);
    const QRegion shape = fakes.gdi.RegionPixels(form->region()->hRgn());
    EXPECT_TRUE(shape.contains(control<QWidget>("Label3")->geometry().center()));
    EXPECT_FALSE(shape.contains(QPoint(0, skinSize().height() - 1))) << "a black corner";
    form.reset();
    EXPECT_EQ(fakes.gdi.liveObjects(), 0) << "the window's end frees both";
}

TEST_P(ProgramWindow, PlacementPutsTheRightEdgeOnTheScreensAndTheBottom450TwipsUp) {
    load();
    const QRect screen = form->screen()->geometry();
    const QSize size = skinSize();
    EXPECT_EQ(form->pos(),
              QPoint(screen.right() + 1 - size.width(), screen.bottom() + 1 - size.height() - 30));
}

TEST_P(ProgramWindow, PlacementAtAnotherResolutionStillUses450Twips) {
    form.reset();
    options.twipsPerPixel = 12; // 120 dots per inch
    form = std::make_unique<monitor::Form1>(program, fakes.desktop(), options);
    load();
    const QRect screen = form->screen()->geometry();
    const QSize size = form->size(); // the picture's pixels, whatever the resolution
    // 450 twips are 37.5 pixels here.
    EXPECT_EQ(form->y(), screen.bottom() + 1 - size.height() - 38 + 1);
    EXPECT_EQ(form->x(), screen.right() + 1 - size.width());
}

TEST_P(ProgramWindow, OnlyALeftPressOnTheSurfaceDragsTheWindow) {
    load();
    form->show();
    fakes.log.clear();
    QTest::mousePress(form.get(), Qt::RightButton, {}, QPoint(120, 20));
    QTest::mousePress(form.get(), Qt::MiddleButton, {}, QPoint(120, 20));
    QTest::mousePress(label("LblCh1"), Qt::LeftButton, {}, QPoint(2, 2));
    QTest::mousePress(label("Label1"), Qt::LeftButton, {}, QPoint(2, 2));
    QTest::mousePress(control<QWidget>("PicBackground"), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_TRUE(fakes.log.isEmpty()) << qPrintable(fakes.log.join(" "));
    QTest::mousePress(form.get(), Qt::LeftButton, {}, QPoint(120, 20));
    EXPECT_EQ(fakes.log, QStringList({"ReleaseCapture()",
                                      QString("SendMessageA(%1,161,2,0)").arg(form->hWnd())}));
}

TEST_P(ProgramWindow, WithoutAWindowManagerMoveTheWindowFollowsTheMouse) {
    fakes.windows.moveResult = 0;
    load();
    form->show();
    const QPoint start = form->pos();
    QTest::mousePress(form.get(), Qt::LeftButton, {}, QPoint(120, 20));
    QMouseEvent move(QEvent::MouseMove, QPointF(100, 10), form->mapToGlobal(QPointF(100, 10)),
                     Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(form.get(), &move);
    EXPECT_EQ(form->pos(), start + QPoint(-20, -10));
    QTest::mouseRelease(form.get(), Qt::LeftButton, {}, QPoint(100, 10));
    QMouseEvent after(QEvent::MouseMove, QPointF(50, 50), form->mapToGlobal(QPointF(50, 50)),
                      Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(form.get(), &after);
    EXPECT_EQ(form->pos(), start + QPoint(-20, -10)) << "the drag ended with the release";
}

TEST_P(ProgramWindow, HideAndMinimiseKeepTheTrayIconAndTheProbesGoingOn) {
    load();
    form->show();
    ASSERT_EQ(notifications().size(), 1) << "added on first activation";
    QTest::mouseClick(label("Label2"), Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(notifications().size(), 1) << "the icon stays";
    form->Timer1_Timer();
    EXPECT_EQ(label("Label1")->caption(), "9...");
    ASSERT_TRUE(waitFor([&] { return label("Lbllogin")->caption() == up(1); }));

    fakes.tray.press(form->hWnd(), monitor::WM_LBUTTONDOWN);
    EXPECT_TRUE(form->isVisible());
    form->setWindowState(Qt::WindowMinimized);
    ASSERT_TRUE(waitFor([&] { return !form->isVisible(); }, 2000)) << "minimised hides";
    fakes.tray.press(form->hWnd(), monitor::WM_LBUTTONDOWN);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->windowState() & Qt::WindowMinimized);
}

TEST_P(ProgramWindow, CloseLabelClosesProbesRemovesTheIconAndEnds) {
    realm.set("ch1", realm::State::Silent); // one attempt still pending at exit
    load();
    form->show();
    ASSERT_TRUE(waitFor([&] { return label("Lbllogin")->caption() == up(1); }));
    QTest::mouseClick(label("Label3"), Qt::LeftButton);
    EXPECT_TRUE(form->ended());
    for (const auto& p : form->cycle().probes())
        EXPECT_EQ(p.socket->state(), Winsock::State::Closed);
    EXPECT_EQ(notifications().last(), "Shell_NotifyIcon(2," + program.trayTitle + ")");
    EXPECT_FALSE(form->isVisible());
    QTest::qWait(50);
    EXPECT_EQ(label("LblCh1")->caption(), program.form1.find("LblCh1")->text)
        << "the pending result is never shown";
}

TEST_P(ProgramWindow, TheWindowKeepsItsNativeHandleFromLoadToExit) {
    // The region's window list and the tray record name the window by its
    // handle: a window Qt made anew (a native child can cause that) would
    // leave both pointing at nothing.
    load();
    const gdi::HWND loaded = form->hWnd();
    form->show();
    EXPECT_EQ(form->winId(), loaded);
    form->Command8_Click(); // shows the embedded page, where there is one
    EXPECT_EQ(form->winId(), loaded);
    QTest::mouseClick(label("Label2"), Qt::LeftButton);
    EXPECT_EQ(form->winId(), loaded);
    fakes.tray.press(loaded, monitor::WM_LBUTTONDOWN);
    EXPECT_EQ(form->winId(), loaded);
    form->Command8_Click();
    EXPECT_EQ(form->winId(), loaded);
    EXPECT_EQ(form->region()->hWndForIndex(1), loaded);
    EXPECT_EQ(form->tray().record().hWnd, monitor::TrayIconData::handleOf(loaded));
    form->close(); // the icon goes by the same handle
    ASSERT_EQ(fakes.tray.records.back().first, monitor::NIM_DELETE);
    EXPECT_EQ(qFromLittleEndian<std::uint32_t>(fakes.tray.records.back().second.constData() + 4),
              monitor::TrayIconData::handleOf(loaded));
}

TEST_P(ProgramWindow, TheSystemsCloseCommandRemovesTheIconAndEnds) {
    load();
    form->show();
    form->close();
    EXPECT_TRUE(form->ended());
    EXPECT_EQ(notifications().last(), "Shell_NotifyIcon(2," + program.trayTitle + ")");
}

} // namespace

namespace {

TEST_P(ProgramWindow, AVisibleWindowHasATaskbarEntryAndAHiddenOneComesBackFromTheTray) {
    EXPECT_EQ(form->windowType(), Qt::Window) << "not a tool window: it has a taskbar entry";
    EXPECT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(form->windowFlags() & Qt::FramelessWindowHint);
}

TEST_P(ProgramWindow, WithoutANotificationAreaHidingMinimisesToTheTaskbarAndSaysWhyOnce) {
    fakes.tray.trayAvailable = false;
    load();
    form->show();
    testing::internal::CaptureStderr();
    QTest::mouseClick(label("Label2"), Qt::LeftButton);
    EXPECT_TRUE(form->isVisible()) << "never hidden where no icon can bring it back";
    EXPECT_TRUE(form->isMinimized());
    form->showNormal();
    form->setWindowState(Qt::WindowMinimized);
    QTest::qWait(50);
    EXPECT_TRUE(form->isVisible()) << "minimised, it stays on the taskbar";
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("no notification area"), std::string::npos) << said;
    EXPECT_EQ(said.find("no notification area"), said.rfind("no notification area")) << "said once";
    fakes.tray.trayAvailable = true; // a tray host turned up: hiding is safe again
    QTest::mouseClick(label("Label2"), Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
}

TEST_P(ProgramWindow, ALeftPressOnAButtonOrTheSearchBoxDoesNotDrag) {
    load();
    form->show();
    fakes.log.clear();
    QTest::mousePress(control<QWidget>("Command1"), Qt::LeftButton, {}, QPoint(3, 3));
    QTest::mouseRelease(control<QWidget>("Command1"), Qt::LeftButton, {}, QPoint(3, 3));
    QTest::mousePress(control<QWidget>("Text1"), Qt::LeftButton, {}, QPoint(3, 3));
    QTest::mousePress(control<QWidget>("Command6"), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_TRUE(logged("SendMessageA").isEmpty()) << qPrintable(fakes.log.join(" "));
    EXPECT_TRUE(logged("ReleaseCapture").isEmpty());
}

TEST_P(ProgramWindow, TheSystemsCloseCommandEndsWithoutClosingTheProbesFirst) {
    realm.set("ch1", realm::State::Silent);
    load();
    form->show();
    ASSERT_TRUE(waitFor([&] { return label("Lbllogin")->caption() == up(1); }));
    form->close(); // unloads the window: the icon goes, the probes are left as they are
    EXPECT_TRUE(form->ended());
    EXPECT_EQ(form->cycle().probes()[3].socket->state(), Winsock::State::Connecting);
    EXPECT_TRUE(notifications().last().startsWith("Shell_NotifyIcon(2,"));
}

} // namespace
