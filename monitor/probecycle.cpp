#include "monitor/probecycle.h"

#include "monitor/controls/labelcontrol.h"
#include "monitor/controls/winsock.h"

#include <QTimer>

#include <algorithm>
#include <stdexcept>

namespace monitor {

ProbeCycle::ProbeCycle(const forms::Program& program, const ControlSet& controls)
    : timer_(controls.get<QTimer>(program.roles.countdownTimer)),
      countdown_(controls.get<LabelControl>(program.roles.countdown)),
      ticks_(program.countdownTicks) {
    if (program.probes.size() != probes_.size())
        throw std::logic_error("a program probes exactly six servers");
    for (size_t row = 0; row < probes_.size(); ++row) {
        const forms::Server& def = program.probes[row];
        ProbeEntry& p = probes_[row];
        p.socket = controls.get<Winsock>(def.socket);
        p.indicator = controls.get<LabelControl>(def.indicator);
        p.upText = QString(program.indicators.up).replace("%1", def.name);
        p.downText = QString(program.indicators.down).replace("%1", def.name);
        p.name = def.name;
        p.spoken = def.spoken;
        say(p, "not checked yet");
        const int r = static_cast<int>(row);
        connect(p.socket, &Winsock::Connected, this, [this, r] { connected(r); });
        connect(p.socket, &Winsock::Error, this, [this, r] { failed(r); });
    }
    connect(timer_, &QTimer::timeout, this, &ProbeCycle::tick);
}

void ProbeCycle::connectAll() {
    waiting_.fill(true);
    for (ProbeEntry& p : probes_) {
        p.socket->Connect();
        say(p, "checking");
    }
}

void ProbeCycle::closeAll() {
    for (ProbeEntry& p : probes_)
        p.socket->Close();
}

void ProbeCycle::resetIndicators() {
    for (ProbeEntry& p : probes_)
        p.indicator->setForeColor(IndicatorChecking);
}

void ProbeCycle::connected(int row) {
    ProbeEntry& p = probes_.at(static_cast<size_t>(row));
    p.indicator->setCaption(p.upText);
    p.indicator->setForeColor(IndicatorUp);
    say(p, "up");
    p.socket->Close();
    answered(row);
}

void ProbeCycle::failed(int row) {
    ProbeEntry& p = probes_.at(static_cast<size_t>(row));
    p.indicator->setForeColor(IndicatorDown);
    p.indicator->setCaption(p.downText);
    say(p, "down");
    // The socket stays in its error state until the next pass closes it.
    answered(row);
}

void ProbeCycle::answered(int row) {
    bool& waiting = waiting_.at(static_cast<size_t>(row));
    if (!waiting)
        return; // a second answer, or one outside a pass
    waiting = false;
    if (std::none_of(waiting_.begin(), waiting_.end(), [](bool w) { return w; }))
        emit passEnded();
}

void ProbeCycle::say(ProbeEntry& p, const QString& state) {
    // The ticker's one-letter captions get their server's name before them.
    const QString caption = p.indicator->caption();
    const QString name = caption.contains(p.name) ? caption : p.name + ": " + caption;
    // Set only when it changes: each setting is announced.
    if (p.indicator->accessibleName() != name)
        p.indicator->setAccessibleName(name);
    // Colours are not everyone's: the state is also said in words.
    const QString description = p.spoken + ": " + state;
    if (p.indicator->accessibleDescription() != description)
        p.indicator->setAccessibleDescription(description);
}

void ProbeCycle::startPass() {
    resetIndicators();
    closeAll();
    connectAll();
}

void ProbeCycle::tick() {
    if (lTicks_ < ticks_) {
        ++lTicks_;
        showCountdown();
    } else {
        startPass();
        lTicks_ = 0;
        showCountdown();
        emit timedPass();
    }
    emit advanced();
}

void ProbeCycle::refresh() {
    startPass();
    emit advanced();
}

void ProbeCycle::showCountdown() {
    const int left = ticks_ - lTicks_;
    countdown_->setCaption(QString::number(left) + "...");
    // The caption's number in words, for a screen reader.
    countdown_->setAccessibleDescription(left == 1
                                             ? QString("1 minute to the next check")
                                             : QString("%1 minutes to the next check").arg(left));
}

void ProbeCycle::stop() {
    timer_->stop();
}

QStringList ProbeCycle::captions() const {
    QStringList out;
    for (const ProbeEntry& p : probes_)
        out << p.indicator->caption();
    return out;
}

} // namespace monitor
