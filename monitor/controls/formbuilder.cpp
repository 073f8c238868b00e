#include "monitor/controls/formbuilder.h"

#include "monitor/controls/commandbutton.h"
#include "monitor/controls/hotspot.h"
#include "monitor/controls/labelcontrol.h"
#include "monitor/controls/picturebutton.h"
#include "monitor/controls/pictures.h"
#include "monitor/controls/twips.h"
#include "monitor/controls/winsock.h"

#include <QFont>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

namespace monitor {
namespace {

Qt::Alignment toQt(forms::Alignment a) {
    switch (a) {
    case forms::Alignment::Right:
        return Qt::AlignRight | Qt::AlignTop;
    case forms::Alignment::Center:
        return Qt::AlignHCenter | Qt::AlignTop;
    case forms::Alignment::Left:
        break;
    }
    return Qt::AlignLeft | Qt::AlignTop;
}

QWidget* makeLabel(const forms::Control& c, QWidget* parent, bool hotspot) {
    auto* label = hotspot ? new Hotspot(parent) : new LabelControl(parent);
    label->setCaption(c.text);
    label->setAlignment(toQt(c.alignment));
    if (c.foreColor)
        label->setForeColor(*c.foreColor);
    if (c.backColor && !c.transparent)
        label->setBackColor(*c.backColor);
    if (!hotspot)
        label->setFocusPolicy(Qt::NoFocus);
    return label;
}

QWidget* makeButton(const forms::Control& c, QWidget* parent, Pictures& pictures) {
    auto* button = c.picture.isEmpty()
                       ? new CommandButton(c.text, parent)
                       : new PictureButton(c.text, pictures.pixmap(c.picture), parent);
    if (c.backColor) {
        QPalette p = button->palette();
        p.setColor(QPalette::Button, toQColor(*c.backColor));
        button->setPalette(p);
    }
    button->setFocusPolicy(Qt::StrongFocus);
    return button;
}

QWidget* makePicture(const forms::Control& c, QWidget* parent, Pictures& pictures) {
    // A label control: it takes its own mouse presses, so a press on the
    // picture box never drags the window.
    auto* picture = new LabelControl(parent);
    picture->setPixmap(pictures.pixmap(c.picture));
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picture->setFocusPolicy(Qt::TabFocus);
    return picture;
}

QObject* makeControl(const forms::Control& c, QWidget* parent, Pictures& pictures,
                     const QStringList& hotspots) {
    switch (c.kind) {
    case forms::ControlKind::Label:
        return makeLabel(c, parent, hotspots.contains(c.name));
    case forms::ControlKind::CommandButton:
        return makeButton(c, parent, pictures);
    case forms::ControlKind::TextBox:
        return new QLineEdit(c.text, parent);
    case forms::ControlKind::PictureBox:
        return makePicture(c, parent, pictures);
    case forms::ControlKind::WebBrowser:
        return nullptr;
    case forms::ControlKind::Timer: {
        auto* timer = new QTimer(parent);
        timer->setInterval(c.interval);
        if (c.enabled)
            timer->start();
        return timer;
    }
    case forms::ControlKind::Winsock: {
        auto* socket = new Winsock(parent);
        socket->RemoteHost = c.remoteHost;
        socket->RemotePort = c.remotePort;
        return socket;
    }
    }
    return nullptr;
}

// What a screen reader says of a control: its hover text as the description,
// and as the name too where the face says nothing in words (a hotspot, "--",
// the close "X", a text box).
void describe(QWidget* w, const forms::Control& c) {
    w->setAccessibleDescription(c.toolTip);
    const bool words =
        std::count_if(c.text.begin(), c.text.end(), [](QChar ch) { return ch.isLetter(); }) > 1;
    if (c.kind == forms::ControlKind::TextBox || !words)
        w->setAccessibleName(c.toolTip);
}

void placeWidget(QWidget* w, const forms::Control& c, double perPixel) {
    w->setGeometry(c.pixelRect(perPixel));
    if (c.font)
        w->setFont(toQFont(*c.font));
    if (!c.toolTip.isEmpty())
        w->setToolTip(c.toolTip);
    describe(w, c);
    w->show();
}

} // namespace

QFont toQFont(const forms::Font& f) {
    QFont font(f.face);
    font.setPointSizeF(f.points);
    font.setWeight(f.weight >= 700 ? QFont::Bold : QFont::Normal);
    if (f.face.contains("Serif"))
        font.setStyleHint(QFont::Serif);
    return font;
}

ControlSet buildControls(const forms::Form& form, QWidget* parent, const BuildOptions& options,
                         Pictures& pictures, const QStringList& hotspots) {
    ControlSet set;
    for (const forms::Control& c : form.controls) {
        QObject* control = makeControl(c, parent, pictures, hotspots);
        if (!control)
            continue;
        control->setObjectName(c.name);
        set.add(c.name, control);
        if (auto* w = qobject_cast<QWidget*>(control)) {
            placeWidget(w, c, options.twipsPerPixel);
            if (w->focusPolicy() != Qt::NoFocus)
                set.tabChain().add(c.tabIndex, w);
        }
    }
    set.tabChain().link();
    return set;
}

void installFontSubstitutes() {
    // DejaVu Serif ships with every Debian desktop (fonts-dejavu-core) and stays
    // legible at the 8 pixels a 6-point face gets; Liberation Serif is next.
    QFont::insertSubstitutions("MS Serif", {"DejaVu Serif", "Liberation Serif", "Serif"});
    // Liberation Sans has Arial's widths, the nearest to MS Sans Serif's: the
    // panel's longest indicator, "Character Select: Active", fits its label.
    QFont::insertSubstitutions("MS Sans Serif", {"Liberation Sans", "DejaVu Sans", "Sans"});
}

} // namespace monitor
