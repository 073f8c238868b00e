// The main window's life: start-up, placement, dragging, hiding, coming back
// from the tray and the end.
#include "monitor/controls/twips.h"
#include "monitor/form1.h"
#include "monitor/form2.h"
#include "monitor/regionpixels.h"
#include "monitor/trayicondata.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace monitor {

void Form1::Form_Load() {
    picBackground_ = std::make_unique<vell::StdPicture>(pictures_.image(skin_), *desktop_.gdi);
    // The window takes the picture's exact size (its pixels, not the
    // picture's HIMETRIC numbers read as twips).
    resize(picBackground_->widthPixels(), picBackground_->heightPixels());
    setFixedSize(size()); // one size: the window manager offers no resizing or maximising
    {
        vell::cDIBSection dib(*desktop_.gdi);
        dib.CreateFromPicture(*picBackground_);
        if (!cRegion_)
            cRegion_ = std::make_unique<vell::cDIBSectionRegion>(*desktop_.gdi);
        cRegion_->Create(dib, 0);
        cRegion_->setApplied(hWnd(), true);
        shape_ = regionPixels(*desktop_.gdi, cRegion_->hRgn());
        // The skin is the window's background (paintEvent), drawn at 0, 0.
        desktop_.windows->SetWindowPos(hWnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        FillTrayIcon();
        tray_->attach([this](std::uint32_t message) { Form_MouseMove(message); },
                      form2_->mnupopup());
        place();
        ConnectAllProbes();
        UpdateToolTip();
        cycle_->showCountdown();
        loadPage(); // parked outside the shape, the page loads out of sight
    }               // the surface goes here; the region keeps what it needs
    // The focus starts on the lowest tab index that a user can see.
    followVisibleControls();
    if (QWidget* first = controls_.tabChain().first())
        first->setFocus();
}

void Form1::followVisibleControls() {
    if (!cRegion_)
        return; // not loaded: no shape yet, and the chain stays as built
    QRegion covered;
    if (pageShown()) {
        QRect page = program_.form1.get(program_.page.browser).pixelRect(twipsPerPixel_);
        page.moveLeft(program_.page.shownLeft);
        covered = page;
    }
    controls_.tabChain().show(shape_, covered);
}

void Form1::place() {
    const QScreen* s = screen();
    const QRect screenRect = s ? s->geometry() : QRect(0, 0, 800, 600);
    const int screenW = pixelsToTwips(screenRect.width(), twipsPerPixel_);
    const int screenH = pixelsToTwips(screenRect.height(), twipsPerPixel_);
    const int width = pixelsToTwips(this->width(), twipsPerPixel_);
    const int height = pixelsToTwips(this->height(), twipsPerPixel_);
    const int top = screenH - height - 450;
    const int left = screenW - width;
    // At a fractional scale the screen's width in our pixels is not whole and
    // Qt rounds it up: keep the right edge on the screen's last device pixel.
    const double scale = s ? s->devicePixelRatio() : 1.0;
    const double deviceWidth = std::floor(screenRect.width() * scale + 1e-6);
    const int lastFit = int(std::floor(deviceWidth / scale + 1e-6)) - this->width();
    move(screenRect.left() + std::min(twipsToPixels(left, twipsPerPixel_), lastFit),
         screenRect.top() + twipsToPixels(top, twipsPerPixel_));
}

void Form1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!shownOnce_) {
        // The first activation comes right after the first show, whether or
        // not the window manager gives the window the focus.
        shownOnce_ = true;
        Form_Activate();
    }
}

bool Form1::event(QEvent* event) {
    // An activation still queued when the window was unloaded must not put
    // the icon back: nothing would take it away again.
    if (event->type() == QEvent::WindowActivate && shownOnce_ && !ended_)
        Form_Activate();
    return QWidget::event(event);
}

void Form1::Form_Activate() {
    tray_->add();
}

void Form1::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
}

void Form1::Form_Resize() {
    if (!(windowState() & Qt::WindowMinimized) || !tray_->canBringBack())
        return; // without a notification area it stays minimised, on the taskbar
    // Hiding inside the state change can be undone by the platform finishing
    // it: hide once the event loop is back.
    QTimer::singleShot(0, this, [this] {
        if (windowState() & Qt::WindowMinimized)
            hide(); // it stays minimised until the tray shows it again
    });
}

void Form1::mousePressEvent(QMouseEvent* event) {
    const int button = event->button() == Qt::LeftButton     ? 1
                       : event->button() == Qt::RightButton  ? 2
                       : event->button() == Qt::MiddleButton ? 4
                                                             : 0;
    dragOffset_ = event->globalPosition().toPoint() - pos();
    Form_MouseDown(button);
}

void Form1::Form_MouseDown(int button) {
    if (button != 1)
        return;
    desktop_.windows->ReleaseCapture();
    const auto moved = desktop_.windows->SendMessageA(hWnd(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
    manualDrag_ = moved == 0; // no window manager move: follow the mouse ourselves
}

void Form1::mouseMoveEvent(QMouseEvent* event) {
    if (manualDrag_ && (event->buttons() & Qt::LeftButton))
        move(event->globalPosition().toPoint() - dragOffset_);
}

void Form1::mouseReleaseEvent(QMouseEvent*) {
    manualDrag_ = false;
}

void Form1::Label2_Click() {
    if (tray_->canBringBack())
        setVisible(false);
    else
        showMinimized(); // a way back that needs no tray: the taskbar
}

void Form1::Form_Unload() {
    tray_->remove();
}

void Form1::Form_MouseMove(double x) {
    if (std::lround(x) == WM_LBUTTONDOWN)
        bringBack();
}

void Form1::bringBack() {
    if (ended_)
        return;
    // A window minimised while no tray host ran stays visible, minimised on
    // the taskbar: it comes back as well as a hidden one.
    if (windowState() & Qt::WindowMinimized)
        setWindowState(windowState() & ~Qt::WindowMinimized);
    if (!isVisible())
        setVisible(true);
    desktop_.windows->SetForegroundWindow(hWnd());
}

void Form1::closeEvent(QCloseEvent* event) {
    // Unloading the main window ends the program, whoever asked for it.
    Form_Unload();
    event->accept();
    ended_ = true;
    cycle_->stop();
    tray_->stop();
    QCoreApplication::exit(0); // the loop ends once the handler that closed us returns
}

void Form1::ExitProgram() {
    CloseAllProbes();
    close(); // unloads Form1: its unload removes the tray icon and ends the program
    form2_->close();
}

} // namespace monitor
