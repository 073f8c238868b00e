// A ticker window on recording fakes, its sockets aimed at a private realm.
#pragma once

#include "monitor/controls/labelcontrol.h"
#include "monitor/controls/winsock.h"
#include "monitor/form1.h"
#include "support/fakedesktop.h"
#include "support/testrealm.h"
#include "forms/tallowbar.h"
#include "monitor/trayicondata.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

class TickerWindow : public ::testing::Test {
protected:
    void SetUp() override {
        monitor::TrayIcon = {};
        forms::Program program = forms::tallowbar();
        realm.aim(program);
        form = std::make_unique<monitor::Form1>(program, fakes.desktop(), options);
    }
    void TearDown() override { form.reset(); }

    void load() { form->Form_Load(); }
    template <typename T>
    T* control(const char* name) const {
        return form->controls().get<T>(name);
    }
    monitor::LabelControl* label(const char* name) const {
        return control<monitor::LabelControl>(name);
    }
    QTimer* updater() const { return control<QTimer>("ToolTipUpdater"); }
    QStringList notifications() const {
        QStringList out;
        for (const QString& line : fakes.log)
            if (line.startsWith("Shell_NotifyIcon"))
                out << line;
        return out;
    }

    testing_support::TestRealm realm;
    testing_support::FakeDesktop fakes;
    monitor::BuildOptions options;
    std::unique_ptr<monitor::Form1> form;
};
