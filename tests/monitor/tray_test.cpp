// The tray record, the indicator summary and the tray's mouse reactions.
#include "formfixture.h"
#include "monitor/form2.h"

#include <QAction>
#include <QMenu>
#include <QTest>
#include <QtEndian>

using testing_support::waitFor;

namespace {

std::uint32_t field(const QByteArray& record, int offset) {
    return qFromLittleEndian<std::uint32_t>(record.constData() + offset);
}

// The tip of an 88-byte ANSI record as the shell reads it: up to its NUL, at
// most 64 bytes, Latin-1.
QString tipOfRecord(const QByteArray& record) {
    const QByteArray tip = record.mid(24, monitor::TrayIconData::TipLength);
    const qsizetype nul = tip.indexOf('\0');
    return QString::fromLatin1(nul < 0 ? tip : tip.left(nul));
}

TEST(TrayRecord, EightyEightBytesWithTheTipNulTerminatedAndBlankFilled) {
    monitor::TrayIconData r;
    r.cbSize = 88;
    r.hWnd = 0x1234;
    r.uID = 1;
    r.uFlags = 7;
    r.uCallbackMessage = 512;
    r.hIcon = 0xBEEF;
    r.setTip("Y, Y");
    const QByteArray a = r.toAnsi();
    ASSERT_EQ(a.size(), 88);
    EXPECT_EQ(field(a, 0), 88u);
    EXPECT_EQ(field(a, 4), 0x1234u);
    EXPECT_EQ(field(a, 8), 1u);
    EXPECT_EQ(field(a, 12), 7u);
    EXPECT_EQ(field(a, 16), 512u);
    EXPECT_EQ(field(a, 20), 0xBEEFu);
    EXPECT_EQ(a.mid(24, 5), QByteArray("Y, Y\0", 5));
    EXPECT_EQ(a.mid(29), QByteArray(59, ' '));
    EXPECT_EQ(tipOfRecord(a), "Y, Y");
    EXPECT_EQ(r.ansiTip(), "Y, Y");
}

TEST(TrayRecord, LongTipsAreCutTo64CharactersWithoutANulAndReadBackWithinTheField) {
    monitor::TrayIconData r;
    r.setTip(QString(70, 'a') + "tail");
    EXPECT_EQ(r.tip(), QString(64, 'a'));
    const QByteArray a = r.toAnsi();
    EXPECT_EQ(a.mid(24), QByteArray(64, 'a'));
    EXPECT_EQ(tipOfRecord(a), QString(64, 'a'));
    EXPECT_EQ(r.ansiTip(), QString(64, 'a'));
    r.setTip(QString(64, 'b'));
    EXPECT_EQ(r.tip().size(), 64);
    r.setTip(QString::fromUtf8("Grüße ✓")); // the ANSI copy holds what Latin-1 can
    EXPECT_EQ(tipOfRecord(r.toAnsi()), QString::fromUtf8("Grüße ?"));
    EXPECT_EQ(r.ansiTip(), QString::fromUtf8("Grüße ?")) << "what the tray shell shows";
}

TEST_P(ProgramWindow, LoadFillsTheRecordWithItsTipAndActivationAddsIt) {
    load();
    EXPECT_EQ(form->tray().record().hWnd, std::uint32_t(form->hWnd()));
    EXPECT_EQ(form->tray().record().uID, 1u);
    EXPECT_EQ(form->tray().record().uFlags, 7u);
    EXPECT_EQ(form->tray().record().uCallbackMessage, 512u);
    EXPECT_NE(form->tray().record().hIcon, 0u);
    EXPECT_EQ(form->tray().record().tip(), program.trayTitle)
        << "the ticker's summary starts empty";
    EXPECT_TRUE(notifications().isEmpty()) << "nothing handed to the shell before the show";
    form->show();
    ASSERT_EQ(notifications(), QStringList({"Shell_NotifyIcon(0," + program.trayTitle + ")"}));
    EXPECT_EQ(fakes.tray.records.front().second.size(), 88);
}

TEST_P(ProgramWindow, EachWindowFillsItsOwnRecord) {
    load();
    const std::uint32_t first = monitor::TrayIconData::handleOf(form->hWnd());
    monitor::Form1 other(program, fakes.desktop(), options);
    other.Form_Load();
    EXPECT_EQ(other.tray().record().hWnd, monitor::TrayIconData::handleOf(other.hWnd()));
    EXPECT_NE(other.tray().record().hWnd, first);
    EXPECT_EQ(form->tray().record().hWnd, first) << "the other window's load left it alone";
}

TEST_F(TickerWindow, SummaryJoinsTheSixCaptionsAndReachesTheShownIcon) {
    load();
    form->show();
    form->ToolTipUpdater_Timer();
    EXPECT_EQ(form->tray().sToolTip(), "0, 0, 0, 0, 0, 0") << "before any result";
    ASSERT_TRUE(waitFor([&] { return label("LblCh3")->caption() == "Y"; }));
    ASSERT_TRUE(waitFor([&] {
        for (const auto& p : form->cycle().probes())
            if (p.indicator->caption() != "Y")
                return false;
        return true;
    }));
    form->UpdateToolTip();
    form->ToolTipUpdater_Timer();
    EXPECT_EQ(form->tray().sToolTip(), "Y, Y, Y, Y, Y, Y");
    EXPECT_EQ(form->tray().sToolTip().size(), 16);
    EXPECT_EQ(form->tray().record().tip(), "Y, Y, Y, Y, Y, Y");
    EXPECT_FALSE(updater()->isActive());
    EXPECT_EQ(notifications().last(), "Shell_NotifyIcon(1,Y, Y, Y, Y, Y, Y)");
}

TEST_F(TickerWindow, SummaryShortensLongCaptionsWithTheEightReplacementsInOrder) {
    load();
    const char* captions[] = {"Update: Active",    "Login: Down",     "Character Select: Active",
                              "Channel 1: Active", "Channel 2: Down", "Channel 3: Active"};
    for (size_t i = 0; i < 6; ++i)
        form->cycle().probes()[i].indicator->setCaption(captions[i]);
    form->ToolTipUpdater_Timer();
    EXPECT_EQ(form->tray().sToolTip(), "Upd-:D, Log-:(, Chr-:D, CH1-:D, CH2-:(, CH3-:D");
    // Case-sensitive, and the channel rule runs before "Active" is shortened.
    form->cycle().probes()[0].indicator->setCaption("channel 1: active");
    form->ToolTipUpdater_Timer();
    EXPECT_TRUE(form->tray().sToolTip().startsWith("channel 1: active, "));
}

TEST_F(TickerWindow, ManyRequestsLeadToOneRebuildFiveSecondsAfterTheFirst) {
    load();
    ASSERT_TRUE(updater()->isActive());
    EXPECT_EQ(updater()->interval(), 5000);
    const int remaining = updater()->remainingTime();
    QTest::qWait(20);
    for (int i = 0; i < 5; ++i)
        form->UpdateToolTip();
    EXPECT_LT(updater()->remainingTime(), remaining) << "requests do not restart the wait";
    int rebuilds = 0;
    QObject::connect(updater(), &QTimer::timeout, [&] { ++rebuilds; });
    updater()->setInterval(50); // run the pending tick now rather than in 5 s
    updater()->start();
    QTest::qWait(300);
    EXPECT_EQ(rebuilds, 1);
    EXPECT_FALSE(updater()->isActive());
}

TEST_P(ProgramWindow, OnlyALeftPressOnTheIconShowsTheHiddenWindow) {
    load();
    form->show();
    form->Label2_Click();
    using namespace monitor;
    for (std::uint32_t m :
         {WM_MOUSEMOVE, 0x202u, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, 0x205u, WM_MBUTTONDOWN})
        fakes.tray.press(form->hWnd(), m);
    EXPECT_FALSE(form->isVisible());
    fakes.tray.press(form->hWnd(), monitor::WM_LBUTTONDOWN);
    EXPECT_TRUE(form->isVisible());
    form->Label2_Click();
    form->Form_MouseMove(513.6); // rounds to 514, the left button's release: nothing
    EXPECT_FALSE(form->isVisible());
    form->Form_MouseMove(513.4); // rounds to 513, the left button's press
    EXPECT_TRUE(form->isVisible());
}

TEST_P(ProgramWindow, TheIconsMenuIsTheHiddenWindowsAndItsExitEndsTheProgram) {
    load();
    form->show();
    QMenu* menu = fakes.tray.menus.at(form->hWnd());
    ASSERT_EQ(menu, form->form2()->mnupopup());
    // The two options, then Exit, last.
    ASSERT_EQ(menu->actions().size(), 3);
    EXPECT_EQ(menu->actions().last()->text(), "Exit");
    EXPECT_FALSE(form->form2()->isVisible());
    menu->actions()[0]->trigger(); // an option ends nothing
    EXPECT_FALSE(form->ended());
    menu->actions().last()->trigger();
    EXPECT_TRUE(form->ended());
    EXPECT_EQ(notifications().last(), "Shell_NotifyIcon(2," + program.trayTitle + ")");
}

} // namespace

namespace {

TEST_P(ProgramWindow, AnActivationQueuedBeforeTheEndDoesNotPutTheIconBack) {
    load();
    form->show();
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(form.get(), &activate);
    const qsizetype added = notifications().size();
    EXPECT_EQ(notifications().last().left(19), "Shell_NotifyIcon(0,") << "activation adds it";
    QTest::mouseClick(label("Label3"), Qt::LeftButton);
    ASSERT_TRUE(notifications().last().startsWith("Shell_NotifyIcon(2,"));
    QApplication::sendEvent(form.get(), &activate); // delivered after the exit began
    EXPECT_EQ(notifications().size(), added + 1) << qPrintable(notifications().join(" | "));
    EXPECT_TRUE(notifications().last().startsWith("Shell_NotifyIcon(2,")) << "the icon stays gone";
}

} // namespace
