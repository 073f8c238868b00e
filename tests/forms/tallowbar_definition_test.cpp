// The parts of Tallowbar's definition that are easy to get wrong.
#include "forms/shared/endpoints.h"
#include "forms/tallowbar/tallowbar.h"
#include "rolescheck.h"

#include <QFile>
#include <QHostAddress>
#include <QImage>
#include <QRect>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

QRect pixels(const forms::Control& c) {
    return {c.left / 15, c.top / 15, c.width / 15, c.height / 15};
}

const forms::Control& control(const forms::Program& p, const char* name) {
    const forms::Control* c = p.form1.find(name);
    if (!c)
        throw std::runtime_error(std::string("missing control ") + name);
    return *c;
}

TEST(TallowbarDefinition, RolesNameControlsOfTheirKindAndLinksNameButtons) {
    expectRolesNameControlsOfTheirKindAndLinksNameButtons(forms::tallowbar());
}

TEST(TallowbarDefinition, OnlyIndicatorsAndTheHideAndCloseLabelsLieInsideTheSkin) {
    const auto p = forms::tallowbar();
    const QRect skin(0, 0, 3600, 1335);
    QStringList inside;
    for (const auto& c : p.form1.controls) {
        if (c.width == 0 || c.kind == forms::ControlKind::Timer ||
            c.kind == forms::ControlKind::Winsock)
            continue;
        if (skin.contains(QRect(c.left, c.top, c.width, c.height)))
            inside << c.name;
    }
    inside.sort();
    EXPECT_EQ(inside, QStringList({"Label2", "Label3", "LblCh1", "LblCh2", "LblCh3",
                                   "LblCharSelect", "LblUpdate", "Lbllogin"}));
}

TEST(TallowbarDefinition, IndicatorsSitInTwoColumnsOfNineByNineteenPixelCells) {
    const auto p = forms::tallowbar();
    EXPECT_EQ(pixels(control(p, "LblCh1")), QRect(75, 37, 9, 17));
    EXPECT_EQ(pixels(control(p, "LblCh3")), QRect(75, 65, 9, 17));
    EXPECT_EQ(pixels(control(p, "LblUpdate")), QRect(171, 37, 9, 17));
    EXPECT_EQ(pixels(control(p, "LblCharSelect")), QRect(171, 65, 9, 17));
    // The hide label sits right of the close label, both 9 x 9 at the top right.
    EXPECT_EQ(pixels(control(p, "Label3")), QRect(219, 3, 9, 9));
    EXPECT_EQ(pixels(control(p, "Label2")), QRect(228, 3, 9, 9));
    EXPECT_EQ(control(p, "Label2").text, "--");
    EXPECT_EQ(control(p, "LblCh1").alignment, forms::Alignment::Right);
    EXPECT_EQ(pixels(control(p, "PicBackground")), QRect(592, 384, 240, 89));
}

TEST(TallowbarDefinition, ProbeRowsPairSocketsIndicatorsTooltipsAndPorts) {
    const auto p = forms::tallowbar();
    ASSERT_EQ(p.probes.size(), 6u);
    const std::vector<std::pair<const char*, int>> expected = {
        {"Status of update server", 80},
        {"Status of login server", 29000},
        {"Status of character select server", 29100},
        {"Status of channel 1", 29200},
        {"Status of channel 2", 29200},
        {"Status of channel 3", 29200}};
    for (size_t i = 0; i < 6; ++i) {
        const auto& indicator = control(p, qPrintable(p.probes[i].indicator));
        const auto& socket = control(p, qPrintable(p.probes[i].socket));
        EXPECT_EQ(indicator.toolTip, expected[i].first);
        EXPECT_EQ(socket.remotePort, expected[i].second);
        EXPECT_EQ(socket.kind, forms::ControlKind::Winsock);
        EXPECT_EQ(indicator.text, "0");
        EXPECT_EQ(indicator.foreColor, forms::White);
    }
}

TEST(TallowbarDefinition, SocketsCarryTheConfiguredEndpoints) {
    const auto p = forms::tallowbar();
    using namespace forms::endpoints;
    const std::vector<std::pair<const char*, const char*>> expected = {
        {"SrvUpdate", UpdateHost}, {"SrvLogin", LoginHost}, {"SrvCharSelect", CharSelectHost},
        {"SrvCh1", Ch1Host},       {"SrvCh2", Ch2Host},     {"SrvCh3", Ch3Host}};
    for (const auto& [socket, host] : expected)
        EXPECT_EQ(control(p, socket).remoteHost, host) << socket;
    EXPECT_EQ(p.sites.officialSite, OfficialSite);
    EXPECT_EQ(p.sites.searchHost, SearchHost);
}

