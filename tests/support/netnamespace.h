// What a test can learn about the network namespace it runs in. Connection
// attempts are counted by the kernel per namespace, so counts are only exact
// in a private one that holds nothing but loopback (unshare -rn, lo up).
#pragma once

#include <QString>

namespace testing_support {

// True when /proc/net/dev lists the loopback interface and nothing else.
bool loopbackOnlyNamespace();
// The message a test skips with outside such a namespace.
QString loopbackOnlySkipReason();
// True when every name server /etc/resolv.conf names is on loopback (none
// named means 127.0.0.1), so a lookup the hosts file cannot answer connects
// nowhere past loopback. The suite's namespace arranges it.
bool resolverOnLoopback();
// True when /etc/hosts maps localhost to 127.0.0.1, so looking the name up
// needs no name server.
bool localhostInHostsFile();
// Tcp ActiveOpens from /proc/net/snmp: connect(2) calls that sent a SYN. -1 if unreadable.
long long activeOpens();

} // namespace testing_support
