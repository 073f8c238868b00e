#include "monitor/platform/qt/qtmessagebox.h"

#include "graphics/platform/qt/qtgdi.h"

#include <QMessageBox>

namespace monitor::qt {

void installMessageBox() {
    gdi::qt::QtGdi::setMessageBoxPresenter([](const QString& text, const QString& caption) {
        QMessageBox::information(nullptr, caption, text, QMessageBox::Ok);
        return gdi::IDOK;
    });
}

} // namespace monitor::qt
