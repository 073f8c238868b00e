#include "monitor/trayoptions.h"

#include "monitor/changealerts.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QSettings>
#include <QSignalBlocker>
#include <QStandardPaths>

namespace monitor {
namespace {

const QString NotifyKey = QStringLiteral("notifyOfChanges");
const QString StartKey = QStringLiteral("startAtLogin");

void setQuietly(QAction* item, bool on) {
    const QSignalBlocker quiet(item);
    item->setChecked(on);
}

} // namespace

QString TrayOptions::settingsFile(const forms::Program& program) {
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(config).filePath(program.name + '/' + program.name + ".conf");
}

TrayOptions::TrayOptions(const forms::Program& program, QMenu* menu, ChangeAlerts* alerts,
                         StartAtLogin startAtLogin, std::function<void(const QString&)> say)
    : settingsFile_(settingsFile(program)), alerts_(alerts), startAtLogin_(std::move(startAtLogin)),
      say_(std::move(say)) {
    if (!menu)
        return;
    if (!program.roles.notifyItem.isEmpty())
        notify_ = menu->findChild<QAction*>(program.roles.notifyItem);
    if (!program.roles.startItem.isEmpty())
        start_ = menu->findChild<QAction*>(program.roles.startItem);
    const QSettings settings(settingsFile_, QSettings::IniFormat);
    if (notify_) {
        const bool on = alerts_ && settings.value(NotifyKey, false).toBool();
        setQuietly(notify_, on);
        if (alerts_)
            alerts_->setEnabled(on);
        connect(notify_, &QAction::triggered, this, &TrayOptions::notifyChosen);
    }
    if (start_) {
        // The folder decides: an entry removed by hand is off, whatever the
        // setting says; read again whenever the menu opens.
        setQuietly(start_, startAtLogin_.present());
        connect(start_, &QAction::triggered, this, &TrayOptions::startChosen);
        connect(menu, &QMenu::aboutToShow, this,
                [this] { setQuietly(start_, startAtLogin_.present()); });
    }
}

QString TrayOptions::keep(const QString& key, bool on) {
    QSettings settings(settingsFile_, QSettings::IniFormat);
    settings.setValue(key, on);
    settings.sync();
    if (settings.status() == QSettings::NoError)
        return {};
    return QString("cannot write %1").arg(settingsFile_);
}

void TrayOptions::refuse(QAction* item, const QString& why) {
    setQuietly(item, !item->isChecked());
    if (say_)
        say_(QString("\"%1\" could not be kept: %2.").arg(item->text(), why));
}

void TrayOptions::notifyChosen(bool on) {
    if (!alerts_)
        return refuse(notify_, "this program has no way to send notifications");
    if (const QString failed = keep(NotifyKey, on); !failed.isEmpty())
        return refuse(notify_, failed);
    alerts_->setEnabled(on);
}

void TrayOptions::startChosen(bool on) {
    if (const QString failed = on ? startAtLogin_.enable() : startAtLogin_.disable();
        !failed.isEmpty())
        return refuse(start_, failed);
    if (const QString failed = keep(StartKey, on); !failed.isEmpty()) {
        // Entry and setting go together: undo the entry.
        if (on)
            startAtLogin_.disable();
        else
            startAtLogin_.enable();
        return refuse(start_, failed);
    }
}

} // namespace monitor
