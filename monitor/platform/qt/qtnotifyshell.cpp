#include "monitor/platform/qt/qtnotifyshell.h"

#include "graphics/platform/qt/windowlookup.h"
#include "monitor/trayicondata.h"

#include <QMenu>
#include <QSystemTrayIcon>
#include <QWindow>
#include <QtEndian>

namespace monitor::qt {

QString tipOfRecord(const QByteArray& record) {
    const QByteArray field = record.mid(24, TrayIconData::TipLength);
    const qsizetype nul = field.indexOf('\0');
    return QString::fromLatin1(nul < 0 ? field : field.left(nul));
}

QtNotifyShell::QtNotifyShell() = default;
QtNotifyShell::~QtNotifyShell() = default;

void QtNotifyShell::update(Entry& entry, const QByteArray& record, std::uint32_t hWnd) {
    // Only what changed: resetting an icon repaints it in the tray host.
    const std::uint32_t flags = qFromLittleEndian<std::uint32_t>(record.constData() + 12);
    const std::uint32_t hIcon = qFromLittleEndian<std::uint32_t>(record.constData() + 20);
    if ((flags & NIF_ICON) && hIcon != entry.hIcon)
        if (QWindow* w = gdi::qt::windowFor(hWnd)) {
            entry.icon->setIcon(w->icon());
            entry.hIcon = hIcon;
        }
    const QString tip = tipOfRecord(record);
    if ((flags & NIF_TIP) && tip != entry.icon->toolTip())
        entry.icon->setToolTip(tip);
}

bool QtNotifyShell::Shell_NotifyIcon(std::uint32_t message, const TrayIconData& data) {
    const QByteArray record = data.toAnsi(); // what the shell receives
    const auto hWnd = qFromLittleEndian<std::uint32_t>(record.constData() + 4);
    const auto uID = qFromLittleEndian<std::uint32_t>(record.constData() + 8);
    const auto key = std::make_pair(hWnd, uID);
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
            const auto menu = menus_.find(hWnd);
            if (menu != menus_.end() && menu->second)
                e.icon->setContextMenu(menu->second);
        }
        update(e, record, hWnd);
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

void QtNotifyShell::setContextMenu(gdi::HWND hWnd, QMenu* menu) {
    const std::uint32_t window = TrayIconData::handleOf(hWnd);
    menus_[window] = menu;
    for (auto& [key, entry] : icons_)
        if (key.first == window)
            entry.icon->setContextMenu(menu);
}

} // namespace monitor::qt
