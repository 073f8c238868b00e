// Turning a definition into widgets: names, pixel places, fonts, focus order.
#include "forms/tallowbar/tallowbar.h"
#include "monitor/controls/formbuilder.h"
#include "monitor/controls/labelcontrol.h"
#include "monitor/controls/pictures.h"
#include "monitor/controls/winsock.h"

#include <QFontInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

class BuiltTicker : public ::testing::Test {
protected:
    void SetUp() override {
        monitor::installFontSubstitutes();
        controls = monitor::buildControls(program.form1, &host, {}, pictures,
                                          {program.roles.hide, program.roles.close});
    }
    forms::Program program = forms::tallowbar();
    QWidget host;
    monitor::Pictures pictures;
    monitor::ControlSet controls;
};

TEST_F(BuiltTicker, EveryControlExistsUnderItsNameAtItsPixelPlace) {
    for (const auto& c : program.form1.controls) {
        QObject* o = controls.find<QObject>(c.name);
        ASSERT_NE(o, nullptr) << qPrintable(c.name);
        EXPECT_EQ(o->objectName(), c.name);
    }
    EXPECT_EQ(controls.get<QWidget>("LblCh2")->geometry(), QRect(75, 51, 9, 17));
    EXPECT_EQ(controls.get<QWidget>("Command1")->geometry(), QRect(352, 304, 49, 17));
    EXPECT_EQ(controls.get<QWidget>("Text1")->geometry(), QRect(168, 200, 89, 15));
    EXPECT_EQ(controls.get<QLineEdit>("Text1")->text(), "Forum Search");
    EXPECT_EQ(controls.get<QPushButton>("Command6")->text(), "VellNA Official Site");
}

TEST_F(BuiltTicker, IndicatorLabelsAreWhiteSerifRightAlignedAndNeverTakeFocus) {
    auto* label = controls.get<monitor::LabelControl>("Lbllogin");
    EXPECT_EQ(label->caption(), "0");
    EXPECT_EQ(label->foreColor(), forms::White);
    EXPECT_TRUE(label->alignment() & Qt::AlignRight);
    EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(label->toolTip(), "Status of login server");
    const QFontInfo info(label->font());
    EXPECT_TRUE(info.family().contains("Serif")) << qPrintable(info.family());
    EXPECT_DOUBLE_EQ(label->font().pointSizeF(), 6.0);
    EXPECT_TRUE(controls.get<QWidget>("Label3")->font().bold());
}

TEST_F(BuiltTicker, FocusRunsInTabIndexOrderThroughTheHotspotsToo) {
    QStringList order;
    QWidget* w = controls.get<QWidget>("PicBackground");
    for (int i = 0; i < 12; ++i, w = w->nextInFocusChain()) {
        while (w->focusPolicy() == Qt::NoFocus)
            w = w->nextInFocusChain();
        order << w->objectName();
    }
    const QStringList inTabOrder{"PicBackground", "Command1", "Text1",    "Command2",
                                 "Label2",        "Label3",   "Command3", "Command4",
                                 "Command5",      "Command6", "Command7", "Command8"};
    EXPECT_EQ(order, inTabOrder);
    QStringList stops;
    for (QWidget* stop : controls.tabChain().stops())
        stops << stop->objectName();
    EXPECT_EQ(stops, inTabOrder) << "every one a stop while no shape is given";
    EXPECT_EQ(controls.get<QWidget>("Label4")->focusPolicy(), Qt::NoFocus) << "no hotspot";
}

TEST_F(BuiltTicker, TimersAndSocketsCarryTheirSettings) {
    EXPECT_EQ(controls.get<QTimer>("Timer1")->interval(), 60000);
    EXPECT_TRUE(controls.get<QTimer>("Timer1")->isActive());
    EXPECT_FALSE(controls.get<QTimer>("ToolTipUpdater")->isActive());
    auto* ch3 = controls.get<monitor::Winsock>("SrvCh3");
    EXPECT_EQ(ch3->RemotePort, 29200);
    EXPECT_EQ(ch3->RemoteHost, program.form1.find("SrvCh3")->remoteHost);
}

} // namespace
