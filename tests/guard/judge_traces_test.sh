#!/usr/bin/env bash
# The loopback guard's judge on traces written as strace writes them: what it
# lets pass, what it refuses, and how it counts attempts.
set -euo pipefail
guard=$(dirname "$(readlink -f "$0")")/loopback_guard.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# judge EXPECTED(pass|fail) WHAT [ENGINE] < trace
judge() {
    local expected=$1 what=$2 out status=0
    cat >"$work/t.trace"
    out=$("$guard" --inspect "$work/t.trace" prog "${3:-0}") || status=$?
    if { [ "$expected" = pass ] && [ $status -ne 0 ]; } ||
        { [ "$expected" = fail ] && [ $status -eq 0 ]; }; then
        echo "FAIL: $what: expected $expected, got status $status"
        echo "$out"
        failures=$((failures + 1))
    fi
    printf '%s\n' "$out" >"$work/out"
}
counts_are() { # V4 V6 UNIX
    grep -q "prog *$1 IPv4 loopback, $2 IPv6 loopback, $3 AF_UNIX" "$work/out" || {
        echo "FAIL: counts: $(cat "$work/out")"
        failures=$((failures + 1))
    }
}

judge pass "a probe pass, asked again for its outcome; X11; a failed nscd passwd lookup" <<'EOF'
100 connect(3, {sa_family=AF_UNIX, sun_path=@"/tmp/.X11-unix/X0"}, 20) = 0
100 connect(5, {sa_family=AF_UNIX, sun_path="/var/run/nscd/socket"}, 110) = -1 ENOENT (No such file or directory)
100 openat(AT_FDCWD, "/etc/passwd", O_RDONLY|O_CLOEXEC) = 5
100 socket(AF_INET, SOCK_STREAM|SOCK_CLOEXEC|SOCK_NONBLOCK, IPPROTO_TCP) = 8
100 connect(8, {sa_family=AF_INET, sin_port=htons(80), sin_addr=inet_addr("127.80.0.1")}, 16) = -1 EINPROGRESS (Operation now in progress)
100 connect(8, {sa_family=AF_INET, sin_port=htons(80), sin_addr=inet_addr("127.80.0.1")}, 16) = 0
100 socket(AF_INET, SOCK_STREAM|SOCK_CLOEXEC|SOCK_NONBLOCK, IPPROTO_TCP) = 9
101 socket(AF_INET6, SOCK_STREAM|SOCK_CLOEXEC|SOCK_NONBLOCK, IPPROTO_TCP) = 4
100 connect(9, {sa_family=AF_INET, sin_port=htons(29000), sin_addr=inet_addr("127.29.0.1")}, 16 <unfinished ...>
101 connect(4, {sa_family=AF_INET6, sin6_port=htons(29000), sin6_flowinfo=htonl(0), inet_pton(AF_INET6, "::1", &sin6_addr), sin6_scope_id=0}, 28) = -1 ECONNREFUSED (Connection refused)
100 <... connect resumed>) = -1 EINPROGRESS (Operation now in progress)
100 connect(9, {sa_family=AF_INET, sin_port=htons(29000), sin_addr=inet_addr("127.29.0.1")}, 16) = -1 ECONNREFUSED (Connection refused)
100 sendto(4, "\x14\x00\x00\x00\x16\x00\x01\x03", 20, 0, {sa_family=AF_NETLINK, nl_pid=0, nl_groups=00000000}, 12) = 20
EOF
counts_are 2 1 2
grep -qx "127.80.0.1:80 1" "$work/t.trace.attempts" && grep -qx "127.29.0.1:29000 1" "$work/t.trace.attempts" ||
    { echo "FAIL: attempts per endpoint: $(cat "$work/t.trace.attempts")"; failures=$((failures + 1)); }

