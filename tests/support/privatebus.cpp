#include "privatebus.h"

#include <QFile>

namespace testing_support {

PrivateBus::PrivateBus() {
    QFile conf(dir_.filePath("bus.conf"));
    if (!dir_.isValid() || !conf.open(QIODevice::WriteOnly))
        return;
    // No service folders: nothing starts unless the test starts it.
    conf.write(QString("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration "
                       "1.0//EN\" \"http://www.freedesktop.org/standards/dbus/1.0/"
                       "busconfig.dtd\">\n"
                       "<busconfig><type>session</type><listen>unix:dir=%1</listen>"
                       "<auth>EXTERNAL</auth>"
                       "<policy context=\"default\"><allow send_destination=\"*\" "
                       "eavesdrop=\"true\"/><allow eavesdrop=\"true\"/><allow own=\"*\"/>"
                       "</policy></busconfig>\n")
                   .arg(dir_.path())
                   .toUtf8());
    conf.close();
    daemon_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    daemon_.start("dbus-daemon", {"--config-file=" + conf.fileName(), "--nofork", "--nopidfile",
                                  "--print-address"});
    if (daemon_.waitForReadyRead(10000))
        address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
}

PrivateBus::~PrivateBus() {
    if (daemon_.state() == QProcess::NotRunning)
        return;
    daemon_.terminate();
    if (!daemon_.waitForFinished(3000))
        daemon_.kill();
    daemon_.waitForFinished(1000);
}

} // namespace testing_support
