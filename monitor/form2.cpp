#include "monitor/form2.h"

#include <QAction>
#include <QMenu>

namespace monitor {

Form2::Form2(const forms::Form& definition, const QString& exitItem, QWidget* parent)
    : QWidget(parent) {
    setObjectName(definition.name);
    setWindowTitle(definition.caption);
    for (const forms::Menu& m : definition.menus) {
        auto* menu = new QMenu(m.caption, this);
        menu->setObjectName(m.name);
        for (const forms::MenuItem& item : m.items) {
            QAction* action = menu->addAction(item.caption);
            action->setObjectName(item.name);
            action->setCheckable(item.checkable);
            if (item.name == exitItem)
                connect(action, &QAction::triggered, this, &Form2::mnuExit_Click);
        }
        if (!mnupopup_)
            mnupopup_ = menu;
    }
}

} // namespace monitor
