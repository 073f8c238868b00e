#!/usr/bin/env bash
# The programs and the realm talk to loopback only and look no name up:
#   loopback_guard.sh TALLOWBAR BRAMBLEVIEW VELLREALM FORMQUERY
# Runs each under strace on a private desktop, drives it through start-up, a
# probe pass (and the panel's update log) to its close control, and fails on
# any connect or addressed send outside 127.0.0.0/8 and ::1, on any sign of a
# name lookup (see inspect), and on any packet that set out past loopback (the
# namespace looks online, so the web engine behaves as on a connected machine).
# The realm serves its wayward game-start page, which tries to lead the
# embedded view to another site on loopback and to a named host (a link the
# guard clicks, redirects, a script, a frame, pictures, a pop-up): the other
# site must be asked nothing, no name looked up, and the clicked link handed
# to the desktop's browser (a stand-in xdg-open that writes it down).
# A build configured with real hosts is not checked (exit 77, skipped).
set -euo pipefail
trap 'echo "error: the guard stopped at line $LINENO" >&2' ERR
here=$(dirname "$(readlink -f "$0")")

traced() { # NAME COMMAND...: becomes strace running COMMAND into $work/NAME.trace
    local name=$1
    shift
    exec strace -f -qq -s 8 -x -e signal=none -e trace=socket,connect,sendto,sendmsg,sendmmsg,openat \
        -o "$work/$name.trace" "$@"
}

