#pragma once

#include "monitor/platform/desktop.h"

#include <QPointer>

#include <map>
#include <memory>
#include <utility>

class QSystemTrayIcon;

namespace monitor::qt {

// The notification area over QSystemTrayIcon. It reads the record's fields as
// the shell would read its ANSI copy: the tip in Latin-1, never past its 64
// characters. Add and modify set the icon (the window's own) and the tip;
// delete removes.
class QtNotifyShell final : public NotifyShell {
public:
    QtNotifyShell();
    ~QtNotifyShell() override;
    bool Shell_NotifyIcon(std::uint32_t message, const TrayIconData& data) override;
    void setCallback(gdi::HWND hWnd, std::function<void(std::uint32_t)> callback) override;
    void setContextMenu(gdi::HWND hWnd, QMenu* menu) override;
    bool available() const override;
    bool showMessage(const TrayIconData& data, const QString& title, const QString& text) override;

private:
    struct Entry {
        std::unique_ptr<QSystemTrayIcon> icon;
        std::uint32_t hIcon = 0; // the icon it shows, as the record names it
    };
    void update(Entry& entry, const TrayIconData& data);

    std::map<std::pair<std::uint32_t, std::uint32_t>, Entry> icons_;
    // Keyed as the record names its window (TrayIconData::handleOf).
    std::map<std::uint32_t, std::function<void(std::uint32_t)>> callbacks_;
    std::map<std::uint32_t, QPointer<QMenu>> menus_;
};

} // namespace monitor::qt
