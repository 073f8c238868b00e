// A label that acts when clicked (the hide and close spots): it also takes the
// focus, shows a dotted mark while it has it, is pressed by Space, Return and
// Enter, and is a button with a press action to assistive technology.
#pragma once

#include "monitor/controls/labelcontrol.h"

namespace monitor {

class Hotspot : public LabelControl {
    Q_OBJECT
public:
    explicit Hotspot(QWidget* parent = nullptr);

    void press() { emit clicked(); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool spaceDown_ = false; // Space presses on release, as on a button
};

} // namespace monitor
