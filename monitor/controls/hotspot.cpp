#include "monitor/controls/hotspot.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QPainter>

#include <utility>

namespace monitor {
namespace {

// What a screen reader finds: a button whose first action presses it.
class HotspotAccessible : public QAccessibleWidget {
public:
    explicit HotspotAccessible(Hotspot* spot) : QAccessibleWidget(spot, QAccessible::Button) {}

    QStringList actionNames() const override {
        return QStringList(pressAction()) << QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == pressAction())
            static_cast<Hotspot*>(widget())->press();
        else
            QAccessibleWidget::doAction(action);
    }
    QStringList keyBindingsForAction(const QString& action) const override {
        return action == pressAction() ? QStringList("Space")
                                       : QAccessibleWidget::keyBindingsForAction(action);
    }
};

QAccessibleInterface* hotspotAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String(Hotspot::staticMetaObject.className()))
        return new HotspotAccessible(static_cast<Hotspot*>(object));
    return nullptr;
}

} // namespace

Hotspot::Hotspot(QWidget* parent) : LabelControl(parent) {
    static const bool installed = [] {
        QAccessible::installFactory(hotspotAccessible);
        return true;
    }();
    (void)installed;
    setFocusPolicy(Qt::StrongFocus);
}

void Hotspot::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() & ~Qt::KeypadModifier)
        return LabelControl::keyPressEvent(event);
    switch (event->key()) {
    case Qt::Key_Space:
        spaceDown_ = true;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!event->isAutoRepeat())
            press();
        break;
    default:
        return LabelControl::keyPressEvent(event);
    }
    event->accept();
}

void Hotspot::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Space || event->isAutoRepeat())
        return LabelControl::keyReleaseEvent(event);
    event->accept();
    if (std::exchange(spaceDown_, false))
        press();
}

void Hotspot::focusOutEvent(QFocusEvent* event) {
    spaceDown_ = false;
    LabelControl::focusOutEvent(event);
}

void Hotspot::paintEvent(QPaintEvent* event) {
    LabelControl::paintEvent(event);
    if (!hasFocus())
        return;
    // In the text's colour: red on the ticker's black, dark on the parchment.
    QPainter p(this);
    p.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace monitor
