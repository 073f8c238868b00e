// A command button as a keyboard user expects one: Space, Return and Enter
// press it. A checkable one (a toggle) tells assistive technology its state
// but keeps the face of a plain button.
#pragma once

#include <QPushButton>

class QStyleOptionButton;

namespace monitor {

class CommandButton : public QPushButton {
    Q_OBJECT
public:
    explicit CommandButton(const QString& caption, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    // The face as drawn: the button's options without the checked state.
    void initFace(QStyleOptionButton* face) const;
};

} // namespace monitor
