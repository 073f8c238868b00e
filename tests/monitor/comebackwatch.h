// What a window was like when it was given the keyboard: a window must be
// shown and restored before it is focused, or the focus goes nowhere.
#pragma once

#include "monitor/form1.h"
#include "support/fakedesktop.h"

#include <QSize>

namespace testing_support {

struct AtForeground {
    int calls = 0;
    bool shown = false;
    bool minimised = true;
    QSize size;
};

inline void watchForeground(testing_support::FakeDesktop& fakes, const monitor::Form1*& window,
                            AtForeground& at) {
    fakes.windows.onSetForegroundWindow = [&] {
        ++at.calls;
        at.shown = window->isVisible();
        at.minimised = window->windowState() & Qt::WindowMinimized;
        at.size = window->size();
    };
}

} // namespace testing_support
