// Change notifications on a real probe cycle against a private realm: which
// servers one notification names, when it is sent, and where it goes when no
// notification service takes it.
#include "formfixture.h"
#include "monitor/changealerts.h"
#include "monitor/trayoptions.h"

#include <QAction>
#include <QTemporaryDir>

using testing_support::waitFor;

namespace {

class ChangeAlerts : public WindowFixture,
                     public ::testing::TestWithParam<testing_support::ProgramUnderTest> {
protected:
    void SetUp() override {
        // Settings of the test's own: every window starts with its options off.
        ASSERT_TRUE(config.isValid());
        saved = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
        open(GetParam().make());
        QObject::connect(&form->cycle(), &monitor::ProbeCycle::passEnded, form.get(),
                         [this] { ++passes; });
        load(); // the first pass
        ASSERT_TRUE(waitFor([this] { return passes == 1; }));
    }
    void TearDown() override {
        form.reset();
        qputenv("XDG_CONFIG_HOME", saved);
    }

    void pass() {
        const int before = passes;
        form->Command1_Click();
        ASSERT_TRUE(waitFor([&] { return passes == before + 1; }));
    }
    void notifyOn(bool on) {
        QAction* item = form->trayOptions()->notifyItem();
        ASSERT_NE(item, nullptr);
        if (item->isChecked() != on)
            item->trigger();
        ASSERT_EQ(form->alerts()->enabled(), on);
    }
    int row(const QString& key) const {
        return int(testing_support::TestRealm::names().indexOf(key));
    }
    // What the indicator of row says after the pass, naming its server.
    QString words(int r) const {
        const monitor::LabelControl* label = form->cycle().probes().at(size_t(r)).indicator;
        return label->caption().contains(program.probes.at(size_t(r)).name)
                   ? label->caption()
                   : label->accessibleDescription(); // "Channel 2: down"
    }
    const std::vector<std::pair<QString, QString>>& shown() const { return fakes.notices.shown; }
    QString lastBody() const { return shown().empty() ? QString() : shown().back().second; }

    QTemporaryDir config;
    QByteArray saved;
    int passes = 0;
};

TEST_P(ChangeAlerts, OneNotificationPerPassNamingEveryChangeInTheIndicatorsWords) {
    notifyOn(true);
    pass(); // all six up as before
    EXPECT_TRUE(shown().empty()) << "nothing changed, and the first pass has no before";

    realm.set("ch2", realm::State::Down);
    pass();
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(shown().back().first, program.name);
    EXPECT_EQ(lastBody(), words(row("ch2")));
    EXPECT_TRUE(lastBody().contains(program.probes.at(size_t(row("ch2"))).name));

    realm.set("ch2", realm::State::Up);
    pass();
    ASSERT_EQ(shown().size(), 2u);
    EXPECT_EQ(lastBody(), words(row("ch2")));
    EXPECT_NE(shown().at(0).second, shown().at(1).second) << "down and back up read differently";

    for (const char* key : {"login", "ch1", "ch3"})
        realm.set(key, realm::State::Down);
    pass();
    ASSERT_EQ(shown().size(), 3u);
    EXPECT_EQ(lastBody(),
              QStringList({words(row("login")), words(row("ch1")), words(row("ch3"))}).join('\n'));

    // Flapping: one notification per pass, never more.
    for (int i = 0; i < 4; ++i) {
        realm.set("update", i % 2 ? realm::State::Up : realm::State::Down);
        pass();
        ASSERT_EQ(shown().size(), 4u + size_t(i));
        EXPECT_EQ(lastBody(), words(row("update")));
    }
}

TEST_P(ChangeAlerts, NothingWhileTheItemIsOffAndNoStaleChangeWhenTurnedOn) {
    ASSERT_FALSE(form->trayOptions()->notifyItem()->isChecked()) << "off by default";
    realm.set("login", realm::State::Down);
    pass();
    EXPECT_TRUE(shown().empty());
    notifyOn(true);
    pass(); // login still down: no change since the last pass
    EXPECT_TRUE(shown().empty());
    realm.set("login", realm::State::Up);
    pass();
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(lastBody(), words(row("login")));
    notifyOn(false);
    realm.set("login", realm::State::Down);
    pass();
    EXPECT_EQ(shown().size(), 1u);
}

TEST_P(ChangeAlerts, ASilentProbeHoldsTheNotificationUntilItTimesOut) {
    notifyOn(true);
    const int silent = row("charselect");
    auto* socket = form->cycle().probes().at(size_t(silent)).socket;
    socket->setConnectTimeout(1500);
    realm.set("charselect", realm::State::Silent);
    realm.set("ch1", realm::State::Down);
    form->Command1_Click();
    // The five others answer long before the silent one's timeout.
    ASSERT_TRUE(waitFor([&] {
        for (int r = 0; r < 6; ++r)
            if (r != silent && form->cycle().probes().at(size_t(r)).indicator->foreColor() ==
                                   monitor::IndicatorChecking)
                return false;
        return true;
    }));
    EXPECT_TRUE(shown().empty()) << "sent before the silent probe answered";
    ASSERT_TRUE(waitFor([&] { return passes == 2; }));
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(lastBody(), QStringList({words(silent), words(row("ch1"))}).join('\n'));
}

TEST_P(ChangeAlerts, AClickShowsTheHiddenWindowAsTheTrayClickDoes) {
    notifyOn(true);
    form->show();
    form->Label2_Click();
    ASSERT_FALSE(form->isVisible());
    realm.set("ch3", realm::State::Down);
    pass();
    ASSERT_EQ(shown().size(), 1u);
    fakes.notices.click();
    EXPECT_TRUE(form->isVisible());
}

TEST_P(ChangeAlerts, WithoutAServiceTheTrayMessageAndWithoutATrayOneLineOnStderr) {
    notifyOn(true);
    fakes.notices.serviceRuns = false;
    realm.set("ch1", realm::State::Down);
    pass();
    const QStringList balloons = logged("showMessage");
    ASSERT_EQ(balloons.size(), 1);
    EXPECT_TRUE(balloons[0].endsWith(program.name + "," + words(row("ch1")) + ")"))
        << qPrintable(balloons[0]);

    fakes.tray.trayAvailable = false;
    ::testing::internal::CaptureStderr();
    for (auto state : {realm::State::Up, realm::State::Down, realm::State::Up}) {
        realm.set("ch1", state);
        pass();
    }
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(logged("showMessage").size(), 1);
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find(program.name.toLower().toStdString()), std::string::npos) << said;
}

INSTANTIATE_TEST_SUITE_P(Programs, ChangeAlerts,
                         ::testing::ValuesIn(testing_support::programsUnderTest()),
                         testing_support::programName);

TEST(ChangeNotice, ComparesEachPassWithTheOneBefore) {
    monitor::ChangeNotice notice;
    auto readings = [](std::initializer_list<bool> ups) {
        std::vector<monitor::IndicatorReading> out;
        int i = 0;
        for (bool up : ups)
            out.push_back({up, QString("s%1 %2").arg(i++).arg(up ? "up" : "down")});
        return out;
    };
    EXPECT_TRUE(notice.passEnded(readings({true, false, true})).isEmpty()) << "first pass";
    EXPECT_TRUE(notice.passEnded(readings({true, false, true})).isEmpty());
    EXPECT_EQ(notice.passEnded(readings({false, true, true})), QStringList({"s0 down", "s1 up"}));
    EXPECT_EQ(notice.passEnded(readings({false, true, false})), QStringList({"s2 down"}));
    EXPECT_TRUE(notice.passEnded(readings({false, true, false})).isEmpty());
}

} // namespace
