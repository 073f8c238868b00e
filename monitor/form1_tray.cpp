// The tray: the record handed to the notification area, the indicator summary
// Tallowbar keeps in it, and the left-button press that brings the window back.
#include "monitor/controls/labelcontrol.h"
#include "monitor/form1.h"
#include "monitor/trayicondata.h"

#include <QTimer>

#include <cmath>

namespace monitor {
namespace {

// Long indicator captions shortened for the one-line summary, in this order.
const std::pair<const char*, const char*> SummaryReplacements[] = {
    {"Channel 1: ", "CH1-"}, {"Channel 2: ", "CH2-"},
    {"Channel 3: ", "CH3-"}, {"Character Select: ", "Chr-"},
    {"Login: ", "Log-"},     {"Update: ", "Upd-"},
    {"Active", ":D"},        {"Down", ":("},
};

} // namespace

void Form1::FillTrayIcon() {
    TrayIcon.cbSize = TrayIconData::AnsiSize;
    const qint64 icon = windowIcon().isNull() ? 0 : windowIcon().cacheKey();
    TrayIcon.hIcon = std::uint32_t(icon ^ (icon >> 32)); // identifies the icon
    TrayIcon.hWnd = TrayIconData::handleOf(hWnd());
    TrayIcon.setTip(program_.trayTitle.isEmpty() ? sToolTip_ : program_.trayTitle);
    TrayIcon.uCallbackMessage = WM_MOUSEMOVE;
    TrayIcon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    TrayIcon.uID = 1;
}

void Form1::UpdateToolTip() {
    // A request made while one is pending does not restart the wait, so any
    // number of requests lead to one rebuild, 5 s after the first.
    if (toolTipUpdater_ && !toolTipUpdater_->isActive())
        toolTipUpdater_->start();
}

void Form1::ToolTipUpdater_Timer() {
    QStringList captions;
    for (const ProbeEntry& p : probes_)
        captions << p.indicator->caption();
    sToolTip_ = captions.join(", ");
    for (const auto& [find, replacement] : SummaryReplacements)
        sToolTip_.replace(QLatin1String(find), QLatin1String(replacement), Qt::CaseSensitive);
    FillTrayIcon();
    toolTipUpdater_->stop();
    // Hand the new tip to the icon already shown, so the user sees it.
    if (trayAdded_)
        desktop_.tray->Shell_NotifyIcon(NIM_MODIFY, TrayIcon);
}

void Form1::Form_MouseMove(double x) {
    if (std::lround(x) == WM_LBUTTONDOWN && !isVisible()) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
        setVisible(true);
    }
}

} // namespace monitor
