// A command button that carries a picture, drawn the way such buttons are:
// the picture centred at the top of the face and the caption under it. On a
// button too low for both (Refresh, 17 pixels) the picture is what shows;
// the caption stays the button's text and its accessible name.
#pragma once

#include "monitor/controls/commandbutton.h"

#include <QPixmap>

namespace monitor {

class PictureButton : public CommandButton {
    Q_OBJECT
public:
    PictureButton(const QString& caption, const QPixmap& picture, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap picture_;
};

} // namespace monitor
