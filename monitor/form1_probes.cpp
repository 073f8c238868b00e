// The probe cycle: six TCP connects per pass, a one-minute countdown, and a
// pass on start-up, on every eleventh tick and on Refresh.
#include "monitor/controls/labelcontrol.h"
#include "monitor/controls/winsock.h"
#include "monitor/form1.h"

#include <QTimer>

namespace monitor {

void Form1::ConnectAllProbes() {
    for (ProbeEntry& p : probes_) {
        p.socket->Connect();
        p.indicator->setAccessibleName(p.spoken + ": checking");
    }
}

void Form1::CloseAllProbes() {
    for (ProbeEntry& p : probes_)
        p.socket->Close();
}

void Form1::ResetIndicators() {
    for (ProbeEntry& p : probes_)
        p.indicator->setForeColor(IndicatorChecking);
}

void Form1::Probe_Connect(int row) {
    ProbeEntry& p = probes_.at(static_cast<size_t>(row));
    p.indicator->setCaption(p.upText);
    p.indicator->setForeColor(IndicatorUp);
    p.indicator->setAccessibleName(p.spoken + ": up");
    p.socket->Close();
}

void Form1::Probe_Error(int row) {
    ProbeEntry& p = probes_.at(static_cast<size_t>(row));
    p.indicator->setForeColor(IndicatorDown);
    p.indicator->setCaption(p.downText);
    p.indicator->setAccessibleName(p.spoken + ": down");
    // The socket stays in its error state until the next pass closes it.
}

void Form1::startPass() {
    ResetIndicators();
    CloseAllProbes();
    ConnectAllProbes();
}

void Form1::Timer1_Timer() {
    if (lTicks_ < 10) {
        ++lTicks_;
        writeCountdown();
    } else {
        startPass();
        lTicks_ = 0;
        writeCountdown();
        loadPage(); // shown or parked, the page is reloaded with every timed pass
    }
    UpdateToolTip();
}

void Form1::Command1_Click() {
    startPass(); // the countdown and the embedded page are left alone
    UpdateToolTip();
}

void Form1::writeCountdown() {
    controls_.get<LabelControl>("Label1")->setCaption(QString::number(10 - lTicks_) + "...");
}

} // namespace monitor
