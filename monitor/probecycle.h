// The probe cycle: six TCP connects per pass, a countdown of one-minute ticks,
// and a pass on start-up, after the countdown's last tick and on Refresh.
#pragma once

#include "forms/shared/formdefinition.h"
#include "monitor/controls/controlset.h"
#include "monitor/probeentry.h"

#include <QObject>
#include <QStringList>

#include <array>

class QTimer;

namespace monitor {

class LabelControl;

class ProbeCycle : public QObject {
    Q_OBJECT
public:
    // Takes the program's sockets, indicators, countdown label and timer from
    // the window's live controls.
    ProbeCycle(const forms::Program& program, const ControlSet& controls);

    void connectAll();
    void closeAll();
    void resetIndicators(); // black while a pass runs
    void connected(int row);
    void failed(int row);
    void tick();    // one minute of the countdown, or the timed pass after its last
    void refresh(); // a pass now; the countdown is left alone
    void showCountdown();
    void stop(); // no more ticks

    int lTicks() const { return lTicks_; }
    const std::array<ProbeEntry, 6>& probes() const { return probes_; }
    QStringList captions() const; // the indicators', in probe-table order

signals:
    void timedPass(); // after the pass that ends a countdown
    void advanced();  // after every tick and every Refresh
    // Every probe of the pass has answered (a silent one by its timeout).
    void passEnded();

private:
    void startPass(); // black indicators, then every probe closed and connected again
    // An indicator to a screen reader: its name holds what it shows, its
    // description says the server's state in words.
    static void say(ProbeEntry& p, const QString& state);
    void answered(int row);

    std::array<ProbeEntry, 6> probes_{};
    QTimer* timer_ = nullptr;
    LabelControl* countdown_ = nullptr;
    int ticks_ = 0;
    int lTicks_ = 0;
    std::array<bool, 6> waiting_{}; // probes of the running pass yet to answer
};

} // namespace monitor
