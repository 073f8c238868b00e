// What a screen reader hears: indicators named by what they show that say
// their server and its state in words, commands that say what they do, the
// countdown's minutes, the update log's state and the program's name.
#include "formfixture.h"

#include <QAccessible>
#include <QTest>

using testing_support::waitFor;

namespace {

QString spoken(QObject* control, QAccessible::Text what = QAccessible::Name) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(control);
    return a ? a->text(what) : QString("<no accessible interface>");
}

QString described(QObject* control) {
    return spoken(control, QAccessible::Description);
}

TEST_P(ProgramWindow, IndicatorsAreNamedByWhatTheyShowAndSayTheirServerAndItsStateInWords) {
    // A name holds the caption, with the server's name where the caption lacks it.
    auto namedAsShown = [&](const char* indicator, const QString& server) {
        const QString caption = label(indicator)->caption();
        const QString name = spoken(label(indicator));
        return name == caption || name == server + ": " + caption;
    };
    EXPECT_TRUE(namedAsShown("Lbllogin", "Login")) << qPrintable(spoken(label("Lbllogin")));
    EXPECT_EQ(described(label("Lbllogin")), "Login server: not checked yet");
    realm.set("ch2", realm::State::Down);
    realm.set("charselect", realm::State::Silent);
    load();
    EXPECT_EQ(described(label("LblCh2")), "Channel 2: checking");
    ASSERT_TRUE(waitFor([&] { return described(label("LblCh2")) == "Channel 2: down"; }));
    ASSERT_TRUE(waitFor([&] { return described(label("Lbllogin")) == "Login server: up"; }));
    EXPECT_EQ(described(label("LblUpdate")), "Update server: up");
    EXPECT_EQ(described(label("LblCharSelect")), "Character select server: checking");
    EXPECT_EQ(label("LblUpdate")->caption(), up(0));
    EXPECT_EQ(label("LblCh2")->caption(), down(4));
    for (int row = 0; row < 6; ++row) {
        const forms::Server& server = program.probes[size_t(row)];
        const QByteArray indicator = server.indicator.toUtf8();
        EXPECT_TRUE(namedAsShown(indicator, server.name))
            << qPrintable(spoken(label(indicator))) << " shows "
            << qPrintable(label(indicator)->caption());
    }
    form->Command1_Click();
    EXPECT_EQ(described(label("Lbllogin")), "Login server: checking") << "a new pass";
    EXPECT_TRUE(namedAsShown("Lbllogin", "Login")) << "the caption stays until the answer";
}

TEST_P(ProgramWindow, TheCountdownSaysItsMinutesAsTheyGo) {
    QObject* countdown = label(qPrintable(program.roles.countdown));
    load();
    EXPECT_EQ(described(countdown), "10 minutes to the next check");
    for (int tick = 1; tick <= 9; ++tick)
        form->Timer1_Timer();
    EXPECT_EQ(label(qPrintable(program.roles.countdown))->caption(), "1...");
    EXPECT_EQ(described(countdown), "1 minute to the next check");
    form->Timer1_Timer();
    EXPECT_EQ(described(countdown), "0 minutes to the next check");
    form->Timer1_Timer(); // the pass
    EXPECT_EQ(described(countdown), "10 minutes to the next check");
}

TEST_P(ProgramWindow, TheWindowIsNamedForTheProgramAndTheLogToggleSaysWhetherTheLogShows) {
    EXPECT_EQ(spoken(form.get()), program.name);
    EXPECT_EQ(form->windowTitle(), program.form1.caption) << "the caption stays as defined";
    load();
    QAccessibleInterface* toggle = QAccessible::queryAccessibleInterface(
        control<QWidget>(qPrintable(program.roles.logToggle)));
    ASSERT_NE(toggle, nullptr);
    if (program.page.browser.isEmpty()) {
        EXPECT_FALSE(toggle->state().checkable) << "no log: nothing to say";
        return;
    }
    EXPECT_TRUE(toggle->state().checkable);
    EXPECT_FALSE(toggle->state().checked);
    form->Command8_Click();
    EXPECT_TRUE(toggle->state().checked);
    form->Command8_Click();
    EXPECT_FALSE(toggle->state().checked);
    form->show();
    QTest::mouseClick(control<QWidget>(qPrintable(program.roles.logToggle)), Qt::LeftButton);
    EXPECT_TRUE(toggle->state().checked) << "a click";
    EXPECT_EQ(fakes.browsers.last->Left(), program.page.shownLeft);
    // A screen reader's first action on it: the log parks, and says so.
    QAccessibleActionInterface* act = toggle->actionInterface();
    ASSERT_NE(act, nullptr);
    act->doAction(act->actionNames().value(0));
    EXPECT_TRUE(waitFor([&] { return !toggle->state().checked; }, 2000)); // a press animates

    EXPECT_NE(fakes.browsers.last->Left(), program.page.shownLeft);
}

TEST_P(ProgramWindow, CommandsSayWhatTheyDo) {
    EXPECT_EQ(spoken(label("Label2")), "Hide this app!");
    EXPECT_EQ(spoken(label("Label3")), "Close this app!");
    EXPECT_EQ(spoken(label("Label4")), "Coding by Tib");
    EXPECT_EQ(spoken(control<QWidget>("Text1")), "Enter Search Query");
    EXPECT_EQ(spoken(control<QWidget>("Command1")), "Refresh");
    EXPECT_EQ(spoken(control<QWidget>("Command2"), QAccessible::Description),
              "Search Vellmoor Forum! (Opens in default browser)");
    for (const char* link : {"Command3", "Command4", "Command5", "Command6", "Command7"}) {
        auto* b = control<QPushButton>(link);
        EXPECT_EQ(spoken(b), b->text()) << link;
        EXPECT_FALSE(spoken(b, QAccessible::Description).isEmpty()) << link;
    }
}

} // namespace
