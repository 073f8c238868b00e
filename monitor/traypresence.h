// The window's presence in the notification area: the record handed to the
// tray, the icon's adding and removal, and the indicator summary that
// Tallowbar keeps as its tip (rebuilt once, 5 s after the first of any
// number of requests).
#pragma once

#include "forms/shared/formdefinition.h"
#include "monitor/controls/controlset.h"
#include "monitor/trayicondata.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>

class QMenu;
class QTimer;
class QWidget;

namespace monitor {

class NotifyShell;
class ProbeCycle;

class TrayPresence : public QObject {
    Q_OBJECT
public:
    // The icon stands for window; the summary, where the program has one,
    // reads the cycle's indicators.
    TrayPresence(const forms::Program& program, const ControlSet& controls, NotifyShell& shell,
                 QWidget& window, const ProbeCycle& cycle);

    void fill(); // the record: window, icon, tip, callback message
    void attach(std::function<void(std::uint32_t)> callback, QMenu* menu);
    void add();            // the icon shown
    void remove();         // and gone
    void requestSummary(); // a rebuild 5 s from the first request still pending
    void rebuildSummary();
    void stop(); // no more rebuilds
    // True when a hidden window can come back through the icon; says once on
    // stderr when it cannot.
    bool canBringBack();

    const TrayIconData& record() const { return TrayIcon; }
    const QString& sToolTip() const { return sToolTip_; }

private:
    NotifyShell& shell_;
    QWidget& window_;
    const ProbeCycle& cycle_;
    QString trayTitle_; // empty: the tip is the summary
    QString programName_;
    QTimer* toolTipUpdater_ = nullptr; // programs whose tray tip is the summary
    TrayIconData TrayIcon;
    QString sToolTip_;
    bool added_ = false;
    bool noTraySaid_ = false;
};

} // namespace monitor
