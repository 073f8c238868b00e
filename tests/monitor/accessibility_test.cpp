// What a screen reader hears: indicators that say their server and its state
// in words, commands that say what they do.
#include "formfixture.h"

#include <QAccessible>
#include <QTest>

using testing_support::waitFor;

namespace {

QString spoken(QObject* control, QAccessible::Text what = QAccessible::Name) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(control);
    return a ? a->text(what) : QString("<no accessible interface>");
}

TEST_P(ProgramWindow, IndicatorsSayTheirServerAndItsStateInWords) {
    EXPECT_EQ(spoken(label("Lbllogin")), "Login server: not checked yet");
    EXPECT_EQ(spoken(label("Lbllogin"), QAccessible::Description), "Status of login server");
    realm.set("ch2", realm::State::Down);
    realm.set("charselect", realm::State::Silent);
    load();
    EXPECT_EQ(spoken(label("LblCh2")), "Channel 2: checking");
    ASSERT_TRUE(waitFor([&] { return spoken(label("LblCh2")) == "Channel 2: down"; }));
    ASSERT_TRUE(waitFor([&] { return spoken(label("Lbllogin")) == "Login server: up"; }));
    EXPECT_EQ(spoken(label("LblUpdate")), "Update server: up");
    EXPECT_EQ(spoken(label("LblCharSelect")), "Character select server: checking");
    form->Command1_Click();
    EXPECT_EQ(spoken(label("Lbllogin")), "Login server: checking") << "a new pass";
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
