// The main window of both programs. It is generic: the program's definition
// (forms::Program) supplies the controls, the probe endpoints, the indicator
// texts, the tray tip, the skin and the embedded page; the handlers below are
// the window's behaviour. Desktop services come in through a Desktop and the
// embedded browser through a factory, so tests can record.
#pragma once

#include "forms/shared/formdefinition.h"
#include "graphics/dibsectionregion.h"
#include "graphics/stdpicture.h"
#include "monitor/controls/controlset.h"
#include "monitor/controls/formbuilder.h"
#include "monitor/controls/pictures.h"
#include "monitor/platform/desktop.h"
#include "monitor/platform/webbrowser.h"
#include "monitor/probeentry.h"

#include <QPoint>
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
    void mnuExit_Click() { ExitProgram(); }

    // Probe cycle.
    void ConnectAllProbes();
    void CloseAllProbes();
    void ResetIndicators();
    void Timer1_Timer();
    void Probe_Connect(int row);
    void Probe_Error(int row);

    // Tray.
    void FillTrayIcon();
    void UpdateToolTip();
    void ToolTipUpdater_Timer();
    void Form_MouseMove(double x); // the tray's callback carries the mouse message in x

    // Commands.
    void Command1_Click();
    void Command2_Click();
    void OpenLink(const QString& control); // Command3_Click .. Command7_Click
    void Command8_Click();
    void Text1_Click();
    void Text1_KeyPress(int& keyAscii);

    // State, for the tray, the links and whoever inspects the window.
    gdi::HWND hWnd();
    int lTicks() const { return lTicks_; }
    const QString& sToolTip() const { return sToolTip_; }
    const ControlSet& controls() const { return controls_; }
    const std::array<ProbeEntry, 6>& probes() const { return probes_; }
    Form2* form2() const { return form2_.get(); }
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
    void writeCountdown();
    void startPass(); // black indicators, then every probe closed and connected again
    void loadPage();  // the embedded page, where the program has one
    void wireCommands();
    void place();
    // True when a hidden window can come back through the tray icon; says
    // once on stderr when it cannot.
    bool trayShown();

    forms::Program program_;
    Desktop desktop_;
    ControlSet controls_;
    std::array<ProbeEntry, 6> probes_{};
    Pictures pictures_;
    QString skin_; // PicBackground's picture: the window's face, size and shape
    std::unique_ptr<Form2> form2_;
    std::unique_ptr<vell::StdPicture> picBackground_; // PicBackground's Picture object
    std::unique_ptr<vell::cDIBSectionRegion> cRegion_;
    std::unique_ptr<WebBrowser> webBrowser1_; // programs with an embedded page
    QTimer* timer1_ = nullptr;
    QTimer* toolTipUpdater_ = nullptr; // programs whose tray tip is the summary
    QLineEdit* text1_ = nullptr;
    int lTicks_ = 0;
    QString sToolTip_;
    double twipsPerPixel_ = 15.0;
    bool shownOnce_ = false;
    bool trayAdded_ = false;
    bool ended_ = false;
    bool manualDrag_ = false; // the window manager could not move the window
    bool noTraySaid_ = false;
    QPoint dragOffset_;
};

} // namespace monitor
