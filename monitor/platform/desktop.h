// The desktop services the main window uses, each behind a small interface so
// tests can put in fakes that record calls. qt::SystemDesktop holds the real
// ones, over Qt.
#pragma once

#include "graphics/platform/gdi.h"

#include <QString>

#include <cstdint>
#include <functional>

class QMenu;

namespace monitor {

class Notifier;
struct TrayIconData;

inline constexpr gdi::HWND HWND_TOPMOST = gdi::HWND(-1);
inline constexpr std::uint32_t SWP_NOSIZE = 1;
inline constexpr std::uint32_t SWP_NOMOVE = 2;
inline constexpr std::uint32_t WM_NCLBUTTONDOWN = 161;
inline constexpr std::uint32_t HTCAPTION = 2;

// Window placement and moving.
class WindowShell {
public:
    virtual ~WindowShell() = default;
    // With HWND_TOPMOST: keep the window above all windows that are not.
    virtual bool SetWindowPos(gdi::HWND hWnd, gdi::HWND insertAfter, int x, int y, int cx, int cy,
                              std::uint32_t flags) = 0;
    virtual bool ReleaseCapture() = 0;
    // WM_NCLBUTTONDOWN with HTCAPTION: the window manager moves the window with
    // the mouse until the button is released. Returns 0 when it cannot.
    virtual std::intptr_t SendMessageA(gdi::HWND hWnd, std::uint32_t message, std::uintptr_t wParam,
                                       std::intptr_t lParam) = 0;
    // Raises the shown window and gives it the keyboard.
    virtual bool SetForegroundWindow(gdi::HWND hWnd) = 0;
};

// The notification area.
class NotifyShell {
public:
    virtual ~NotifyShell() = default;
    virtual bool Shell_NotifyIcon(std::uint32_t message, const TrayIconData& data) = 0;
    // Where the icon of window hWnd reports mouse events: the callback gets
    // the mouse message number (WM_LBUTTONDOWN...), as the callback message's
    // lParam carries it.
    virtual void setCallback(gdi::HWND hWnd, std::function<void(std::uint32_t)> callback) = 0;
    // The menu shown at the icon on a right-button press.
    virtual void setContextMenu(gdi::HWND hWnd, QMenu* menu) = 0;
    // Whether the desktop has a notification area now: without one an icon
    // cannot be seen, and a hidden window could never be brought back.
    virtual bool available() const = 0;
    // A message from the icon of the record's window (a balloon): false where
    // the icon is not shown or cannot carry one. A click on it counts as a
    // left click on the icon.
    virtual bool showMessage(const TrayIconData& data, const QString& title, const QString& text) {
        (void)data, (void)title, (void)text;
        return false;
    }
};

// Opening documents and web pages with the desktop's default handler.
class UrlShell {
public:
    virtual ~UrlShell() = default;
    // Opens an already percent-encoded URL without waiting for the browser.
    virtual void ShellExecuteA(const QString& url) = 0;
};

struct Desktop {
    gdi::Gdi* gdi = nullptr;
    WindowShell* windows = nullptr;
    NotifyShell* tray = nullptr;
    UrlShell* urls = nullptr;
    Notifier* notices = nullptr; // none: the program never announces changes
};

} // namespace monitor
