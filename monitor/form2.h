// The hidden second window: it exists only to carry the popup menu whose
// Exit item ends the program (the items above it are the tray options). It
// is never shown.
#pragma once

#include "forms/shared/formdefinition.h"

#include <QWidget>

class QMenu;

namespace monitor {

class Form2 : public QWidget {
    Q_OBJECT
public:
    // exitItem names the menu item whose click ends the program.
    Form2(const forms::Form& definition, const QString& exitItem, QWidget* parent = nullptr);

    QMenu* mnupopup() const { return mnupopup_; }

signals:
    void mnuExit_Click();

private:
    QMenu* mnupopup_ = nullptr;
};

} // namespace monitor
