// A surface copied as a bitmap reaches the real X clipboard: another program
// reads back the very picture.
#include "support/xsession.h"

#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(Clipboard, AnotherProgramReadsTheCopiedSurfaceBack) {
    e2e::XSession x({.windowManager = false});
    ASSERT_TRUE(x.ok()) << qPrintable(x.error());
    QTemporaryDir dir;
    QProcess* owner = x.start(CLIPBOARD_DEMO_BIN, {"copy", dir.filePath("surface.bmp")});
    QByteArray said; // Qt's own warnings may come first
    while (!said.contains("copied") && owner->waitForReadyRead(10000))
        said += owner->readAll();
    ASSERT_TRUE(said.contains("copied")) << said.constData();
    QProcess* reader = x.start(CLIPBOARD_DEMO_BIN, {"paste", dir.filePath("pasted.png")});
    ASSERT_TRUE(reader->waitForFinished(10000));
    ASSERT_EQ(reader->exitCode(), 0) << reader->readAll().constData();

    const QImage surface(dir.filePath("surface.bmp"));
    const QImage pasted(dir.filePath("pasted.png"));
    ASSERT_EQ(surface.size(), QSize(37, 23));
    ASSERT_EQ(pasted.size(), surface.size());
    int differing = 0, blueSeen = 0;
    for (int y = 0; y < 23; ++y)
        for (int xx = 0; xx < 37; ++xx) {
            differing += (surface.pixel(xx, y) & 0xFFFFFF) != (pasted.pixel(xx, y) & 0xFFFFFF);
            blueSeen += qBlue(pasted.pixel(xx, y)) != 0;
        }
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(blueSeen, 0) << "coloured noise has no blue";
}

} // namespace
