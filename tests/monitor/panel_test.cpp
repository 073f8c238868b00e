// Brambleview's own behaviour: indicators that name their servers, the fixed
// tray title, and the embedded page with its show/park toggle.
#include "formfixture.h"
#include "forms/brambleview/brambleview.h"

#include <QTest>

using monitor::Winsock;
using testing_support::waitFor;

namespace {

class PanelWindow : public WindowFixture, public ::testing::Test {
protected:
    void SetUp() override { open(forms::brambleview()); }
    void TearDown() override { form.reset(); }

    testing_support::FakeBrowser& browser() const { return *fakes.browsers.last; }
    QString page() const { return program.page.url; }
    bool settled() const {
        for (const auto& p : form->cycle().probes())
            if (p.socket->state() == Winsock::State::Connecting ||
                p.socket->state() == Winsock::State::Connected)
                return false;
        return true;
    }
};

const char* const Names[] = {"Update",    "Login",     "Character Select",
                             "Channel 1", "Channel 2", "Channel 3"};

TEST_F(PanelWindow, IndicatorsNameTheirServerThenSayActiveInGreenOrDownInRedAndGoBlackPerPass) {
    for (int r = 0; r < 6; ++r)
        EXPECT_EQ(form->cycle().probes()[size_t(r)].indicator->caption(), QString(Names[r]) + ":");
    realm.set("charselect", realm::State::Down);
    realm.set("ch3", realm::State::Down);
    load();
    ASSERT_TRUE(waitFor([&] { return settled() && label("LblCh3")->caption() != "Channel 3:"; }));
    for (int r = 0; r < 6; ++r) {
        const auto* l = form->cycle().probes()[size_t(r)].indicator;
        const bool down = r == 2 || r == 5;
        EXPECT_EQ(l->caption(), QString(Names[r]) + (down ? ": Down" : ": Active"));
        EXPECT_EQ(l->foreColor(), down ? 255u : 65280u) << r;
    }
    realm.set("charselect", realm::State::Up);
    realm.set("login", realm::State::Down);
    form->Command1_Click();
    for (int r = 0; r < 6; ++r) { // black, the old words kept until the answer
        const auto* l = form->cycle().probes()[size_t(r)].indicator;
        EXPECT_EQ(l->foreColor(), 0u) << r;
        EXPECT_TRUE(l->caption().startsWith(QString(Names[r]) + ": ")) << r;
    }
    ASSERT_TRUE(waitFor([&] { return settled() && label("Lbllogin")->foreColor() != 0; }));
    EXPECT_EQ(label("Lbllogin")->caption(), "Login: Down");
    EXPECT_EQ(label("Lbllogin")->foreColor(), 255u);
    EXPECT_EQ(label("LblCharSelect")->caption(), "Character Select: Active");
    EXPECT_EQ(label("LblCharSelect")->foreColor(), 65280u);
}

TEST_F(PanelWindow, TheTrayTitleIsFixedFromStartToEnd) {
    const QString title = QString("Tib's Server Status") + "\r\n" + " - Click to Show Status App";
    ASSERT_EQ(title.size(), 48);
    EXPECT_EQ(form->controls().find<QTimer>("ToolTipUpdater"), nullptr) << "no summary timer";
    load();
    EXPECT_EQ(form->tray().record().tip(), title);
    form->show();
    for (int i = 0; i < 12; ++i)
        form->Timer1_Timer();
    form->Command1_Click();
    ASSERT_TRUE(waitFor([&] { return settled(); }));
    EXPECT_EQ(form->tray().record().tip(), title);
    form->close();
    ASSERT_FALSE(notifications().isEmpty());
    for (const QString& n : notifications()) {
        EXPECT_TRUE(n.endsWith("," + title + ")")) << qPrintable(n);
        EXPECT_FALSE(n.startsWith("Shell_NotifyIcon(1,")) << "never modified: " << qPrintable(n);
    }
    EXPECT_TRUE(notifications().last().startsWith("Shell_NotifyIcon(2,"));
}

TEST_F(PanelWindow, ThePageLoadsParkedAsTheLastStepOfLoad) {
    QString countdownThen;
    bool probesStarted = false;
    browser().onNavigate = [&] {
        countdownThen = label("Label1")->caption();
        for (const auto& p : form->cycle().probes())
            probesStarted |= p.socket->state() == Winsock::State::Connecting;
    };
    EXPECT_EQ(browser().Left(), 592) << "parked outside the 562-pixel shape";
    EXPECT_EQ(browser().widget()->geometry(), QRect(592, 177, 271, 207));
    load();
    EXPECT_EQ(browser().navigations, QStringList{page()});
    EXPECT_EQ(countdownThen, "10...") << "after the countdown text";
    EXPECT_TRUE(probesStarted) << "after the first probes";
    EXPECT_EQ(logged("WebBrowser1").last(), "WebBrowser1.Navigate(" + page() + ")");
    EXPECT_TRUE(page().endsWith("/gamestart/gamestart.asp")) << qPrintable(page());
}

TEST_F(PanelWindow, TheToggleShowsAndLoadsParksWithoutLoadingAndAgain) {
    load();
    browser().navigations.clear();
    auto* toggle = control<QPushButton>("Command8");
    toggle->click();
    EXPECT_EQ(browser().Left(), 165);
    EXPECT_EQ(browser().navigations, QStringList{page()});
    toggle->click();
    EXPECT_EQ(browser().Left(), 592);
    EXPECT_EQ(browser().navigations.size(), 1) << "parking loads nothing";
    toggle->click();
    EXPECT_EQ(browser().Left(), 165);
    EXPECT_EQ(browser().navigations.size(), 2);
    EXPECT_EQ(logged("WebBrowser1").mid(logged("WebBrowser1").size() - 2),
              QStringList({"WebBrowser1.Left=165", "WebBrowser1.Navigate(" + page() + ")"}))
        << "moved first, then loaded";
}

TEST_F(PanelWindow, OnlyExactly165InSinglePrecisionCountsAsShown) {
    load();
    // 165.000001 is 165 once read as a single: shown, so the click parks it.
    for (double left : {165.5, 164.99, 0.0, -165.0, 592.0, 1e9, 165.0001}) {
        browser().setLeft(left);
        const auto before = browser().navigations.size();
        form->Command8_Click();
        EXPECT_EQ(browser().Left(), 165) << left << " counts as parked";
        EXPECT_EQ(browser().navigations.size(), before + 1) << left;
    }
    browser().setLeft(165.000001);
    form->Command8_Click();
    EXPECT_EQ(browser().Left(), 592);
}

TEST_F(PanelWindow, TimedPassesReloadShownOrParkedButRefreshNever) {
    load();
    QString countdownThen;
    browser().onNavigate = [&] { countdownThen = label("Label1")->caption(); };
    browser().navigations.clear();
    for (int tick = 1; tick <= 10; ++tick)
        form->Timer1_Timer();
    form->Command1_Click();
    EXPECT_TRUE(browser().navigations.isEmpty()) << "counting ticks and Refresh load nothing";
    form->Timer1_Timer(); // the eleventh: a pass, parked
    EXPECT_EQ(browser().navigations, QStringList{page()});
    EXPECT_EQ(countdownThen, "10...") << "the last step of the pass";
    form->Command8_Click(); // shown: loads
    for (int tick = 1; tick <= 11; ++tick)
        form->Timer1_Timer();
    EXPECT_EQ(browser().navigations.size(), 3) << "shown, the page reloads with the pass too";
    EXPECT_EQ(browser().Left(), 165) << "a pass leaves the browser where it is";
}

TEST_F(PanelWindow, WhileShownTheBrowserCoversWhatLiesBeneathButNotTheHotspots) {
    load();
    form->show();
    auto topmostAt = [&](const char* name) {
        return form->childAt(control<QWidget>(name)->geometry().center());
    };
    EXPECT_EQ(topmostAt("Command3"), control<QWidget>("Command3"));
    form->Command8_Click();
    for (const char* beneath :
         {"Command3", "Command6", "Text1", "Command2", "LblCh1", "Command1", "Label1"})
        EXPECT_EQ(topmostAt(beneath), browser().widget()) << beneath;
    for (const char* outside : {"Label2", "Label3", "Label4", "Command8"})
        EXPECT_EQ(topmostAt(outside), control<QWidget>(outside)) << outside;
    // A click beneath goes to the page, not the button.
    const QPoint onLink = control<QWidget>("Command6")->geometry().center();
    QTest::mouseClick(form.get(), Qt::LeftButton, {}, onLink);
    EXPECT_TRUE(fakes.urls.urls.isEmpty());
}

TEST_F(PanelWindow, TheTextlessHotspotsTakeClicksAnywhereInTheirRectangles) {
    load();
    form->show();
    auto* hide = label("Label2");
    EXPECT_TRUE(hide->caption().isEmpty());
    const QRect r = hide->rect();
    for (QPoint p : {r.topLeft(), r.bottomRight(), r.center()}) {
        form->show();
        QTest::mouseClick(hide, Qt::LeftButton, {}, p);
        EXPECT_FALSE(form->isVisible()) << p.x() << "," << p.y();
    }
    form->show();
    QTest::mouseClick(label("Label3"), Qt::LeftButton, {}, label("Label3")->rect().bottomRight());
    EXPECT_TRUE(form->ended());
}

} // namespace
