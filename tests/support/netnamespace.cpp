#include "support/netnamespace.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>

namespace testing_support {

bool loopbackOnlyNamespace() {
    QFile dev("/proc/net/dev");
    if (!dev.open(QIODevice::ReadOnly))
        return false;
    // Two header lines, then "  name: counters" per interface.
    const QStringList lines = QString::fromLatin1(dev.readAll()).split('\n', Qt::SkipEmptyParts);
    QStringList interfaces;
    for (const QString& line : lines.mid(2))
        interfaces << line.section(':', 0, 0).trimmed();
    return interfaces == QStringList{"lo"};
}

// A test cannot enter a namespace itself (it is one process among others in
// the suite's); it tells how. The scripts enter one in a single place,
// vell_isolated in tools/lib/private-session.sh: this is its command.
QString loopbackOnlySkipReason() {
    return "needs a private network namespace holding only loopback, its name server on "
           "loopback (tools/run-tests.sh gives the suite one, by vell_isolated)";
}

bool resolverOnLoopback() {
    QFile conf("/etc/resolv.conf");
    if (!conf.open(QIODevice::ReadOnly))
        return true; // glibc then asks 127.0.0.1
    for (const QString& line : QString::fromLatin1(conf.readAll()).split('\n')) {
        const QStringList fields =
            line.section('#', 0, 0).split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
        if (fields.size() > 1 && fields[0] == "nameserver" && !fields[1].startsWith("127.") &&
            fields[1] != "::1")
            return false;
    }
    return true;
}

bool localhostInHostsFile() {
    QFile hosts("/etc/hosts");
    if (!hosts.open(QIODevice::ReadOnly))
        return false;
    for (const QString& line : QString::fromLatin1(hosts.readAll()).split('\n')) {
        const QStringList fields =
            line.section('#', 0, 0).split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
        if (fields.size() > 1 && fields[0] == "127.0.0.1" && fields.mid(1).contains("localhost"))
            return true;
    }
    return false;
}

long long activeOpens() {
    QFile snmp("/proc/net/snmp");
    if (!snmp.open(QIODevice::ReadOnly))
        return -1;
    // "Tcp: <names>" is followed by "Tcp: <values>" in the same order.
    const QStringList lines = QString::fromLatin1(snmp.readAll()).split('\n');
    for (int i = 0; i + 1 < lines.size(); ++i) {
        if (!lines[i].startsWith("Tcp:") || !lines[i + 1].startsWith("Tcp:"))
            continue;
        const QStringList names = lines[i].split(' ', Qt::SkipEmptyParts);
        const QStringList values = lines[i + 1].split(' ', Qt::SkipEmptyParts);
        const qsizetype at = names.indexOf("ActiveOpens");
        if (at < 0 || at >= values.size())
            return -1;
        bool ok = false;
        const long long n = values[at].toLongLong(&ok);
        return ok ? n : -1;
    }
    return -1;
}

} // namespace testing_support
