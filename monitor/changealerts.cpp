#include "monitor/changealerts.h"

#include "monitor/controls/labelcontrol.h"
#include "monitor/platform/desktop.h"
#include "monitor/platform/notifier.h"
#include "monitor/probecycle.h"
#include "monitor/traypresence.h"

#include <cstdio>
#include <utility>

namespace monitor {

ChangeAlerts::ChangeAlerts(const forms::Program& program, const ProbeCycle& cycle,
                           Notifier& notifier, NotifyShell& shell, const TrayPresence& tray,
                           std::function<void()> bringBack)
    : cycle_(cycle), notifier_(notifier), shell_(shell), tray_(tray), programName_(program.name),
      captionsNameServers_(program.indicators.up.contains("%1")) {
    notifier_.setHandlers(
        std::move(bringBack),
        [this](const QString& summary, const QString& body) { undelivered(summary, body); });
    connect(&cycle_, &ProbeCycle::passEnded, this, &ChangeAlerts::passEnded);
}

std::vector<IndicatorReading> ChangeAlerts::readings() const {
    std::vector<IndicatorReading> out;
    for (const ProbeEntry& p : cycle_.probes()) {
        const QString caption = p.indicator->caption();
        // A caption of one letter says nothing on its own: there the
        // indicator's description says it in words, naming the server.
        out.push_back({caption == p.upText,
                       captionsNameServers_ ? caption : p.indicator->accessibleDescription()});
    }
    return out;
}

void ChangeAlerts::passEnded() {
    // The pass is compared even while alerts are off, so turning them on
    // never reports what changed long ago.
    const QStringList changed = notice_.passEnded(readings());
    if (enabled_ && !changed.isEmpty())
        notifier_.notify(programName_, changed.join('\n'));
}

void ChangeAlerts::undelivered(const QString& summary, const QString& body) {
    if (shell_.available() && shell_.showMessage(tray_.record(), summary, body))
        return;
    if (nowhereSaid_)
        return;
    nowhereSaid_ = true;
    std::fprintf(stderr,
                 "%s: no notification service and no notification area: changes of the "
                 "servers are not announced\n",
                 qPrintable(programName_.toLower()));
}

} // namespace monitor
