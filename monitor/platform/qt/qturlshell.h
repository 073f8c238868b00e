#pragma once

#include "monitor/platform/desktop.h"

namespace monitor::qt {

// Opens URLs with QDesktopServices: the desktop's default browser, not waited for.
class QtUrlShell final : public UrlShell {
public:
    void ShellExecuteA(const QString& url) override;
};

} // namespace monitor::qt
