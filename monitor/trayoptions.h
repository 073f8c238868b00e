// The tray menu's two checkable items, "Notify me of changes" and "Start at
// login", and where they are kept: the user's settings file and, for the
// second, the program's entry in the autostart folder. Both are read at
// start-up; a change that cannot be kept is said once and undone.
#pragma once

#include "forms/shared/formdefinition.h"
#include "monitor/startatlogin.h"

#include <QObject>

#include <functional>

class QAction;
class QMenu;

namespace monitor {

class ChangeAlerts;

class TrayOptions : public QObject {
    Q_OBJECT
public:
    // alerts may be null: notifying then stays off. say shows a message.
    TrayOptions(const forms::Program& program, QMenu* menu, ChangeAlerts* alerts,
                StartAtLogin startAtLogin, std::function<void(const QString&)> say);

    // The user's settings file: <config folder>/<Name>/<Name>.conf.
    static QString settingsFile(const forms::Program& program);

    QAction* notifyItem() const { return notify_; }
    QAction* startItem() const { return start_; }

private:
    void notifyChosen(bool on);
    void startChosen(bool on);
    QString keep(const QString& key, bool on); // empty when kept
    void refuse(QAction* item, const QString& why);

    QString settingsFile_;
    ChangeAlerts* alerts_;
    StartAtLogin startAtLogin_;
    std::function<void(const QString&)> say_;
    QAction* notify_ = nullptr;
    QAction* start_ = nullptr;
};

} // namespace monitor
