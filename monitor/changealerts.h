// Tells the user, when they asked for it, which servers changed state at the
// end of each probe pass: one notification per pass naming every change, in
// the indicators' own words. Where no notification service takes it, the tray
// icon's own message says it; without a tray either, one line on stderr.
#pragma once

#include "forms/shared/formdefinition.h"
#include "monitor/changenotice.h"

#include <QObject>

#include <functional>

namespace monitor {

class Notifier;
class NotifyShell;
class ProbeCycle;
class TrayPresence;

class ChangeAlerts : public QObject {
    Q_OBJECT
public:
    // bringBack shows the window, as a click on the tray icon does.
    ChangeAlerts(const forms::Program& program, const ProbeCycle& cycle, Notifier& notifier,
                 NotifyShell& shell, const TrayPresence& tray, std::function<void()> bringBack);

    void setEnabled(bool on) { enabled_ = on; }
    bool enabled() const { return enabled_; }
    // The indicators as the pass left them.
    std::vector<IndicatorReading> readings() const;

private:
    void passEnded();
    void undelivered(const QString& summary, const QString& body);

    const ProbeCycle& cycle_;
    Notifier& notifier_;
    NotifyShell& shell_;
    const TrayPresence& tray_;
    QString programName_;
    bool captionsNameServers_ = false;
    bool enabled_ = false;
    bool nowhereSaid_ = false;
    ChangeNotice notice_;
};

} // namespace monitor
