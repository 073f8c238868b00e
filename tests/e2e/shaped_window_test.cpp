// A region built from a picture shapes a real X window: exactly the picture's
// opaque pixels show, the desktop shows through everywhere else.
#include "support/xsession.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(ShapedWindow, OnlyThePicturesOpaquePixelsShow) {
    e2e::XSession x; // with a window manager up, the desktop colour shows in screenshots
    ASSERT_TRUE(x.ok()) << qPrintable(x.error());
    QTemporaryDir dir;
    const QString picturePath = dir.filePath("picture.png");
    QProcess* demo = x.start(SHAPED_DEMO_BIN, {picturePath});
    const QString window = x.waitForWindow(demo->processId(), "shaped-demo");
    ASSERT_FALSE(window.isEmpty());
    QTest::qWait(300);
    const QImage picture(picturePath);
    ASSERT_FALSE(picture.isNull());
    const QRect g = x.geometry(window);
    ASSERT_EQ(g.size(), picture.size());
    const QImage shot = x.screenshot();
    int wrong = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int xx = 0; xx < picture.width(); ++xx) {
            const bool opaque = (picture.pixel(xx, y) & 0xFFFFFF) != 0;
            const QRgb seen = shot.pixel(g.topLeft() + QPoint(xx, y));
            const QRgb want = opaque ? qRgb(255, 0, 255) : e2e::XSession::DesktopColour;
            wrong += seen == want ? 0 : 1;
        }
    if (wrong)
        shot.copy(g.adjusted(-5, -5, 5, 5)).save(QDir::temp().filePath("shaped-window.png"));
    EXPECT_EQ(wrong, 0) << "pixels off the picture's shape (see /tmp/shaped-window.png)";
    // The X server's own account of the shape: the opaque pixels' bounds.
    QRect opaqueBounds;
    for (int y = 0; y < picture.height(); ++y)
        for (int xx = 0; xx < picture.width(); ++xx)
            if ((picture.pixel(xx, y) & 0xFFFFFF) != 0)
                opaqueBounds |= QRect(xx, y, 1, 1);
    const QString shape = x.run("xwininfo", {"-shape", "-id", window});
    EXPECT_TRUE(shape.contains(QString("Window shape extents:  %1x%2+%3+%4")
                                   .arg(opaqueBounds.width())
                                   .arg(opaqueBounds.height())
                                   .arg(opaqueBounds.x())
                                   .arg(opaqueBounds.y())))
        << qPrintable(shape);
}

} // namespace
