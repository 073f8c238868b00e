// The main window of both programs. It is generic: the program's definition
// (forms::Program) supplies the controls, the probe endpoints, the indicator
// texts and the skin; the handlers below are the window's behaviour.
#pragma once

#include "controls/controlset.h"
#include "controls/formbuilder.h"
#include "formdefinition.h"
#include "probeentry.h"

#include <QWidget>

#include <array>
#include <memory>

class QLineEdit;
class QTimer;

namespace monitor {

class Form2;

class Form1 : public QWidget {
    Q_OBJECT
public:
    Form1(const forms::Program& program, const BuildOptions& options, QWidget* parent = nullptr);
    ~Form1() override;

    // Window life.
    void Form_Load();

    // Probe cycle.
    void ConnectAllProbes();
    void CloseAllProbes();
    void ResetIndicators();
    void Timer1_Timer();
    void Probe_Connect(int row);
    void Probe_Error(int row);
    void SrvUpdate_Connect() { Probe_Connect(0); }
    void SrvLogin_Connect() { Probe_Connect(1); }
    void SrvCharSelect_Connect() { Probe_Connect(2); }
    void SrvCh1_Connect() { Probe_Connect(3); }
    void SrvCh2_Connect() { Probe_Connect(4); }
    void SrvCh3_Connect() { Probe_Connect(5); }
    void SrvUpdate_Error() { Probe_Error(0); }
    void SrvLogin_Error() { Probe_Error(1); }
    void SrvCharSelect_Error() { Probe_Error(2); }
    void SrvCh1_Error() { Probe_Error(3); }
    void SrvCh2_Error() { Probe_Error(4); }
    void SrvCh3_Error() { Probe_Error(5); }

    // Tray summary request (programs with a ToolTipUpdater only).
    void UpdateToolTip();

    // Commands.
    void Command1_Click();

    // State, for the tray, the links and whoever inspects the window.
    int lTicks() const { return lTicks_; }
    const ControlSet& controls() const { return controls_; }
    const std::array<ProbeEntry, 6>& probes() const { return probes_; }
    const forms::Program& program() const { return program_; }
    Form2* form2() const { return form2_.get(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void writeCountdown();

    forms::Program program_;
    ControlSet controls_;
    std::array<ProbeEntry, 6> probes_{};
    std::unique_ptr<Form2> form2_;
    QPixmap skin_;
    QTimer* timer1_ = nullptr;
    QTimer* toolTipUpdater_ = nullptr; // absent in programs with a fixed tray title
    int lTicks_ = 0;
};

} // namespace monitor
