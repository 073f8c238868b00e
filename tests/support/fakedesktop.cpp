#include "fakedesktop.h"

namespace testing_support {

bool FakeWindowShell::SetWindowPos(gdi::HWND hWnd, gdi::HWND insertAfter, int x, int y, int cx,
                                   int cy, std::uint32_t flags) {
    log_ << QString("SetWindowPos(%1,%2,%3,%4,%5,%6,%7)")
                .arg(hWnd)
                .arg(std::intptr_t(insertAfter))
                .arg(x)
                .arg(y)
                .arg(cx)
                .arg(cy)
                .arg(flags);
    if (onSetWindowPos)
        onSetWindowPos();
    return true;
}

bool FakeWindowShell::ReleaseCapture() {
    log_ << "ReleaseCapture()";
    return true;
}

std::intptr_t FakeWindowShell::SendMessageA(gdi::HWND hWnd, std::uint32_t message,
                                            std::uintptr_t wParam, std::intptr_t lParam) {
    log_ << QString("SendMessageA(%1,%2,%3,%4)").arg(hWnd).arg(message).arg(wParam).arg(lParam);
    return moveResult;
}

bool FakeWindowShell::SetForegroundWindow(gdi::HWND hWnd) {
    log_ << QString("SetForegroundWindow(%1)").arg(hWnd);
    if (onSetForegroundWindow)
        onSetForegroundWindow();
    return true;
}

bool FakeNotifyShell::Shell_NotifyIcon(std::uint32_t message, const monitor::TrayIconData& data) {
    log_ << QString("Shell_NotifyIcon(%1,%2)").arg(message).arg(data.tip());
    records.emplace_back(message, data.toAnsi());
    return true;
}

void FakeNotifyShell::setCallback(gdi::HWND hWnd, std::function<void(std::uint32_t)> callback) {
    callbacks_[hWnd] = std::move(callback);
}

void FakeNotifyShell::setContextMenu(gdi::HWND hWnd, QMenu* menu) {
    menus[hWnd] = menu;
}

void FakeNotifyShell::press(gdi::HWND hWnd, std::uint32_t mouseMessage) {
    const auto it = callbacks_.find(hWnd);
    if (it != callbacks_.end())
        it->second(mouseMessage);
}

bool FakeNotifyShell::showMessage(const monitor::TrayIconData& data, const QString& title,
                                  const QString& text) {
    log_ << QString("showMessage(%1,%2,%3)").arg(data.hWnd).arg(title, text);
    return carriesMessages;
}

void FakeNotifier::notify(const QString& summary, const QString& body) {
    log_ << QString("notify(%1,%2)").arg(summary, body);
    if (serviceRuns)
        shown.emplace_back(summary, body);
    else if (undelivered_)
        undelivered_(summary, body);
}

void FakeNotifier::setHandlers(std::function<void()> activated,
                               std::function<void(const QString&, const QString&)> undelivered) {
    activated_ = std::move(activated);
    undelivered_ = std::move(undelivered);
}

void FakeNotifier::click() const {
    if (!shown.empty() && activated_)
        activated_();
}

void FakeUrlShell::ShellExecuteA(const QString& url) {
    log_ << "ShellExecuteA(" + url + ")";
    urls << url;
}

} // namespace testing_support