# Counts one program's connection attempts by kind (a non-blocking connect
# asked again to learn its outcome counts once) and prints what breaks the
# rule; status 1 if anything did. Name lookups show as a connect to port 53, to
# systemd-resolved's or avahi's socket, a hosts request to a running nscd, or
# glibc opening /etc/hosts or /etc/resolv.conf. The web engine's network-change
# watcher reads the resolver configuration once at start-up, looking nothing
# up: ENGINE=1 allows each of those files to be opened once.
inspect() { # TRACE NAME [ENGINE]
    awk -v name="$2" -v engine="${3:-0}" '
    function outside(family, address) {
        if (family == "AF_INET") return address !~ /^127\./
        return address != "::1" && address !~ /^::ffff:127\./
    }
    function bad(why) { printf "  %s: %s\n    %s\n", name, why, $0; violations++ }
    function result() { r = $0; sub(/.*\) += /, "", r); return r }
    function firstArgument() { a = $2; sub(/.*\(/, "", a); sub(/,.*/, "", a); return a }
    { tid = $1; call = $2; sub(/\(.*/, "", call) }
    / resumed>/ {
        # A non-blocking connect split by another thread: its outcome comes here.
        if (call == "<..." && $3 == "connect" && (tid in unfinished)) {
            if (result() ~ /EINPROGRESS|EALREADY/) asking[tid, unfinished[tid]] = 1
            delete unfinished[tid]
        }
        next
    }
    call == "socket" { fd = result(); sub(/ .*/, "", fd); delete asking[tid, fd]; next }
    call == "openat" {
        if ($0 ~ /"\/etc\/(resolv\.conf|hosts)"/ && $0 !~ /= -1 /) {
            path = $0; sub(/^[^"]*"/, "", path); sub(/".*/, "", path)
            if (++opened[path] > engine) bad("reads " path ": a name lookup")
        }
        next
    }
    call ~ /^send/ && (tid in nscd) {
        # nscd request: version 2, then the type; 4-7, 13, 14 are host lookups.
        if (firstArgument() == nscd[tid]) {
            type = $0; sub(/^[^"]*"\\x..\\x..\\x..\\x..\\x/, "", type); type = substr(type, 1, 2)
            if (type ~ /^0[4567de]$/) bad("asks nscd for a host")
            delete nscd[tid]
        }
    }
    /sa_family=AF_INET6?,/ {
        family = $0; sub(/.*sa_family=/, "", family); sub(/,.*/, "", family)
        port = $0; sub(/.*_port=htons\(/, "", port); sub(/\).*/, "", port)
        address = $0
        if (family == "AF_INET") { sub(/.*inet_addr\("/, "", address) }
        else { sub(/.*inet_pton\(AF_INET6, "/, "", address) }
        sub(/".*/, "", address)
        away = outside(family, address)
        if (away) bad("goes outside loopback to " address)
        else if (port == 53) bad("asks a name server")
        if (call == "connect") {
            fd = firstArgument()
            if (!((tid, fd) in asking)) {
                if (away) far++
                else if (family == "AF_INET6" && address == "::1") v6++
                else v4++
                attempts[address ":" port]++
            }
            if (/<unfinished \.\.\.>$/) unfinished[tid] = fd
            else if (result() ~ /EINPROGRESS|EALREADY/) asking[tid, fd] = 1
            else delete asking[tid, fd]
        }
        next
    }
    call == "connect" && /sa_family=AF_UNIX/ {
        unix++
        if ($0 ~ /\/run\/systemd\/resolve|avahi-daemon/) bad("asks a name-service daemon")
        if ($0 ~ /nscd\/socket/ && result() ~ /^0/) {
            nscd[tid] = firstArgument()
        }
    }
    END {
        printf "%-11s %4d IPv4 loopback, %d IPv6 loopback, %d AF_UNIX connects", name, v4, v6, unix
        printf far ? ", %d OUTSIDE\n" : "\n", far
        for (a in attempts) print a, attempts[a] > (FILENAME ".attempts")
        exit violations > 0
    }' "$1"
}

# Connection attempts of a program to one ADDRESS:PORT, once inspected.
connects_to() { # NAME ADDRESS:PORT
    awk -v a="$2" '$1 == a { n = $2 } END { print n + 0 }' "$work/$1.trace.attempts" 2>/dev/null || echo 0
}

# loopback_guard.sh --inspect TRACE NAME [ENGINE]: judges a saved trace alone.
if [ "${1:-}" = --inspect ]; then
    inspect "${@:2}"
    exit
fi

. "$here/../../tools/lib/private-session.sh"
vell_enter_namespace "$0" "$@"
vell_start_uplink
tallowbar=$(readlink -f "$1") brambleview=$(readlink -f "$2") vellrealm=$(readlink -f "$3")
# Where the controls it clicks lie, as the definitions put them.
ticker_close=$("$4" tallowbar close)
panel_refresh=$("$4" brambleview refresh)
panel_log_toggle=$("$4" brambleview log-toggle)
panel_close=$("$4" brambleview close)
panel_page=$("$4" brambleview shown-page)
work=$(mktemp -d)
mkdir "$work/bin"
printf '#!/bin/sh\nprintf "%%s\\n" "$@" >>"%s"\n' "$work/opened" >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
failed=0

vell_start_desktop
# The ticker's Refresh lies outside its shape: assistive technology presses it.
vell_start_accessibility
vell_start_realm "$work/realm.log" traced vellrealm "$vellrealm" --wayward-page
mapfile -t probes < <(vell_realm_endpoints "$work/realm.log")
site=$(sed -n 's|^game-start page: http://\([^/]*\)/.*|\1|p' "$work/realm.log")
[[ $site == *:* ]] || site=$site:80
for endpoint in "${probes[@]}" "$site"; do
    case ${endpoint%:*} in
    127.* | \[::1\] | ::1) ;;
    *)
        echo "this build probes $endpoint, not loopback: nothing to guard here"
        exit 77
        ;;
    esac
done
[ ${#probes[@]} -eq 6 ] || { cat "$work/realm.log"; echo "error: no endpoints from the realm"; exit 1; }

# Tallowbar: start-up pass, Refresh through the accessibility bus (it lies
# outside the ticker's shape, where no mouse or key reaches), the close label.
traced tallowbar "$tallowbar" >"$work/tallowbar.log" 2>&1 4>&- &
tracer=$!
vell_pids+=($tracer)
window=$(vell_window)
[ -n "$window" ] || { cat "$work/tallowbar.log"; echo "error: no ticker window"; exit 1; }
sleep 2
"$(dirname "$0")/../../tools/atspi" press "$(xdotool getwindowpid "$window")" Refresh >/dev/null ||
    echo "note: Refresh was not pressed"
sleep 2
vell_click "$window" $ticker_close
timeout 30 tail --pid=$tracer -f /dev/null || { echo "error: the ticker did not end"; exit 1; }

# Brambleview: start-up pass, Refresh, the update log shown, its link
# clicked, the log parked, close.
PATH=$work/bin:$PATH QTWEBENGINE_DISABLE_SANDBOX=1 traced brambleview "$brambleview" >"$work/brambleview.log" 2>&1 4>&- &
tracer=$!
vell_pids+=($tracer)
window=$(vell_window)
[ -n "$window" ] || { cat "$work/brambleview.log"; echo "error: no panel window"; exit 1; }
sleep 4
vell_click "$window" $panel_refresh
sleep 2
served=$(grep -c "page served" "$work/realm.log" || true)
vell_click "$window" $panel_log_toggle # "Show/Hide Update Log"
for _ in $(seq 300); do
    [ "$(grep -c "page served" "$work/realm.log" || true)" -gt "$served" ] && break
    sleep 0.1
done
sleep 4 # what the page tries once shown
vell_click "$window" $panel_page # its link to the other site
sleep 1
vell_click "$window" $panel_log_toggle
sleep 2
vell_click "$window" $panel_close
timeout 60 tail --pid=$tracer -f /dev/null || { echo "error: the panel did not end"; exit 1; }

vell_realm_say quit
timeout 10 tail --pid="$vell_realm_pid" -f /dev/null || true

echo "connects seen (strace -f, every process of each program):"
inspect "$work/tallowbar.trace" tallowbar || failed=1
inspect "$work/brambleview.trace" brambleview 1 || failed=1
inspect "$work/vellrealm.trace" vellrealm || failed=1
# The drive must have happened, or the counts above prove nothing.
for program in tallowbar brambleview; do
    for endpoint in "${probes[@]}"; do
        n=$(connects_to "$program" "$endpoint")
        if [ "$n" -lt 2 ]; then
            echo "  $program: $n connects to $endpoint: the start-up pass and Refresh were not both seen"
            failed=1
        fi
    done
done
packets=$(vell_uplink_packets)
if [ "$packets" -ne 0 ]; then
    echo "  $packets packets set out past loopback"
    failed=1
fi
if [ "$(connects_to brambleview "$site")" -lt 1 ]; then
    echo "  brambleview: never fetched the game-start page from $site"
    failed=1
fi
# The wayward page: it was shown and tried its ways, and none got anywhere.
other=$(sed -n 's|^other site: \(http://[^/]*\)$|\1|p' "$work/realm.log")
elsewhere=${other#http://}
[[ $elsewhere == *:* ]] || elsewhere=$elsewhere:80
n=$(connects_to brambleview "$elsewhere")
asked=$(grep -c "^other site asked" "$work/realm.log" || true)
echo "the other site ($elsewhere): $n connects from brambleview, $asked requests"
if [ "$n" -ne 0 ] || [ "$asked" -ne 0 ]; then
    grep "^other site asked" "$work/realm.log" | sed 's/^/  /'
    failed=1
fi
for path in /gamestart/moved.asp /gamestart/mirror.asp; do
    if ! grep -q "^game-start redirect served: $path" "$work/realm.log"; then
        echo "  the page never reached its redirect $path: its script did not run"
        failed=1
    fi
done
if ! grep -qx "$other/news/patch-2.14.html" "$work/opened" 2>/dev/null; then
    echo "  the clicked link did not reach the desktop's browser (it got: $(cat "$work/opened" 2>/dev/null))"
    failed=1
fi

if [ $failed -ne 0 ]; then
    echo "FAILED; traces kept in $work"
    exit 1
fi
rm -rf "$work"
echo "loopback only, no name looked up"
