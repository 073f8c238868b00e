#include "monitor/traypresence.h"

#include "monitor/platform/desktop.h"
#include "monitor/probecycle.h"

#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <utility>

namespace monitor {
namespace {

// Long indicator captions shortened for the one-line summary, in this order.
// Only the ticker keeps a summary, and its captions are single letters, so
// none of these match what ships; they stay because they are the summary's
// rule for captions that spell a server out.
const std::pair<const char*, const char*> SummaryReplacements[] = {
    {"Channel 1: ", "CH1-"}, {"Channel 2: ", "CH2-"},
    {"Channel 3: ", "CH3-"}, {"Character Select: ", "Chr-"},
    {"Login: ", "Log-"},     {"Update: ", "Upd-"},
    {"Active", ":D"},        {"Down", ":("},
};

} // namespace

TrayPresence::TrayPresence(const forms::Program& program, const ControlSet& controls,
                           NotifyShell& shell, QWidget& window, const ProbeCycle& cycle)
    : shell_(shell), window_(window), cycle_(cycle), trayTitle_(program.trayTitle),
      programName_(program.name) {
    if (program.summaryTimer.isEmpty())
        return;
    toolTipUpdater_ = controls.get<QTimer>(program.summaryTimer);
    // To the millisecond: a coarse timer may shift its end by a twentieth of
    // its interval, which would blur whether a request moved the rebuild.
    toolTipUpdater_->setTimerType(Qt::PreciseTimer);
    connect(toolTipUpdater_, &QTimer::timeout, this, &TrayPresence::rebuildSummary);
}

void TrayPresence::fill() {
    TrayIcon.cbSize = TrayIconData::AnsiSize;
    const QIcon windowIcon = window_.windowIcon();
    const qint64 icon = windowIcon.isNull() ? 0 : windowIcon.cacheKey();
    TrayIcon.hIcon = std::uint32_t(icon ^ (icon >> 32)); // identifies the icon
    TrayIcon.hWnd = TrayIconData::handleOf(gdi::HWND(window_.winId()));
    TrayIcon.setTip(trayTitle_.isEmpty() ? sToolTip_ : trayTitle_);
    TrayIcon.uCallbackMessage = WM_MOUSEMOVE;
    TrayIcon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    TrayIcon.uID = 1;
}

void TrayPresence::attach(std::function<void(std::uint32_t)> callback, QMenu* menu) {
    const auto hWnd = gdi::HWND(window_.winId());
    shell_.setCallback(hWnd, std::move(callback));
    shell_.setContextMenu(hWnd, menu);
}

void TrayPresence::add() {
    shell_.Shell_NotifyIcon(NIM_ADD, TrayIcon);
    added_ = true;
}

void TrayPresence::remove() {
    shell_.Shell_NotifyIcon(NIM_DELETE, TrayIcon);
    added_ = false;
}

void TrayPresence::requestSummary() {
    // A request made while one is pending does not restart the wait, so any
    // number of requests lead to one rebuild, 5 s after the first.
    if (toolTipUpdater_ && !toolTipUpdater_->isActive())
        toolTipUpdater_->start();
}

void TrayPresence::rebuildSummary() {
    sToolTip_ = cycle_.captions().join(", ");
    for (const auto& [find, replacement] : SummaryReplacements)
        sToolTip_.replace(QLatin1String(find), QLatin1String(replacement), Qt::CaseSensitive);
    fill();
    if (toolTipUpdater_)
        toolTipUpdater_->stop();
    // Hand the new tip to the icon already shown, so the user sees it.
    if (added_)
        shell_.Shell_NotifyIcon(NIM_MODIFY, TrayIcon);
}

void TrayPresence::stop() {
    if (toolTipUpdater_)
        toolTipUpdater_->stop();
}

bool TrayPresence::canBringBack() {
    if (shell_.available())
        return true;
    if (!noTraySaid_) {
        noTraySaid_ = true;
        std::fprintf(stderr,
                     "%s: this desktop has no notification area (system tray) for the icon that "
                     "would bring a hidden window back: minimising to the taskbar instead of "
                     "hiding\n",
                     qPrintable(programName_.toLower()));
    }
    return false;
}

} // namespace monitor
