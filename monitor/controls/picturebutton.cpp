#include "monitor/controls/picturebutton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace monitor {

PictureButton::PictureButton(const QString& caption, const QPixmap& picture, QWidget* parent)
    : CommandButton(caption, parent), picture_(picture) {}

void PictureButton::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionButton face;
    initFace(&face);
    face.text.clear();
    face.icon = {};
    p.drawControl(QStyle::CE_PushButtonBevel, face);
    const int down = isDown() ? 1 : 0; // the face's content moves as it is pressed
    const QPoint at((width() - picture_.width()) / 2 + down, 1 + down);
    p.drawPixmap(at, picture_);
    const QRect below(0, at.y() + picture_.height(), width(), height());
    p.drawItemText(below.translated(down, 0), Qt::AlignHCenter | Qt::AlignTop, palette(),
                   isEnabled(), text(), QPalette::ButtonText);
}

} // namespace monitor