judge pass "an abandoned attempt's descriptor reused by a new socket counts again" <<'EOF'
100 socket(AF_INET, SOCK_STREAM|SOCK_CLOEXEC|SOCK_NONBLOCK, IPPROTO_TCP) = 8
100 connect(8, {sa_family=AF_INET, sin_port=htons(80), sin_addr=inet_addr("127.80.0.1")}, 16) = -1 EINPROGRESS (Operation now in progress)
100 socket(AF_INET, SOCK_STREAM|SOCK_CLOEXEC|SOCK_NONBLOCK, IPPROTO_TCP) = 8
100 connect(8, {sa_family=AF_INET, sin_port=htons(80), sin_addr=inet_addr("127.80.0.1")}, 16) = -1 EINPROGRESS (Operation now in progress)
EOF
counts_are 2 0 0

judge fail "a connect outside 127.0.0.0/8" <<'EOF'
100 connect(8, {sa_family=AF_INET, sin_port=htons(443), sin_addr=inet_addr("128.0.0.1")}, 16) = -1 ENETUNREACH (Network is unreachable)
EOF
judge fail "an IPv6 connect past ::1" <<'EOF'
100 connect(8, {sa_family=AF_INET6, sin6_port=htons(443), sin6_flowinfo=htonl(0), inet_pton(AF_INET6, "2001:db8::1", &sin6_addr), sin6_scope_id=0}, 28) = -1 ENETUNREACH (Network is unreachable)
EOF
judge fail "a datagram sent outside without a connect" <<'EOF'
100 sendto(7, "\x01\x02", 48, 0, {sa_family=AF_INET, sin_port=htons(123), sin_addr=inet_addr("192.0.2.7")}, 16) = 48
EOF
judge fail "an addressed sendmsg outside" <<'EOF'
100 sendmsg(7, {msg_name={sa_family=AF_INET, sin_port=htons(443), sin_addr=inet_addr("192.0.2.7")}, msg_namelen=16, msg_iov=[{iov_base="\x00", iov_len=1}], msg_iovlen=1, msg_controllen=0, msg_flags=0}, 0) = 1
EOF
judge fail "a name server on loopback" <<'EOF'
100 connect(6, {sa_family=AF_INET, sin_port=htons(53), sin_addr=inet_addr("127.0.0.53")}, 16) = 0
EOF
judge fail "systemd-resolved's socket" <<'EOF'
100 connect(6, {sa_family=AF_UNIX, sun_path="/run/systemd/resolve/io.systemd.Resolve"}, 110) = 0
EOF
judge pass "a running nscd asked for a user" <<'EOF'
100 connect(5, {sa_family=AF_UNIX, sun_path="/var/run/nscd/socket"}, 110) = 0
100 sendto(5, "\x02\x00\x00\x00\x01\x00\x00\x00"..., 16, MSG_NOSIGNAL, NULL, 0) = 16
EOF
judge fail "a running nscd asked for an address" <<'EOF'
100 connect(5, {sa_family=AF_UNIX, sun_path="/var/run/nscd/socket"}, 110) = 0
100 sendto(5, "\x02\x00\x00\x00\x0e\x00\x00\x00"..., 22, MSG_NOSIGNAL, NULL, 0) = 22
EOF
judge fail "glibc reading the hosts file" <<'EOF'
100 openat(AT_FDCWD, "/etc/hosts", O_RDONLY|O_CLOEXEC) = 7
EOF
judge fail "glibc reading the resolver configuration" <<'EOF'
100 openat(AT_FDCWD, "/etc/resolv.conf", O_RDONLY|O_CLOEXEC) = 7
EOF
judge pass "the web engine reading both once at start-up" 1 <<'EOF'
120 openat(AT_FDCWD, "/etc/hosts", O_RDONLY|O_CLOEXEC) = 40
121 openat(AT_FDCWD, "/etc/resolv.conf", O_RDONLY|O_CLOEXEC) = 39
EOF
judge fail "the web engine reading the hosts file again: a lookup" 1 <<'EOF'
120 openat(AT_FDCWD, "/etc/hosts", O_RDONLY|O_CLOEXEC) = 40
125 openat(AT_FDCWD, "/etc/hosts", O_RDONLY|O_CLOEXEC) = 41
EOF

[ $failures -eq 0 ] && echo "the judge: every case as expected"
exit $((failures > 0))
