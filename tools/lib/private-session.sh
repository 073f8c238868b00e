# Sourced by every script that runs the programs or the local realm: the one
# place that makes a private network namespace and a private desktop.
#
# Namespace (the realm binds port 80 and six loopback addresses; in a private
# user and network namespace that needs no root, never meets another realm,
# and no packet can leave the machine):
#   vell_isolated [--exec] COMMAND...   runs COMMAND in a namespace of its own
#   vell_enter_namespace "$0" "$@"      first thing: re-runs the script in one
#   vell_start_uplink                   a dead-end uplink there (looks online)
#   vell_uplink_packets                 packets that set out on it so far
# Desktop (an Xvfb display with a window manager and a tray host):
#   vell_start_desktop [--size WxH] [--colour COLOUR] [--no-window-manager] [--no-tray]
#                                       sets DISPLAY and vell_display_pid
#   vell_stop_desktop
#   vell_start_session_bus              a private D-Bus session bus (exports its address)
#   vell_start_accessibility            the accessibility bus on it, enabled as a
#                                       running screen reader enables it
# Realm and driving, for the scripts that run the real programs:
#   vell_start_realm LOG COMMAND...     then vell_realm_say "down ch2", "quit"...
#   vell_realm_endpoints LOG; vell_window [PID]; vell_click WINDOW X Y; vell_focus WINDOW
# Everything started here (and added to vell_pids) ends with the script:
# sourcing this sets vell_cleanup as the EXIT trap.

vell_pids=()
vell_desktop_pids=()

vell_namespace_refused="no private network namespace here (unshare -rnm refused: unprivileged user namespaces are off)"

# COMMAND (a program, not a shell function) in a private user and network
# namespace holding only loopback, which is up. Where user namespaces are
# refused only root can bind port 80: COMMAND then runs as root on this
# machine's own loopback, with a note. VELL_NAMESPACE tells COMMAND which
# (private or host). --exec replaces the calling shell.
vell_isolated() {
    local run=
    if [ "${1:-}" = --exec ]; then
        run='exec'
        shift
    fi
    if unshare -rnm true 2>/dev/null; then
        # Names missing from the hosts file go to a name server on loopback,
        # where none listens: a lookup fails at once and connects nowhere past
        # loopback, whatever the machine's own resolver is.
        local resolv
        resolv=$(mktemp)
        echo "nameserver 127.0.0.1" >"$resolv"
        chmod 644 "$resolv"
        $run env VELL_NAMESPACE=private unshare -rnm sh -c '
            ip link set lo up || exit 1
            mount --bind "$0" /etc/resolv.conf 2>/dev/null
            rm -f "$0"
            exec "$@"' "$resolv" "$@"
    elif [ "$(id -u)" -eq 0 ]; then
        echo "note: $vell_namespace_refused; running as root on this machine's own loopback." >&2
        $run env VELL_NAMESPACE=host "$@"
    else
        echo "error: $vell_namespace_refused, and not root: the local realm needs port 80." >&2
        echo "Enable user namespaces (sysctl kernel.unprivileged_userns_clone=1) or run as root." >&2
        return 1
    fi
}

# Re-runs the calling script through vell_isolated, once: a namespace of its
# own even when its caller already has one (its uplink must not show there).
vell_enter_namespace() {
    local script
    script=$(readlink -f "$1")
    shift
    if [ "${VELL_REENTERED:-}" = "$script" ]; then
        unset VELL_REENTERED
        return 0
    fi
    export VELL_REENTERED=$script
    vell_isolated --exec "$script" "$@" || exit 1
}

# A namespace holding only loopback looks offline, and the web engine keeps
# quiet offline. A veth pair with a default route makes it look online; what
# goes out on up0 ends at its peer in this namespace, which forwards nothing.
# IPv6 stays off on the pair so the kernel itself sends nothing there. Only
# in a private namespace holding nothing else: never on the machine's own.
vell_start_uplink() {
    if [ "${VELL_NAMESPACE:-}" != private ] ||
        [ "$(awk -F: 'NR > 2 { n++ } END { print n + 0 }' /proc/net/dev)" -ne 1 ]; then
        return 0
    fi
    ip link add up0 type veth peer name up1 2>/dev/null || {
        echo "note: no veth pair here: the namespace holds only loopback (looks offline)" >&2
        return 0
    }
    local link
    for link in up0 up1; do
        echo 1 >/proc/sys/net/ipv6/conf/$link/disable_ipv6
        ip link set $link up
    done
    ip addr add 192.0.2.1/24 dev up0 # TEST-NET-1: documentation only
    ip route add default via 192.0.2.254
}

