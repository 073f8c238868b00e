// Desktop services for tests: each records its calls (into one shared log, in
// call order) instead of touching the real desktop.
#pragma once

#include "monitor/platform/desktop.h"
#include "monitor/platform/notifier.h"
#include "monitor/trayicondata.h"
#include "support/fakebrowser.h"
#include "support/fakegdi.h"

#include <QStringList>

#include <functional>
#include <map>
#include <vector>

namespace testing_support {

class FakeWindowShell final : public monitor::WindowShell {
public:
    explicit FakeWindowShell(QStringList& log) : log_(log) {}
    bool SetWindowPos(gdi::HWND hWnd, gdi::HWND insertAfter, int x, int y, int cx, int cy,
                      std::uint32_t flags) override;
    bool ReleaseCapture() override;
    std::intptr_t SendMessageA(gdi::HWND hWnd, std::uint32_t message, std::uintptr_t wParam,
                               std::intptr_t lParam) override;
    bool SetForegroundWindow(gdi::HWND hWnd) override;
    std::intptr_t moveResult = 1; // what the window manager answers to a caption drag
    std::function<void()> onSetWindowPos;
    std::function<void()> onSetForegroundWindow;

private:
    QStringList& log_;
};

class FakeNotifyShell final : public monitor::NotifyShell {
public:
    explicit FakeNotifyShell(QStringList& log) : log_(log) {}
    bool Shell_NotifyIcon(std::uint32_t message, const monitor::TrayIconData& data) override;
    void setCallback(gdi::HWND hWnd, std::function<void(std::uint32_t)> callback) override;
    void setContextMenu(gdi::HWND hWnd, QMenu* menu) override;
    bool available() const override { return trayAvailable; }
    bool showMessage(const monitor::TrayIconData& data, const QString& title,
                     const QString& text) override;
    bool trayAvailable = true;
    bool carriesMessages = true; // whether the icon can show a message
    // Plays the shell: a mouse message on the icon of window hWnd.
    void press(gdi::HWND hWnd, std::uint32_t mouseMessage);

    std::vector<std::pair<std::uint32_t, QByteArray>> records; // message, 88-byte copy
    std::map<gdi::HWND, QMenu*> menus;

private:
    QStringList& log_;
    std::map<gdi::HWND, std::function<void(std::uint32_t)>> callbacks_;
};

class FakeUrlShell final : public monitor::UrlShell {
public:
    explicit FakeUrlShell(QStringList& log) : log_(log) {}
    void ShellExecuteA(const QString& url) override;
    QStringList urls;

private:
    QStringList& log_;
};

// Records notifications; plays the notification service, or its absence.
class FakeNotifier final : public monitor::Notifier {
public:
    explicit FakeNotifier(QStringList& log) : log_(log) {}
    void notify(const QString& summary, const QString& body) override;
    void setHandlers(std::function<void()> activated,
                     std::function<void(const QString&, const QString&)> undelivered) override;
    void click() const; // the user clicks the one shown
    bool serviceRuns = true;
    std::vector<std::pair<QString, QString>> shown; // summary, body

private:
    QStringList& log_;
    std::function<void()> activated_;
    std::function<void(const QString&, const QString&)> undelivered_;
};

struct FakeDesktop {
    QStringList log;
    FakeGdi gdi;
    FakeWindowShell windows{log};
    FakeNotifyShell tray{log};
    FakeUrlShell urls{log};
    FakeNotifier notices{log};
    FakeBrowsers browsers{log};
    monitor::Desktop desktop() { return {&gdi, &windows, &tray, &urls, &notices}; }
};

} // namespace testing_support
