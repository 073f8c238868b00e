// The parts of Brambleview's definition and skin that are easy to get wrong.
#include "forms/brambleview/brambleview.h"
#include "rolescheck.h"

#include <QFile>
#include <QImage>
#include <QRect>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

const forms::Control& control(const forms::Program& p, const QString& name) {
    const forms::Control* c = p.form1.find(name);
    if (!c)
        throw std::runtime_error("missing control " + name.toStdString());
    return *c;
}

QRect pixels(const forms::Control& c) {
    return {c.left / 15, c.top / 15, c.width / 15, c.height / 15};
}

TEST(BrambleviewDefinition, RolesNameControlsOfTheirKindAndLinksNameButtons) {
    expectRolesNameControlsOfTheirKindAndLinksNameButtons(forms::brambleview());
}

TEST(BrambleviewDefinition, ControlsSitWhereThePanelDrawsThem) {
    const auto p = forms::brambleview();
    const std::vector<std::pair<const char*, QRect>> expected = {
        {"LblUpdate", {312, 200, 121, 17}},     {"Lbllogin", {312, 216, 121, 17}},
        {"LblCharSelect", {312, 232, 121, 17}}, {"LblCh3", {312, 280, 121, 17}},
        {"Label2", {480, 344, 57, 49}},         {"Label3", {480, 408, 49, 49}},
        {"Label4", {456, 480, 49, 17}},         {"Command8", {160, 152, 137, 17}},
        {"WebBrowser1", {592, 177, 271, 207}},  {"PicBackground", {592, 384, 562, 520}},
        {"Command1", {352, 304, 49, 17}},       {"Text1", {168, 200, 89, 15}},
        {"Command2", {264, 200, 17, 17}},       {"Command6", {168, 281, 121, 17}},
        {"Command3", {168, 365, 121, 17}},      {"Label1", {408, 304, 25, 17}}};
    for (const auto& [name, rect] : expected)
        EXPECT_EQ(pixels(control(p, name)), rect) << name;
    EXPECT_EQ(control(p, "Command8").tabIndex, 20);
    EXPECT_EQ(control(p, "WebBrowser1").tabIndex, 19);
    EXPECT_EQ(p.form1.find("ToolTipUpdater"), nullptr);
    EXPECT_TRUE(p.summaryTimer.isEmpty());
    EXPECT_EQ(p.trayTitle, "Tib's Server Status\r\n - Click to Show Status App");
    EXPECT_EQ(p.trayTitle.size(), 48);
    EXPECT_EQ(p.fileVersion, "2.00");
    EXPECT_EQ(p.page.browser, "WebBrowser1");
    EXPECT_EQ(p.page.url, "http://" + p.sites.officialSite + "/gamestart/gamestart.asp");
    const char* names[] = {
        "Update:", "Login:", "Character Select:", "Channel 1:", "Channel 2:", "Channel 3:"};
    for (size_t i = 0; i < 6; ++i) {
        const auto& label = control(p, p.probes[i].indicator);
        EXPECT_EQ(label.text, names[i]);
        EXPECT_TRUE(label.transparent);
        EXPECT_EQ(label.alignment, forms::Alignment::Right);
        EXPECT_FALSE(label.foreColor.has_value()) << "the label's default text colour";
    }
    for (const char* hotspot : {"Label2", "Label3", "Label4"}) {
        EXPECT_TRUE(control(p, hotspot).text.isEmpty()) << hotspot;
        EXPECT_TRUE(control(p, hotspot).transparent) << hotspot;
    }
}

TEST(BrambleviewAssets, TheSkinIsAnUncompressedBottomUpBitmapOfTheExactSize) {
    QFile f(":/forms/panel_skin.bmp");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.size(), 877814);
    const QByteArray h = f.read(54);
    auto le32 = [&](int at) { return qFromLittleEndian<qint32>(h.constData() + at); };
    EXPECT_EQ(le32(18), 562);
    EXPECT_EQ(le32(22), 520) << "positive height: bottom-up rows";
    EXPECT_EQ(qFromLittleEndian<quint16>(h.constData() + 28), 24);
    EXPECT_EQ(le32(30), 0) << "uncompressed";
    EXPECT_FALSE(QFile::exists(":/forms/ticker_skin.bmp")) << "the ticker's skin is not ours";
}

TEST(BrambleviewAssets, EveryControlLiesOnArtworkAndTheButtonsUnderTheirHotspots) {
    const auto p = forms::brambleview();
    const QImage skin(":/forms/panel_skin.bmp");
    ASSERT_EQ(skin.size(), QSize(562, 520));
    for (QPoint corner : {QPoint(0, 0), QPoint(561, 0), QPoint(0, 519), QPoint(561, 519)})
        EXPECT_EQ(skin.pixel(corner) & 0xFFFFFF, 0u) << "black outside the artwork";
    for (const auto& c : p.form1.controls) {
        if (c.width == 0 || c.name == "WebBrowser1" || c.name == "PicBackground")
            continue;
        const QRect r = pixels(c);
        int holes = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                holes += (skin.pixel(x, y) & 0xFFFFFF) == 0;
        EXPECT_EQ(holes, 0) << qPrintable(c.name) << " has pixels the window shape cuts away";
    }
    EXPECT_GE(pixels(control(p, "WebBrowser1")).left(), skin.width()) << "parked outside";
    QRect shown = pixels(control(p, p.page.browser));
    shown.moveLeft(p.page.shownLeft);
    int holes = 0;
    for (int y = shown.top(); y <= shown.bottom(); ++y)
        for (int x = shown.left(); x <= shown.right(); ++x)
            holes += (skin.pixel(x, y) & 0xFFFFFF) == 0;
    EXPECT_EQ(holes, 0) << "the shown page lies on the artwork";
    const QColor hide = skin.pixelColor(pixels(control(p, "Label2")).center());
    const QColor close = skin.pixelColor(pixels(control(p, "Label3")).center() + QPoint(8, 0));
    EXPECT_GT(hide.green(), hide.blue()) << "a green button under the hide hotspot";
    EXPECT_GT(close.blue(), close.red()) << "a blue button under the close hotspot";
}

} // namespace
