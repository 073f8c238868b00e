// Tallowbar, the Vellmoor server-status ticker.
#include "forms/tallowbar.h"
#include "monitor/controls/twips.h"
#include "monitor/form1.h"
#include "monitor/platform/qt/displaysetup.h"
#include "monitor/platform/qt/qtmessagebox.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char** argv) {
    monitor::qt::prepareDisplay("tallowbar");
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tallowbar");
    QApplication::setApplicationVersion("2.00.0002");
    QApplication::setQuitOnLastWindowClosed(false); // the tray keeps a hidden window alive
    monitor::installFontSubstitutes();
    monitor::qt::installMessageBox();

    monitor::BuildOptions options;
    options.twipsPerPixel = monitor::twipsPerPixel(QGuiApplication::primaryScreen());
    monitor::Form1 form(forms::tallowbar(), monitor::Desktop::system(), options);
    form.Form_Load();
    form.show();
    return app.exec();
}
