// One copy per user and display over the D-Bus session bus: the copy that runs
// owns a well-known name made of the program and the display, and a later
// start calls its Activate method. The bus daemon drops a name when its owner's
// connection ends, so a copy that crashed leaves nothing behind.
#pragma once

#include "monitor/platform/instance.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>

namespace monitor::dbus {

inline constexpr const char* InstanceInterface = "example.marrowdell.Instance";

// "example.marrowdell.Tallowbar.display_1" for Tallowbar on ":1": what the
// display's name holds beyond letters and digits becomes '_', as bus names
// allow no more.
QString busName(const QString& program, const QString& display);
QString objectPath(const QString& program);

class SingleInstance final : public QObject, public InstanceService {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "example.marrowdell.Instance")
public:
    // On the session bus; a display that is empty means no check (a platform
    // with no display a user shares). answerWaitMs: how long a later start
    // waits for the running copy's answer.
    SingleInstance(const QString& program, const QString& display, int answerWaitMs = 10000);
    SingleInstance(const QDBusConnection& bus, const QString& program, const QString& display,
                   int answerWaitMs = 10000);
    ~SingleInstance() override;
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    Claim claim() override;
    void onComeBack(std::function<void()> comeBack) override;

    const QString& name() const { return name_; }

public slots:
    // A later start asks this copy to come back.
    Q_SCRIPTABLE void Activate();

private:
    bool askRunningCopy(); // true when it answered
    void say(const QString& what) const;

    QDBusConnection bus_;
    QString program_;
    QString display_;
    QString name_;
    QString path_;
    int answerWaitMs_;
    std::function<void()> comeBack_;
    bool requested_ = false; // asked before anyone was there to come back
    bool registered_ = false;
    bool held_ = false;
};

} // namespace monitor::dbus
