// Links, the site search and its box: the exact URLs handed to the browser.
#include "formfixture.h"
#include "forms/shared/endpoints.h"
#include "monitor/links.h"

#include <QTest>

namespace {

using namespace forms::endpoints; // the sites this build was configured with

const QString Search = QString("http://%1/search?hl=en&q=").arg(SearchHost);
const QString Suffix = QString("+site%3A%1").arg(OfficialSite);

TEST_P(ProgramWindow, EveryLinkButtonOpensItsPage) {
    const std::vector<std::pair<const char*, QString>> expected = {
        {"Command3", QString("http://%1/site/vellmoor/brambleview.php").arg(FanSiteHost)},
        {"Command4", QString("http://%1/").arg(WikiHost)},
        {"Command5", QString("http://%1/").arg(ClanHost)},
        {"Command6", QString("http://%1").arg(OfficialSite)},
        {"Command7", QString("http://%1/").arg(CommunityHost)},
    };
    for (const auto& [button, url] : expected) {
        control<QPushButton>(button)->click();
        EXPECT_EQ(fakes.urls.urls.last(), url) << button;
    }
    EXPECT_EQ(fakes.urls.urls.size(), 5);
    control<QPushButton>("Command8")->click(); // the embedded page, never the desktop's browser
    EXPECT_EQ(fakes.urls.urls.size(), 5);
}

TEST_P(ProgramWindow, SearchSendsThePromptTheEmptyBoxAndEncodedText) {
    auto* box = control<QLineEdit>("Text1");
    control<QPushButton>("Command2")->click();
    EXPECT_EQ(fakes.urls.urls.last(), Search + "Forum%20Search" + Suffix);
    box->clear();
    control<QPushButton>("Command2")->click();
    EXPECT_EQ(fakes.urls.urls.last(), Search + Suffix) << "q= followed directly by the suffix";
    box->setText("a&b #c");
    control<QPushButton>("Command2")->click();
    EXPECT_EQ(fakes.urls.urls.last(), Search + "a%26b%20%23c" + Suffix);
    box->setText("1+1=2");
    control<QPushButton>("Command2")->click();
    EXPECT_EQ(fakes.urls.urls.last(), Search + "1%2B1%3D2" + Suffix);
    box->setText(QString::fromUtf8("Grüße ✓"));
    control<QPushButton>("Command2")->click();
    EXPECT_EQ(fakes.urls.urls.last(), Search + "Gr%C3%BC%C3%9Fe%20%E2%9C%93" + Suffix);
}

TEST_P(ProgramWindow, EnterInTheBoxSearchesAndOtherKeysJustType) {
    auto* box = control<QLineEdit>("Text1");
    QTest::keyClick(box, Qt::Key_Return); // the prompt still in place: it is searched
    EXPECT_EQ(fakes.urls.urls, QStringList({Search + "Forum%20Search" + Suffix}));
    fakes.urls.urls.clear();
    box->setText("guild");
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(fakes.urls.urls, QStringList({Search + "guild" + Suffix}));
    QTest::keyClick(box, Qt::Key_Enter);
    EXPECT_EQ(fakes.urls.urls.size(), 2);
    QTest::keyClicks(box, "s ");
    EXPECT_EQ(fakes.urls.urls.size(), 2);
    EXPECT_EQ(box->text(), "guilds ");
}

TEST_P(ProgramWindow, ClickingTheBoxClearsOnlyTheExactPrompt) {
    auto* box = control<QLineEdit>("Text1");
    for (const char* text : {"forum search", "Forum Search ", "my own words"}) {
        box->setText(text);
        QTest::mouseClick(box, Qt::LeftButton);
        EXPECT_EQ(box->text(), text);
    }
    const QString prompt = "Forum Search";
    box->setText(prompt);
    QTest::keyClick(box, Qt::Key_Tab); // moving in by keyboard does not clear
    EXPECT_EQ(box->text(), prompt);
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_EQ(box->text(), "");
}

} // namespace
