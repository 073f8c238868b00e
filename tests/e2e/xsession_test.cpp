// A private desktop is on an X server of its own, even where another server
// holds a display number without the files that would show it (no lock file,
// no socket file: only the abstract socket that clients try first).
#include "support/xsession.h"

#include <QFile>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// The process behind the abstract socket X clients connect to first.
qint64 serverBehind(const QString& display) {
    const QByteArray name = "/tmp/.X11-unix/X" + display.mid(1).toLatin1();
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name.constData(), size_t(name.size())); // abstract
    const socklen_t length = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    qint64 pid = -1;
    ucred peer{};
    socklen_t size = sizeof peer;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
        ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0)
        pid = peer.pid;
    ::close(fd);
    return pid;
}

TEST(XSession, TakesADisplayOfItsOwnEvenBesideAServerThatLeftNoFiles) {
    // Another server on :60, the first number a desktop used to choose,
    // listening on the abstract socket alone, its lock file gone.
    QProcess other;
    other.start("Xvfb", {":60", "-nolisten", "tcp", "-nolisten", "unix"});
    ASSERT_TRUE(other.waitForStarted());
    ASSERT_TRUE(QTest::qWaitFor([&] { return serverBehind(":60") == other.processId(); }, 5000))
        << "the other server did not come up (is :60 in use here?)";
    QFile::remove("/tmp/.X60-lock");
    {
        e2e::XSession x{{.windowManager = false}};
        ASSERT_TRUE(x.ok()) << qPrintable(x.error());
        EXPECT_EQ(serverBehind(x.display()), x.serverPid())
            << "clients of " << qPrintable(x.display()) << " reach another server";
    }
    other.terminate();
    other.waitForFinished(3000);
}

} // namespace
