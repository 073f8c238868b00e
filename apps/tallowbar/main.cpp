// Tallowbar, the Vellmoor server-status ticker.
#include "controls/twips.h"
#include "form1.h"
#include "tallowbar.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tallowbar");
    QApplication::setApplicationVersion("2.00.0002");
    QApplication::setQuitOnLastWindowClosed(false);
    monitor::installFontSubstitutes();

    monitor::BuildOptions options;
    options.twipsPerPixel = monitor::twipsPerPixel(QGuiApplication::primaryScreen());
    monitor::Form1 form(forms::tallowbar(), options);
    QObject::connect(&form, &QObject::destroyed, &app, &QApplication::quit);
    form.Form_Load();
    form.show();
    return app.exec();
}
