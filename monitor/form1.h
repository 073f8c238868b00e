// The main window of both programs. It is generic: the program's definition
// (forms::Program) supplies the controls and their roles, the probe
// endpoints, the indicator texts, the tray tip, the skin, the links and the
// embedded page. The probe cycle and the tray presence are classes of their
// own that the window owns; their handlers here only pass the call on. Desktop
// services come in through a Desktop and the embedded browser through a
// factory, so tests can record.
#pragma once

#include "forms/shared/formdefinition.h"
#include "graphics/dibsectionregion.h"
#include "graphics/stdpicture.h"
#include "monitor/controls/controlset.h"
#include "monitor/controls/formbuilder.h"
#include "monitor/controls/pictures.h"
#include "monitor/platform/desktop.h"
#include "monitor/platform/webbrowser.h"
#include "monitor/probecycle.h"
#include "monitor/traypresence.h"

#include <QPoint>
#include <QRegion>
#include <QWidget>

#include <memory>

class QLineEdit;

namespace monitor {

class ChangeAlerts;
class Form2;
class TrayOptions;

class Form1 : public QWidget {
    Q_OBJECT
public:
    Form1(const forms::Program& program, const Desktop& desktop, const BuildOptions& options,
          QWidget* parent = nullptr);
    ~Form1() override;

    // Window life.
    void Form_Load();
    void Form_Activate();
    void Form_Resize();
    void Form_MouseDown(int button); // 1 left, 2 right, 4 middle
    void Form_Unload();
    void ExitProgram();
    void Label2_Click();
    void Label3_Click() { ExitProgram(); }
    // Hidden or minimised, the window comes back: shown, restored, raised and
    // given the keyboard. The tray icon's left press and a later start of the
    // program both come here.
    void bringBack();
    void mnuExit_Click() { ExitProgram(); }

    // Probe cycle.
    void ConnectAllProbes() { cycle_->connectAll(); }
    void CloseAllProbes() { cycle_->closeAll(); }
    void ResetIndicators() { cycle_->resetIndicators(); }
    void Timer1_Timer() { cycle_->tick(); }
    void Probe_Connect(int row) { cycle_->connected(row); }
    void Probe_Error(int row) { cycle_->failed(row); }

    // Tray.
    void FillTrayIcon() { tray_->fill(); }
    void UpdateToolTip() { tray_->requestSummary(); }
    void ToolTipUpdater_Timer() { tray_->rebuildSummary(); }
    void Form_MouseMove(double x); // the tray's callback carries the mouse message in x

    // Commands.
    void Command1_Click() { cycle_->refresh(); }
    void Command2_Click();
    void OpenLink(const QString& control); // the link buttons' click
    void Command8_Click();
    void Text1_Click();
    void Text1_KeyPress(int& keyAscii);

    // State, for whoever inspects the window.
    gdi::HWND hWnd();
    const ControlSet& controls() const { return controls_; }
    const ProbeCycle& cycle() const { return *cycle_; }
    const TrayPresence& tray() const { return *tray_; }
    Form2* form2() const { return form2_.get(); }
    ChangeAlerts* alerts() const { return alerts_.get(); } // null without a notifier
    TrayOptions* trayOptions() const { return options_.get(); }
    const vell::cDIBSectionRegion* region() const { return cRegion_.get(); }
    WebBrowser* webBrowser1() const { return webBrowser1_.get(); }
    bool ended() const { return ended_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void loadPage(); // the embedded page, where the program has one
    bool pageShown() const;
    // Only controls a user sees take the focus: inside the shape, not under the page.
    void followVisibleControls();
    void wireCommands();
    void makeTrayOptions(); // the tray menu's options and the change notifications
    void place();

    forms::Program program_;
    Desktop desktop_;
    ControlSet controls_;
    Pictures pictures_;
    QString skin_; // the picture control's picture: the window's face, size and shape
    std::unique_ptr<ProbeCycle> cycle_;
    std::unique_ptr<TrayPresence> tray_;
    std::unique_ptr<Form2> form2_;
    std::unique_ptr<ChangeAlerts> alerts_;
    std::unique_ptr<TrayOptions> options_;
    std::unique_ptr<vell::StdPicture> picBackground_; // the picture control's Picture object
    std::unique_ptr<vell::cDIBSectionRegion> cRegion_;
    QRegion shape_;                           // the region's pixels: what of the window shows
    std::unique_ptr<WebBrowser> webBrowser1_; // programs with an embedded page
    double parkedLeft_ = 0;                   // the browser's own left, outside the shape
    QLineEdit* text1_ = nullptr;
    double twipsPerPixel_ = forms::DesignTwipsPerPixel;
    bool shownOnce_ = false;
    bool ended_ = false;
    bool manualDrag_ = false; // the window manager could not move the window
    QPoint dragOffset_;
};

} // namespace monitor
