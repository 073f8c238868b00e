#include "monitor/form1.h"

#include "monitor/controls/labelcontrol.h"
#include "monitor/controls/twips.h"
#include "monitor/controls/winsock.h"
#include "monitor/form2.h"

#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

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
    if (const forms::Control* background = program_.form1.find("PicBackground"))
        skin_ = background->picture;

    controls_ = buildControls(program_.form1, this, options, pictures_);
    form2_ = std::make_unique<Form2>(program_.form2);
    connect(form2_.get(), &Form2::mnuExit_Click, this, &Form1::mnuExit_Click);

    if (program_.probes.size() != probes_.size())
        throw std::logic_error("a program probes exactly six servers");
    for (size_t row = 0; row < probes_.size(); ++row) {
        const forms::Server& def = program_.probes[row];
        ProbeEntry& p = probes_[row];
        p.socket = controls_.get<Winsock>(def.socket);
        p.indicator = controls_.get<LabelControl>(def.indicator);
        p.upText = QString(program_.indicators.up).replace("%1", def.name);
        p.downText = QString(program_.indicators.down).replace("%1", def.name);
        p.spoken = def.spoken;
        // Colours are not everyone's: the state is also said in words.
        p.indicator->setAccessibleName(p.spoken + ": not checked yet");
        const int r = static_cast<int>(row);
        connect(p.socket, &Winsock::Connected, this, [this, r] { Probe_Connect(r); });
        connect(p.socket, &Winsock::Error, this, [this, r] { Probe_Error(r); });
    }

    timer1_ = controls_.get<QTimer>("Timer1");
    connect(timer1_, &QTimer::timeout, this, &Form1::Timer1_Timer);
    if (!program_.summaryTimer.isEmpty()) {
        toolTipUpdater_ = controls_.get<QTimer>(program_.summaryTimer);
        connect(toolTipUpdater_, &QTimer::timeout, this, &Form1::ToolTipUpdater_Timer);
    }
    if (!program_.page.browser.isEmpty()) {
        const forms::Control* c = program_.form1.find(program_.page.browser);
        if (!c || !options.browserFactory)
            throw std::logic_error("the program's embedded page needs a browser control");
        const auto px = [this](int twips) { return twipsToPixels(twips, twipsPerPixel_); };
        // Made last, so it lies over the controls it covers when shown.
        webBrowser1_ = options.browserFactory(
            this, QRect(px(c->left), px(c->top), px(c->width), px(c->height)));
    }
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
