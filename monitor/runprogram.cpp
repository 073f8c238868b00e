#include "monitor/runprogram.h"

#include "monitor/controls/twips.h"
#include "monitor/form1.h"
#include "monitor/platform/qt/displaysetup.h"
#include "monitor/platform/qt/qtmessagebox.h"

#include <QApplication>
#include <QScreen>

namespace monitor {

int runProgram(const forms::Program& program, int argc, char** argv,
               const BrowserFactory& browser) {
    qt::prepareDisplay(qPrintable(program.name.toLower()));
    QApplication app(argc, argv);
    QApplication::setApplicationName(program.name);
    QApplication::setApplicationVersion(program.fileVersion);
    QApplication::setQuitOnLastWindowClosed(false); // the tray keeps a hidden window alive
    installFontSubstitutes();
    qt::installMessageBox();

    BuildOptions options;
    options.twipsPerPixel = twipsPerPixel(QGuiApplication::primaryScreen());
    options.browserFactory = browser;
    Form1 form(program, Desktop::system(), options);
    form.Form_Load();
    form.show();
    return app.exec();
}

} // namespace monitor
