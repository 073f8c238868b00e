// The tray menu's options and the change notifications they turn on.
#include "monitor/changealerts.h"
#include "monitor/form1.h"
#include "monitor/form2.h"
#include "monitor/trayicondata.h"
#include "monitor/trayoptions.h"

#include <QCoreApplication>
#include <QFile>

namespace monitor {

void Form1::makeTrayOptions() {
    if (desktop_.notices)
        // A click on a notification does what a click on the tray icon does.
        alerts_ =
            std::make_unique<ChangeAlerts>(program_, *cycle_, *desktop_.notices, *desktop_.tray,
                                           *tray_, [this] { Form_MouseMove(WM_LBUTTONDOWN); });
    QFile entry(program_.desktopEntry);
    QByteArray content;
    if (!program_.desktopEntry.isEmpty() && entry.open(QIODevice::ReadOnly))
        content = entry.readAll();
    StartAtLogin startAtLogin(StartAtLogin::userFolder(), program_.name.toLower() + ".desktop",
                              content, QCoreApplication::applicationFilePath());
    options_ = std::make_unique<TrayOptions>(program_, form2_->mnupopup(), alerts_.get(),
                                             std::move(startAtLogin), [this](const QString& text) {
                                                 desktop_.gdi->MessageBoxA(
                                                     hWnd(), text.toUtf8().constData(),
                                                     program_.name.toUtf8().constData(), 0);
                                             });
}

} // namespace monitor
