// Under a Wayland session the programs ask for XWayland, which placement,
// staying on top, the shape and dragging need; elsewhere they leave Qt be.
#include "monitor/platform/qt/displaysetup.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QtGlobal>

namespace {

class Environment : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name :
             {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY", "QT_XCB_NO_MITSHM"})
            saved_.emplace_back(name, qgetenv(name), qEnvironmentVariableIsSet(name));
        for (const auto& v : saved_)
            qunsetenv(v.name);
    }
    void TearDown() override {
        for (const auto& v : saved_)
            v.set ? qputenv(v.name, v.value) : qunsetenv(v.name);
    }
    struct Saved {
        Saved(const char* n, QByteArray v, bool s) : name(n), value(std::move(v)), set(s) {}
        const char* name;
        QByteArray value;
        bool set;
    };
    std::vector<Saved> saved_;
};

TEST_F(Environment, WaylandWithXWaylandRunsOnXcb) {
    qputenv("WAYLAND_DISPLAY", QByteArray("wayland-0"));
    qputenv("DISPLAY", QByteArray(":0"));
    monitor::qt::prepareDisplay("test");
    EXPECT_EQ(qgetenv("QT_QPA_PLATFORM"), "xcb");
}

TEST_F(Environment, AnExplicitPlatformOrAnX11SessionIsLeftAlone) {
    qputenv("WAYLAND_DISPLAY", QByteArray("wayland-0"));
    qputenv("DISPLAY", QByteArray(":0"));
    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    monitor::qt::prepareDisplay("test");
    EXPECT_EQ(qgetenv("QT_QPA_PLATFORM"), "offscreen");
    qunsetenv("QT_QPA_PLATFORM");
    qunsetenv("WAYLAND_DISPLAY");
    monitor::qt::prepareDisplay("test");
    EXPECT_FALSE(qEnvironmentVariableIsSet("QT_QPA_PLATFORM"));
    qputenv("WAYLAND_DISPLAY", QByteArray("wayland-0"));
    qunsetenv("DISPLAY"); // no XWayland: nothing better to choose
    monitor::qt::prepareDisplay("test");
    EXPECT_FALSE(qEnvironmentVariableIsSet("QT_QPA_PLATFORM"));
}

TEST_F(Environment, RepaintsSkipSharedMemoryUnlessTheUserChoseOtherwise) {
    monitor::qt::prepareDisplay("test");
    EXPECT_EQ(qgetenv("QT_XCB_NO_MITSHM"), "1");
    qputenv("QT_XCB_NO_MITSHM", QByteArray("0"));
    monitor::qt::prepareDisplay("test");
    EXPECT_EQ(qgetenv("QT_XCB_NO_MITSHM"), "0");
}

} // namespace
