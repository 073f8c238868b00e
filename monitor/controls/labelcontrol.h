// A label drawn on the form's surface: a caption, a text colour given as
// 0x00BBGGRR, and a click on release. It takes mouse presses itself, so a
// press on a label never reaches the form underneath (no drag from a label).
#pragma once

#include "forms/shared/formdefinition.h"

#include <QLabel>

namespace monitor {

class LabelControl : public QLabel {
    Q_OBJECT
public:
    explicit LabelControl(QWidget* parent = nullptr);

    QString caption() const { return text(); }
    void setCaption(const QString& caption) { setText(caption); }
    forms::Colour foreColor() const { return foreColor_; }
    void setForeColor(forms::Colour colour);
    void setBackColor(forms::Colour colour);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    forms::Colour foreColor_ = 0;
    bool pressed_ = false;
};

QColor toQColor(forms::Colour colour);

} // namespace monitor
