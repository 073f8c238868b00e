// The real desktop services over Qt. They hold Qt objects (tray icons among
// them, widgets underneath), so they are made after the application and must
// be gone before it: one set, owned where the application is.
#pragma once

#include "monitor/platform/desktop.h"

#include <memory>

namespace monitor::qt {

class QtWindowShell;
class QtNotifyShell;
class QtUrlShell;

class SystemDesktop {
public:
    SystemDesktop();
    ~SystemDesktop();
    SystemDesktop(const SystemDesktop&) = delete;
    SystemDesktop& operator=(const SystemDesktop&) = delete;

    Desktop desktop() const;

private:
    std::unique_ptr<QtWindowShell> windows_;
    std::unique_ptr<QtNotifyShell> tray_;
    std::unique_ptr<QtUrlShell> urls_;
};

} // namespace monitor::qt
