// A real program on a desktop of its own: Xvfb, openbox and a tray host,
// driven through xdotool as a user would, probing the local realm, with a
// stand-in xdg-open that writes down what the program asked it to open.
#pragma once

#include "support/xsession.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>

namespace e2e {

class ProgramDesktop : public ::testing::Test {
protected:
    explicit ProgramDesktop(e2e::XSession::Options options = {.windowManager = true,
                                                              .trayHost = true})
        : x(options) {}

    void SetUp() override {
        ASSERT_TRUE(x.ok()) << qPrintable(x.error());
        ASSERT_TRUE(bin.isValid());
        QFile opener(bin.filePath("xdg-open"));
        ASSERT_TRUE(opener.open(QIODevice::WriteOnly));
        opener.write(
            QString("#!/bin/sh\nprintf '%s\\n' \"$@\" >> '%1'\n").arg(openedFile()).toUtf8());
        opener.close();
        opener.setPermissions(opener.permissions() | QFile::ExeOwner);
    }

    void startRealm(const QStringList& args = {}) {
        realm = x.start(VELLREALM_BIN, args);
        ASSERT_TRUE(realm->waitForReadyRead(5000));
        ASSERT_TRUE(QString::fromLocal8Bit(realm->readAll()).contains("ready"));
    }

    void startProgram(const QString& binary, bool webEngine = false) {
        QProcessEnvironment env = programEnvironment;
        env.insert("PATH", bin.path() + ":" + qEnvironmentVariable("PATH"));
        // The web engine will not run as root with its sandbox on; tests only.
        env.insert("QTWEBENGINE_DISABLE_SANDBOX", "1");
        if (webEngine && qEnvironmentVariableIsSet("ASAN_OPTIONS")) {
            // In a sanitizer build, the process that loads Qt WebEngine is
            // checked for memory errors but not for these two: Chromium's own
            // code (libQt6WebEngineCore, stripped) frees some objects through a
            // type of another size, and it, fontconfig and the software GL
            // driver (unloaded by then, so nameless) leave allocations at exit.
            // Leaks of our code are checked in the ticker's process and in the
            // unit tests, which run the panel on a recording browser. All else
            // is the suite's, as a hand run of the panel takes them.
            env.insert("ASAN_OPTIONS", qEnvironmentVariable("ASAN_OPTIONS") +
                                           ":new_delete_type_mismatch=0:detect_leaks=0");
        }
        program = x.start(binary, {}, env);
        window = x.waitForWindow(program->processId(), "Form1");
        ASSERT_FALSE(window.isEmpty()) << qPrintable(program->readAll());
        QTest::qWait(300); // let the window manager settle it
        geometry = x.geometry(window);
    }

    QString openedFile() const { return bin.filePath("opened.txt"); }
    QStringList opened() const {
        QFile f(openedFile());
        return f.open(QIODevice::ReadOnly)
                   ? QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts)
                   : QStringList();
    }
    void xdo(const QStringList& args) const {
        x.run("xdotool", args);
        QThread::msleep(60);
    }
    void click(QPoint p, int button = 1) const {
        xdo({"mousemove", QString::number(p.x()), QString::number(p.y())});
        xdo({"click", QString::number(button)});
    }
    void drag(QPoint from, QPoint by, int button) const {
        xdo({"mousemove", QString::number(from.x()), QString::number(from.y())});
        xdo({"mousedown", QString::number(button)});
        QThread::msleep(150); // the press reaches the program and the window manager takes over
        for (int step = 1; step <= 5; ++step) {
            const QPoint p = from + by * step / 5;
            xdo({"mousemove", QString::number(p.x()), QString::number(p.y())});
        }
        xdo({"mouseup", QString::number(button)});
        QTest::qWait(200);
    }
    bool mapped() const { return x.run("xwininfo", {"-id", window}).contains("IsViewable"); }
    QPoint at(int wx, int wy) const { return geometry.topLeft() + QPoint(wx, wy); }
    // Gives the window the keyboard without waiting on the window manager's say.
    bool focus() const {
        x.run("xdotool", {"windowactivate", window});
        return QTest::qWaitFor(
            [&] {
                x.run("xdotool", {"windowfocus", window});
                return x.run("xdotool", {"getwindowfocus"}).trimmed() == window;
            },
            5000);
    }

    XSession x;
    QProcessEnvironment programEnvironment; // what a test adds to the program's
    QTemporaryDir bin;
    QProcess* realm = nullptr;
    QProcess* program = nullptr;
    QString window;
    QRect geometry;
};

} // namespace e2e