# Packets that set out for anywhere but loopback so far (0 without an uplink).
vell_uplink_packets() { awk '$1 == "up0:" { p = $11 } END { print p + 0 }' /proc/net/dev; }

# A process and everything it started, deepest first (a tracer's tracee, the
# web engine's helpers).
vell_tree() {
    local child
    for child in $(cat /proc/"$1"/task/*/children 2>/dev/null); do
        vell_tree "$child"
    done
    echo "$1"
}

# Last started, first ended: the programs go before their display.
vell_cleanup() {
    exec 4>&- 2>/dev/null || true
    local i _
    for ((i = ${#vell_pids[@]} - 1; i >= 0; i--)); do
        kill $(vell_tree "${vell_pids[i]}") 2>/dev/null || true
        # Each ends before what was started ahead of it: a program before its
        # display, which it would otherwise lose while it exits.
        for _ in $(seq 50); do
            vell_alive "${vell_pids[i]}" || break
            sleep 0.1
        done
    done
    wait 2>/dev/null || true
}

# True while PID runs (an ended child waiting to be reaped does not count).
vell_alive() {
    local stat
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
    stat=${stat##*) }
    [ "${stat%% *}" != Z ]
}
trap vell_cleanup EXIT

# Polls COMMAND every 50 ms until it succeeds, for at most SECONDS.
vell_until() {
    local end=$((${EPOCHREALTIME//[!0-9]/} + $1 * 1000000))
    shift
    until "$@" >/dev/null 2>&1; do
        [ "${EPOCHREALTIME//[!0-9]/}" -lt $end ] || return 1
        sleep 0.05
    done
}

# Each question to the server has a time limit: a server that never answers
# must not hold the caller for good.
vell_answers() { timeout 2 xprop -root _NET_SUPPORTED; }
vell_has_window_manager() { timeout 2 xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }
vell_has_tray_host() { [ -n "$(timeout 2 xdotool search --class trayer)" ]; }

vell_desktop_started() {
    vell_pids+=("$1")
    vell_desktop_pids+=("$1")
}

# Xvfb picks a free display itself and says which (-displayfd): no race with
# another server for a number, and never a display someone else has. Returns
# once the server answers, the window manager owns the display and the tray
# host shows its panel.
vell_start_desktop() {
    local size=1024x768 colour='#3a6ea5' wm=1 tray=1
    while [ $# -gt 0 ]; do
        case $1 in
        --size) size=$2 && shift ;;
        --colour) colour=$2 && shift ;;
        --no-window-manager) wm=0 ;;
        --no-tray) tray=0 ;;
        *)
            echo "vell_start_desktop: unknown option $1" >&2
            return 2
            ;;
        esac
        shift
    done
    local fifo said number=
    fifo=$(mktemp -u)
    said=$(mktemp)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$fifo" 4>&- >"$said" 2>&1 &
    vell_display_pid=$!
    vell_desktop_started $!
    read -r -t 10 number <"$fifo" || true
    rm -f "$fifo"
    export DISPLAY=:$number
    if [ -z "$number" ] || ! vell_until 10 vell_answers; then
        echo "error: Xvfb did not start (are the xvfb and x11-utils packages installed?)" >&2
        sed 's/^/  Xvfb: /' "$said" >&2
        rm -f "$said"
        unset DISPLAY
        return 1
    fi
    rm -f "$said"
    if [ $wm -eq 1 ]; then
        # Now and then a freshly started openbox sits idle without ever
        # claiming the display; a second start gets on with it.
        local _ pid
        for _ in 1 2 3; do
            openbox --sm-disable >/dev/null 2>&1 4>&- &
            pid=$!
            vell_until 4 vell_has_window_manager && break
            kill $pid 2>/dev/null || true
            wait $pid 2>/dev/null || true
            pid=
        done
        if [ -z "$pid" ]; then
            echo "error: openbox did not take over the display" >&2
            return 1
        fi
        vell_desktop_started $pid
    fi
    # A desktop colour that no skin pixel has: where a window is cut away,
    # a screenshot shows it.
    xsetroot -solid "$colour"
    if [ $tray -eq 1 ]; then
        trayer --edge bottom --align left --widthtype pixel --width 120 --height 24 \
            --SetDockType true --transparent false --tint 0x303030 >/dev/null 2>&1 4>&- &
        vell_desktop_started $!
        if ! vell_until 10 vell_has_tray_host; then
            echo "error: trayer did not show its panel" >&2
            return 1
        fi
    fi
}

vell_stop_desktop() {
    local i pid keep=()
    for ((i = ${#vell_desktop_pids[@]} - 1; i >= 0; i--)); do
        kill $(vell_tree "${vell_desktop_pids[i]}") 2>/dev/null || true
        wait "${vell_desktop_pids[i]}" 2>/dev/null || true
    done
    for pid in "${vell_pids[@]}"; do
        [[ " ${vell_desktop_pids[*]} " == *" $pid "* ]] || keep+=("$pid")
    done
    vell_pids=("${keep[@]}")
    vell_desktop_pids=()
    unset DISPLAY vell_display_pid
}

# A private session bus for what runs here: notifications, the one-instance
# name and the accessibility bus meet nobody else's.
vell_start_session_bus() {
    local said
    said=$(dbus-daemon --session --fork --print-address=1 --print-pid=1 4>&-) || {
        echo "error: dbus-daemon did not start (is the dbus package installed?)" >&2
        return 1
    }
    export DBUS_SESSION_BUS_ADDRESS=${said%%$'\n'*}
    vell_desktop_started "${said##*$'\n'}"
}

vell_accessibility_enabled() {
    gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
        --method org.freedesktop.DBus.Properties.Get org.a11y.Status IsEnabled | grep -q true
}

# The accessibility bus, switched on through its IsEnabled property as a
# screen reader does, so programs build their accessible trees as for a user.
vell_start_accessibility() {
    [ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] || vell_start_session_bus || return 1
    /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 4>&- &
    vell_desktop_started $!
    vell_until 10 gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
        --method org.a11y.Bus.GetAddress || {
        echo "error: the accessibility bus did not start (is at-spi2-core installed?)" >&2
        return 1
    }
    # Asked again until it reads back: a loaded machine may miss the first.
    vell_until 15 vell_enable_accessibility || {
        echo "error: the accessibility bus would not be enabled (IsEnabled stays false)" >&2
        return 1
    }
}

vell_enable_accessibility() {
    gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
        --method org.freedesktop.DBus.Properties.Set org.a11y.Status IsEnabled '<true>' &&
        vell_accessibility_enabled
}

# The realm (COMMAND: its binary and arguments, or a tracer before it) reads
# its commands from a pipe held open on descriptor 4; what it says goes to LOG.
vell_start_realm() {
    local log=$1 input
    shift
    input=$(mktemp -u)
    mkfifo "$input"
    "$@" <"$input" >"$log" 2>&1 &
    vell_realm_pid=$!
    vell_pids+=($!)
    exec 4>"$input"
    rm -f "$input"
    local _
    for _ in $(seq 100); do
        grep -q ready "$log" && return 0
        kill -0 "$vell_realm_pid" 2>/dev/null || break
        sleep 0.1
    done
    cat "$log" >&2
    echo "error: the local realm did not start (see above)" >&2
    return 1
}

vell_realm_say() { printf '%s\n' "$*" >&4; }

# The realm's probe endpoints as ADDRESS:PORT lines, from its start-up status.
vell_realm_endpoints() {
    awk '$2 ~ /:[0-9]+$/ && ($3 == "up" || $3 == "down" || $3 == "silent") { print $2 }' "$1"
}

# The programs' main window (both are called Form1), of one process if given,
# waiting up to 60 s.
vell_window() {
    timeout 60 xdotool search --sync --all --onlyvisible ${1:+--pid "$1"} --name '^Form1$' \
        2>/dev/null | head -1
}

vell_click() {
    local window=$1 X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool mousemove $((X + $2)) $((Y + $3)) click 1
}

# Gives the window the keyboard without waiting on the window manager's say.
vell_focus() {
    local _
    xdotool windowactivate "$1" 2>/dev/null || true
    for _ in $(seq 50); do
        xdotool windowfocus "$1" 2>/dev/null || true
        [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ] && return 0
        sleep 0.1
    done
    return 1
}