TEST(TallowbarDefinition, DefaultEndpointsAreNumericLoopbackInTheGamesLayout) {
    if (!forms::endpoints::Default)
        GTEST_SKIP() << "this build was configured with other hosts";
    const auto p = forms::tallowbar();
    std::vector<QHostAddress> hosts;
    for (const auto& row : p.probes) {
        const QHostAddress a(control(p, qPrintable(row.socket)).remoteHost);
        ASSERT_FALSE(a.isNull()) << "probe hosts are numeric";
        EXPECT_TRUE(a.isLoopback());
        hosts.push_back(a);
    }
    // Game servers share one /16; the update server has an address of its own.
    for (size_t i = 2; i < 6; ++i)
        EXPECT_TRUE(hosts[i].isInSubnet(hosts[1], 16));
    EXPECT_FALSE(hosts[0].isInSubnet(hosts[1], 16));
    EXPECT_NE(hosts[3], hosts[4]);
    EXPECT_NE(hosts[4], hosts[5]);
    for (const QString& site : {p.sites.officialSite, p.sites.searchHost, p.sites.fanSiteHost,
                                p.sites.wikiHost, p.sites.clanHost, p.sites.communityHost})
        EXPECT_TRUE(QHostAddress(site).isLoopback()) << qPrintable(site);
}

TEST(TallowbarDefinition, TimersAndTheHiddenMenu) {
    const auto p = forms::tallowbar();
    EXPECT_EQ(control(p, "Timer1").interval, 60000);
    EXPECT_TRUE(control(p, "Timer1").enabled);
    EXPECT_EQ(control(p, "ToolTipUpdater").interval, 5000);
    EXPECT_FALSE(control(p, "ToolTipUpdater").enabled);
    ASSERT_EQ(p.form2.menus.size(), 1u);
    EXPECT_EQ(p.form2.menus[0].name, "mnupopup");
    // The two options, then Exit, last.
    ASSERT_EQ(p.form2.menus[0].items.size(), 3u);
    EXPECT_EQ(p.form2.menus[0].items[0].caption, "Notify me of changes");
    EXPECT_EQ(p.form2.menus[0].items[1].caption, "Start at login");
    EXPECT_TRUE(p.form2.menus[0].items[0].checkable && p.form2.menus[0].items[1].checkable);
    EXPECT_EQ(p.form2.menus[0].items[2].name, "mnuExit");
    EXPECT_EQ(p.form2.menus[0].items[2].caption, "Exit");
    EXPECT_FALSE(p.form2.menus[0].items[2].checkable);
    EXPECT_EQ(p.indicators.up, "Y");
    EXPECT_EQ(p.indicators.down, "X");
}

TEST(TallowbarAssets, FilesHaveTheirShippedFormatsAndSizes) {
    const std::vector<std::pair<const char*, qint64>> files = {{":/forms/ticker_skin.bmp", 64134},
                                                               {":/forms/vellmoor.ico", 1406},
                                                               {":/forms/refresh.bmp", 1318}};
    for (const auto& [path, size] : files) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << path;
        EXPECT_EQ(f.size(), size) << path;
    }
    QFile skin(":/forms/ticker_skin.bmp");
    ASSERT_TRUE(skin.open(QIODevice::ReadOnly));
    const QByteArray h = skin.read(54);
    auto le32 = [&](int at) { return qFromLittleEndian<qint32>(h.constData() + at); };
    EXPECT_EQ(le32(18), 240);
    EXPECT_EQ(le32(22), 89) << "positive height: bottom-up rows";
    EXPECT_EQ(qFromLittleEndian<quint16>(h.constData() + 28), 24);
    EXPECT_EQ(le32(30), 0) << "uncompressed";
}

TEST(TallowbarAssets, SkinIsBlackOutsideTheFrameAndDarkButNotBlackUnderTheIndicators) {
    const auto p = forms::tallowbar();
    const QImage skin(":/forms/ticker_skin.bmp");
    ASSERT_EQ(skin.size(), QSize(240, 89));
    for (QPoint corner : {QPoint(0, 88), QPoint(239, 88), QPoint(0, 0)})
        EXPECT_EQ(skin.pixel(corner) & 0xFFFFFF, 0u);
    for (const auto& row : p.probes) {
        const QRect cell = pixels(control(p, qPrintable(row.indicator)));
        for (int y = cell.top() + 1; y < cell.top() + 10; ++y)
            for (int x = cell.left() + 1; x < cell.right(); ++x) {
                const QRgb c = skin.pixel(x, y);
                EXPECT_NE(c & 0xFFFFFF, 0u);
                EXPECT_LT(qGray(c), 60) << "indicator cell must be dark for white text";
            }
    }
    // The close and hide labels stand on skin, or the window shape would cut them.
    for (int x = 219; x < 237; ++x)
        for (int y = 3; y < 12; ++y)
            EXPECT_NE(skin.pixel(x, y) & 0xFFFFFF, 0u);
}

} // namespace
