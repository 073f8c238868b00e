// A D-Bus session bus of the test's own: a dbus-daemon listening in a
// temporary folder, that activates no service, gone with the object.
#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace testing_support {

class PrivateBus {
public:
    PrivateBus();
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    bool ok() const { return !address_.isEmpty(); }
    // DBUS_SESSION_BUS_ADDRESS for the processes that share it.
    const QString& address() const { return address_; }

private:
    QTemporaryDir dir_;
    QProcess daemon_;
    QString address_;
};

} // namespace testing_support
