// Links, the site search and its box: the exact URLs handed to the browser.
#include "formfixture.h"
#include "monitor/links.h"

#include <QTest>

namespace {

const QString Search = "http://127.80.0.11/search?hl=en&q=";
const QString Suffix = "+site%3A127.80.0.10";

TEST_F(TickerWindow, EveryLinkButtonOpensItsPage) {
    const std::vector<std::pair<const char*, const char*>> expected = {
        {"Command3", "http://127.80.0.12/site/vellmoor/brambleview.php"},
        {"Command4", "http://127.80.0.13/"},
        {"Command5", "http://127.80.0.14/"},
        {"Command6", "http://127.80.0.10"},
        {"Command7", "http://127.80.0.15/"},
    };
    for (const auto& [button, url] : expected) {
        control<QPushButton>(button)->click();
        EXPECT_EQ(fakes.urls.urls.last(), url) << button;
    }
    EXPECT_EQ(fakes.urls.urls.size(), 5);
    control<QPushButton>("Command8")->click(); // the ticker has no page to show
    EXPECT_EQ(fakes.urls.urls.size(), 5);
}

TEST_F(TickerWindow, SearchSendsThePromptTheEmptyBoxAndEncodedText) {
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

TEST_F(TickerWindow, EnterInTheBoxSearchesAndOtherKeysJustType) {
    auto* box = control<QLineEdit>("Text1");
    box->setText("guild");
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(fakes.urls.urls, QStringList({Search + "guild" + Suffix}));
    QTest::keyClick(box, Qt::Key_Enter);
    EXPECT_EQ(fakes.urls.urls.size(), 2);
    QTest::keyClicks(box, "s ");
    EXPECT_EQ(fakes.urls.urls.size(), 2);
    EXPECT_EQ(box->text(), "guilds ");
}

TEST_F(TickerWindow, ClickingTheBoxClearsOnlyTheExactPrompt) {
    auto* box = control<QLineEdit>("Text1");
    for (const char* text : {"forum search", "Forum Search ", "my own words"}) {
        box->setText(text);
        QTest::mouseClick(box, Qt::LeftButton);
        EXPECT_EQ(box->text(), text);
    }
    box->setText(monitor::SearchPrompt);
    QTest::keyClick(box, Qt::Key_Tab); // moving in by keyboard does not clear
    EXPECT_EQ(box->text(), monitor::SearchPrompt);
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_EQ(box->text(), "");
}

} // namespace
