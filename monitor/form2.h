// The hidden second window: it exists only to carry the popup menu whose
// Exit item ends the program. It is never shown.
#pragma once

#include "forms/shared/formdefinition.h"

#include <QWidget>

class QMenu;

namespace monitor {

class Form2 : public QWidget {
    Q_OBJECT
public:
    explicit Form2(const forms::Form& definition, QWidget* parent = nullptr);

    QMenu* mnupopup() const { return mnupopup_; }

signals:
    void mnuExit_Click();

private:
    QMenu* mnupopup_ = nullptr;
};

} // namespace monitor
