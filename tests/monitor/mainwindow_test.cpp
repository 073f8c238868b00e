// The main window's life on recording fakes: start-up order, placement,
// dragging, hiding and the two ways the program ends.
#include "formfixture.h"

#include <QMouseEvent>
#include <QScreen>
#include <QTest>

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

TEST_F(TickerWindow, LoadShapesStacksFillsPlacesThenProbesAndReleasesTheSurface) {
    Snapshot atTopmost;
    fakes.windows.onSetWindowPos = [&] {
        atTopmost.taken = true;
        atTopmost.windowRegions = int(fakes.gdi.calls("SetWindowRgn").size());
        atTopmost.trayRecordSize = monitor::TrayIcon.cbSize;
        atTopmost.position = form->pos();
        for (const auto& p : form->probes())
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

    EXPECT_EQ(form->size(), QSize(240, 89)) << "the picture's own size";
    EXPECT_EQ(
        fakes.gdi.calls("SetWindowRgn").first(),
        QString("SetWindowRgn(%1,#%2,1)").arg(form->hWnd()).arg(form->region()->hRgn(), 0, 16));
    EXPECT_EQ(monitor::TrayIcon.cbSize, 88u);
    for (const auto& p : form->probes())
        EXPECT_EQ(p.socket->state(), Winsock::State::Connecting);
    EXPECT_EQ(label("Label1")->caption(), "10...");
    // The surface is gone: its context and bitmap were the last things freed.
    const QStringList gdiLog = fakes.gdi.log;
    EXPECT_TRUE(gdiLog.last().startsWith("DeleteDC(")) << qPrintable(gdiLog.last());
    EXPECT_TRUE(gdiLog[gdiLog.size() - 2].startsWith("DeleteObject("));
    // What stays: the picture box's skin and the region, nothing more.
    EXPECT_EQ(fakes.gdi.liveObjects(), 2);
    EXPECT_TRUE(fakes.gdi.RegionPixels(form->region()->hRgn()).contains(QPoint(120, 40)));
    EXPECT_FALSE(fakes.gdi.RegionPixels(form->region()->hRgn()).contains(QPoint(0, 88)));
    form.reset();
    EXPECT_EQ(fakes.gdi.liveObjects(), 0) << "the window's end frees both";
}

TEST_F(TickerWindow, PlacementPutsTheRightEdgeOnTheScreensAndTheBottom450TwipsUp) {
    load();
    const QRect screen = form->screen()->geometry();
    EXPECT_EQ(form->pos(), QPoint(screen.right() + 1 - 240, screen.bottom() + 1 - 89 - 30));
}

TEST_F(TickerWindow, PlacementAtAnotherResolutionStillUses450Twips) {
    form.reset();
    options.twipsPerPixel = 12; // 120 dots per inch
    forms::Program program = forms::tallowbar();
    realm.aim(program);
    form = std::make_unique<monitor::Form1>(program, fakes.desktop(), options);
    load();
    const QRect screen = form->screen()->geometry();
    // 450 twips are 37.5 pixels here.
    EXPECT_EQ(form->y(), screen.bottom() + 1 - 89 - 38 + 1);
    EXPECT_EQ(form->x(), screen.right() + 1 - 240);
}

TEST_F(TickerWindow, OnlyALeftPressOnTheSurfaceDragsTheWindow) {
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

TEST_F(TickerWindow, WithoutAWindowManagerMoveTheWindowFollowsTheMouse) {
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

TEST_F(TickerWindow, HideAndMinimiseKeepTheTrayIconAndTheProbesGoingOn) {
    load();
    form->show();
    ASSERT_EQ(notifications().size(), 1) << "added on first activation";
    QTest::mouseClick(label("Label2"), Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(notifications().size(), 1) << "the icon stays";
    form->Timer1_Timer();
    EXPECT_EQ(label("Label1")->caption(), "9...");
    ASSERT_TRUE(waitFor([&] { return label("Lbllogin")->caption() == "Y"; }));

    fakes.tray.press(form->hWnd(), monitor::WM_LBUTTONDOWN);
    EXPECT_TRUE(form->isVisible());
    form->setWindowState(Qt::WindowMinimized);
    ASSERT_TRUE(waitFor([&] { return !form->isVisible(); }, 2000)) << "minimised hides";
    fakes.tray.press(form->hWnd(), monitor::WM_LBUTTONDOWN);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->windowState() & Qt::WindowMinimized);
}

TEST_F(TickerWindow, CloseLabelClosesProbesRemovesTheIconAndEnds) {
    realm.set("ch1", realm::State::Silent); // one attempt still pending at exit
    load();
    form->show();
    ASSERT_TRUE(waitFor([&] { return label("Lbllogin")->caption() == "Y"; }));
    QTest::mouseClick(label("Label3"), Qt::LeftButton);
    EXPECT_TRUE(form->ended());
    for (const auto& p : form->probes())
        EXPECT_EQ(p.socket->state(), Winsock::State::Closed);
    EXPECT_EQ(notifications().last(), "Shell_NotifyIcon(2,)");
    EXPECT_FALSE(form->isVisible());
    QTest::qWait(50);
    EXPECT_EQ(label("LblCh1")->caption(), "0") << "the pending result is never shown";
}

TEST_F(TickerWindow, TheSystemsCloseCommandRemovesTheIconAndEnds) {
    load();
    form->show();
    form->close();
    EXPECT_TRUE(form->ended());
    EXPECT_EQ(notifications().last(), "Shell_NotifyIcon(2,)");
}

} // namespace
