#include "monitor/platform/qt/qtdesktop.h"

#include "monitor/platform/qt/qtnotifyshell.h"
#include "monitor/platform/qt/qturlshell.h"
#include "monitor/platform/qt/qtwindowshell.h"

namespace monitor::qt {

SystemDesktop::SystemDesktop()
    : windows_(std::make_unique<QtWindowShell>()), tray_(std::make_unique<QtNotifyShell>()),
      urls_(std::make_unique<QtUrlShell>()) {}

SystemDesktop::~SystemDesktop() = default;

Desktop SystemDesktop::desktop() const {
    return {&gdi::platform(), windows_.get(), tray_.get(), urls_.get()};
}

} // namespace monitor::qt
