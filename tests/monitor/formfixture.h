// A main window on recording fakes, its sockets aimed at a private realm:
// ProgramWindow runs a test for every program, TickerWindow for Tallowbar.
#pragma once

#include "forms/tallowbar/tallowbar.h"
#include "monitor/controls/labelcontrol.h"
#include "monitor/controls/winsock.h"
#include "monitor/form1.h"
#include "monitor/trayicondata.h"
#include "support/fakedesktop.h"
#include "support/programs.h"
#include "support/testrealm.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

class WindowFixture {
protected:
    void open(forms::Program definition) {
        program = std::move(definition);
        realm.aim(program);
        options.browserFactory = fakes.browsers.factory();
        form = std::make_unique<monitor::Form1>(program, fakes.desktop(), options);
    }

    void load() { form->Form_Load(); }
    template <typename T>
    T* control(const char* name) const {
        return form->controls().get<T>(name);
    }
    monitor::LabelControl* label(const char* name) const {
        return control<monitor::LabelControl>(name);
    }
    QTimer* updater() const { return control<QTimer>("ToolTipUpdater"); }
    // The skin's size in pixels, as PicBackground holds it.
    QSize skinSize() const {
        const forms::Control* skin = program.form1.find("PicBackground");
        return {skin->width / 15, skin->height / 15};
    }
    QString up(int row) const { return testing_support::upCaption(program, row); }
    QString down(int row) const { return testing_support::downCaption(program, row); }
    QStringList logged(const char* prefix) const {
        QStringList out;
        for (const QString& line : fakes.log)
            if (line.startsWith(prefix))
                out << line;
        return out;
    }
    QStringList notifications() const { return logged("Shell_NotifyIcon"); }

    testing_support::TestRealm realm;
    testing_support::FakeDesktop fakes;
    monitor::BuildOptions options;
    forms::Program program;
    std::unique_ptr<monitor::Form1> form;
};

class ProgramWindow : public WindowFixture,
                      public ::testing::TestWithParam<testing_support::ProgramUnderTest> {
protected:
    void SetUp() override { open(GetParam().make()); }
    void TearDown() override { form.reset(); }
};

class TickerWindow : public WindowFixture, public ::testing::Test {
protected:
    void SetUp() override { open(forms::tallowbar()); }
    void TearDown() override { form.reset(); }
};
