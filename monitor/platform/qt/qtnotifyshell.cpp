#include "monitor/platform/qt/qtnotifyshell.h"

#include "graphics/platform/qt/windowlookup.h"
#include "monitor/trayicondata.h"

#include <QMenu>
#include <QSystemTrayIcon>
#include <QWindow>

namespace monitor::qt {

QtNotifyShell::QtNotifyShell() = default;
QtNotifyShell::~QtNotifyShell() = default;

void QtNotifyShell::update(Entry& entry, const TrayIconData& data) {
    // Only what changed: resetting an icon repaints it in the tray host.
    if ((data.uFlags & NIF_ICON) && data.hIcon != entry.hIcon)
        if (QWindow* w = gdi::qt::windowFor(data.hWnd)) {
            entry.icon->setIcon(w->icon());
            entry.hIcon = data.hIcon;
        }
    const QString tip = data.ansiTip();
    if ((data.uFlags & NIF_TIP) && tip != entry.icon->toolTip())
        entry.icon->setToolTip(tip);
}

bool QtNotifyShell::Shell_NotifyIcon(std::uint32_t message, const TrayIconData& data) {
    const std::uint32_t hWnd = data.hWnd;
    const auto key = std::make_pair(hWnd, data.uID);
    const auto it = icons_.find(key);
    switch (message) {
    case NIM_ADD:
    case NIM_MODIFY: {
        if (it == icons_.end() && message == NIM_MODIFY)
            return false;
        Entry& e = icons_[key];
        if (!e.icon) {
            e.icon = std::make_unique<QSystemTrayIcon>();
            QObject::connect(e.icon.get(), &QSystemTrayIcon::activated, e.icon.get(),
                             [this, hWnd](QSystemTrayIcon::ActivationReason reason) {
                                 const auto cb = callbacks_.find(hWnd);
                                 if (cb == callbacks_.end())
                                     return;
                                 switch (reason) {
                                 case QSystemTrayIcon::Trigger:
                                     cb->second(WM_LBUTTONDOWN);
                                     break;
                                 case QSystemTrayIcon::Context:
                                     cb->second(WM_RBUTTONDOWN);
                                     break;
                                 case QSystemTrayIcon::DoubleClick:
                                     cb->second(WM_LBUTTONDBLCLK);
                                     break;
                                 default: // the middle button, or one Qt cannot name
                                     cb->second(WM_MBUTTONDOWN);
                                     break;
                                 }
                             });
            QObject::connect(e.icon.get(), &QSystemTrayIcon::messageClicked, e.icon.get(),
                             [this, hWnd] {
                                 const auto cb = callbacks_.find(hWnd);
                                 if (cb != callbacks_.end())
                                     cb->second(WM_LBUTTONDOWN);
                             });
            const auto menu = menus_.find(hWnd);
            if (menu != menus_.end() && menu->second)
                e.icon->setContextMenu(menu->second);
        }
        update(e, data);
        if (!e.icon->isVisible())
            e.icon->show();
        return true;
    }
    case NIM_DELETE:
        if (it == icons_.end())
            return false;
        it->second.icon->hide();
        icons_.erase(it);
        return true;
    default:
        return false;
    }
}

void QtNotifyShell::setCallback(gdi::HWND hWnd, std::function<void(std::uint32_t)> callback) {
    callbacks_[TrayIconData::handleOf(hWnd)] = std::move(callback);
}

bool QtNotifyShell::available() const {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

bool QtNotifyShell::showMessage(const TrayIconData& data, const QString& title,
                                const QString& text) {
    const auto it = icons_.find(std::make_pair(std::uint32_t(data.hWnd), data.uID));
    if (it == icons_.end() || !it->second.icon->isVisible() || !QSystemTrayIcon::supportsMessages())
        return false;
    it->second.icon->showMessage(title, text, it->second.icon->icon());
    return true;
}

void QtNotifyShell::setContextMenu(gdi::HWND hWnd, QMenu* menu) {
    const std::uint32_t window = TrayIconData::handleOf(hWnd);
    menus_[window] = menu;
    for (auto& [key, entry] : icons_)
        if (key.first == window)
            entry.icon->setContextMenu(menu);
}

} // namespace monitor::qt
