// The real tallowbar binary on a real (virtual) X display, probing the local
// realm on its default loopback endpoints.
#include "support/xsession.h"

#include <QDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class TickerOnDesktop : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(x.ok()) << qPrintable(x.error());
        realm = x.start(VELLREALM_BIN, {"--down", "ch2"});
        ASSERT_TRUE(realm->waitForReadyRead(5000));
        const QString banner = QString::fromLocal8Bit(realm->readAll());
        ASSERT_TRUE(banner.contains("ready")) << qPrintable(banner);
    }

    e2e::XSession x;
    QProcess* realm = nullptr;
};

TEST_F(TickerOnDesktop, IndicatorsShowUpServersGreenAndTheDownOneRed) {
    QProcess* ticker = x.start(TALLOWBAR_BIN);
    const QString window = x.waitForWindow(ticker->processId(), "Form1");
    ASSERT_FALSE(window.isEmpty()) << "no ticker window";
    const QRect g = x.geometry(window);
    EXPECT_EQ(g.size(), QSize(240, 89));

    // Indicator cells in window pixels, in table order; channel 2 is down. The
    // labels are 17 pixels tall but 14 apart: look only at each one's own glyph.
    const QRect cells[] = {{171, 37, 9, 13}, {171, 51, 9, 13}, {171, 65, 9, 13},
                           {75, 37, 9, 13},  {75, 51, 9, 13},  {75, 65, 9, 13}};
    QImage shot;
    const bool settled = QTest::qWaitFor(
        [&] {
            shot = x.screenshot();
            for (int i = 0; i < 6; ++i) {
                const auto want = i == 4 ? e2e::isRed : e2e::isGreen;
                if (e2e::countPixels(shot, cells[i].translated(g.topLeft()), want) < 3)
                    return false;
            }
            return true;
        },
        10000);
    shot.save(QDir::temp().filePath("tallowbar-indicators.png"));
    ASSERT_TRUE(settled) << "screenshot kept in /tmp/tallowbar-indicators.png";
    for (int i = 0; i < 6; ++i) {
        const auto other = i == 4 ? e2e::isGreen : e2e::isRed;
        EXPECT_EQ(e2e::countPixels(shot, cells[i].translated(g.topLeft()), other), 0) << i;
    }
}

} // namespace
