#include "monitor/controls/commandbutton.h"

#include <QKeyEvent>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace monitor {

CommandButton::CommandButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent) {}

void CommandButton::keyPressEvent(QKeyEvent* event) {
    // A push button outside a dialog ignores Return; ours press at once, as
    // a dialog's buttons do.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && !(event->modifiers() & ~Qt::KeypadModifier)) {
        if (!event->isAutoRepeat())
            click();
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}

void CommandButton::initFace(QStyleOptionButton* face) const {
    initStyleOption(face);
    face->state &= ~QStyle::State_On;
}

void CommandButton::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionButton face;
    initFace(&face);
    p.drawControl(QStyle::CE_PushButton, face);
}

} // namespace monitor
