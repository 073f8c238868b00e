#include "monitor/controls/labelcontrol.h"

#include <QMouseEvent>

namespace monitor {

QColor toQColor(forms::Colour c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

LabelControl::LabelControl(QWidget* parent) : QLabel(parent) {}

void LabelControl::setForeColor(forms::Colour colour) {
    foreColor_ = colour;
    QPalette p = palette();
    p.setColor(QPalette::WindowText, toQColor(colour));
    setPalette(p);
}

void LabelControl::setBackColor(forms::Colour colour) {
    QPalette p = palette();
    p.setColor(QPalette::Window, toQColor(colour));
    setPalette(p);
    setAutoFillBackground(true);
}

void LabelControl::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void LabelControl::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click)
        emit clicked();
}

} // namespace monitor
