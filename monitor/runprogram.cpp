#include "monitor/runprogram.h"

#include "monitor/application.h"
#include "monitor/controls/twips.h"
#include "monitor/form1.h"
#include "monitor/platform/dbus/desktopnotifications.h"
#include "monitor/platform/dbus/singleinstance.h"
#include "monitor/platform/qt/displayname.h"
#include "monitor/platform/qt/displaysetup.h"
#include "monitor/platform/qt/qtdesktop.h"
#include "monitor/platform/qt/qtmessagebox.h"
#include "monitor/runonce.h"

#include <QScreen>

namespace monitor {

int runProgram(const forms::Program& program, int argc, char** argv,
               const BrowserFactory& browser) {
    const QByteArray name = program.name.toLower().toLocal8Bit();
    qt::prepareDisplay(name.constData());
    if (!qt::displayReachable(name.constData()))
        return 1;
    QStringList arguments; // as started: the application takes Qt's options out
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    Application app(argc, argv);
    QApplication::setApplicationName(program.name);
    QApplication::setApplicationVersion(program.fileVersion);
    QApplication::setQuitOnLastWindowClosed(false); // the tray keeps a hidden window alive
    installFontSubstitutes();
    qt::installMessageBox();

    BuildOptions options;
    options.twipsPerPixel = twipsPerPixel(QGuiApplication::primaryScreen());
    options.browserFactory = browser;
    dbus::SingleInstance instance(program.name,
                                  qt::sharedDisplay(QGuiApplication::platformName(), arguments));
    const qt::SystemDesktop system; // after the application, and gone before it
    Desktop desktop = system.desktop();
    const QString entry = program.name.toLower(); // the installed icon and desktop entry
    dbus::DesktopNotifications notices(program.name, entry, entry);
    desktop.notices = &notices;
    return runOnce(program, desktop, instance, options,
                   [&app](Form1& form) { app.endOnSignals([&form] { form.ExitProgram(); }); });
}

} // namespace monitor
