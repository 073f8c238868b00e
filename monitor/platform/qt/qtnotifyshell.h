#pragma once

#include "monitor/platform/desktop.h"

#include <QPointer>

#include <map>
#include <memory>
#include <utility>

class QSystemTrayIcon;

namespace monitor::qt {

// The notification area over QSystemTrayIcon. It reads the record the way the
// shell would: from its 88-byte ANSI copy, the tip never past its 64 bytes.
// Add and modify set the icon (the window's own) and the tip; delete removes.
class QtNotifyShell final : public NotifyShell {
public:
    QtNotifyShell();
    ~QtNotifyShell() override;
    bool Shell_NotifyIcon(std::uint32_t message, const TrayIconData& data) override;
    void setCallback(gdi::HWND hWnd, std::function<void(std::uint32_t)> callback) override;
    void setContextMenu(gdi::HWND hWnd, QMenu* menu) override;
    bool available() const override;

private:
    struct Entry {
        std::unique_ptr<QSystemTrayIcon> icon;
        std::uint32_t hIcon = 0; // the icon it shows, as the record names it
    };
    void update(Entry& entry, const QByteArray& record, std::uint32_t hWnd);

    std::map<std::pair<std::uint32_t, std::uint32_t>, Entry> icons_;
    // Keyed as the record names its window (TrayIconData::handleOf).
    std::map<std::uint32_t, std::function<void(std::uint32_t)>> callbacks_;
    std::map<std::uint32_t, QPointer<QMenu>> menus_;
};

// The tip of an 88-byte ANSI record: up to its NUL, at most 64 bytes.
QString tipOfRecord(const QByteArray& record);

} // namespace monitor::qt
