#include "monitor/form1.h"

#include "monitor/changealerts.h"
#include "monitor/form2.h"
#include "monitor/trayoptions.h"

#include <QPainter>

#include <stdexcept>

namespace monitor {

Form1::Form1(const forms::Program& program, const Desktop& desktop, const BuildOptions& options,
             QWidget* parent)
    // Frameless, and made on top from the start: Qt replaces a native window
    // whose on-top hint changes later, and the region and the tray record hold
    // this window's handle. A visible window has its taskbar entry; hidden, it
    // has none, and the tray icon brings it back.
    : QWidget(parent, Qt::FramelessWindowHint | Qt::Window | Qt::WindowStaysOnTopHint),
      program_(program), desktop_(desktop), twipsPerPixel_(options.twipsPerPixel) {
    setObjectName(program_.form1.name);
    setWindowTitle(program_.form1.caption);
    setFont(toQFont(program_.form1.font));
    if (!program_.form1.icon.isEmpty())
        setWindowIcon(QIcon(pictures_.pixmap(program_.form1.icon)));
    skin_ = program_.form1.get(program_.roles.picture).picture;

    controls_ = buildControls(program_.form1, this, options, pictures_,
                              {program_.roles.hide, program_.roles.close});
    cycle_ = std::make_unique<ProbeCycle>(program_, controls_);
    tray_ = std::make_unique<TrayPresence>(program_, controls_, *desktop_.tray, *this, *cycle_);
    // Every tick and Refresh asks for a fresh summary; a timed pass reloads
    // the page, shown or parked.
    connect(cycle_.get(), &ProbeCycle::advanced, this, &Form1::UpdateToolTip);
    connect(cycle_.get(), &ProbeCycle::timedPass, this, &Form1::loadPage);
    form2_ = std::make_unique<Form2>(program_.form2, program_.roles.exitItem);
    connect(form2_.get(), &Form2::mnuExit_Click, this, &Form1::mnuExit_Click);
    makeTrayOptions();

    if (!program_.page.browser.isEmpty()) {
        const forms::Control* c = program_.form1.find(program_.page.browser);
        if (!c || !options.browserFactory)
            throw std::logic_error("the program's embedded page needs a browser control");
        const QRect at = c->pixelRect(twipsPerPixel_);
        parkedLeft_ = at.left();
        // Made last, so it lies over the controls it covers when shown.
        webBrowser1_ = options.browserFactory(this, at, *desktop_.urls);
        webBrowser1_->setToggle(controls_.find<QWidget>(program_.roles.logToggle));
    }
    // Named once the page's host is made: naming makes the window's
    // accessible node, and the host gives the window one of its own.
    setAccessibleName(program_.name); // the caption is what the definition says
    wireCommands();
}

Form1::~Form1() = default;

gdi::HWND Form1::hWnd() {
    return gdi::HWND(winId());
}

void Form1::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawPixmap(0, 0, pictures_.pixmap(skin_));
}

} // namespace monitor
