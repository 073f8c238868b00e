# Sourced by the scripts that run the real programs on a desktop of their own
# (the loopback guard, the long run): a private user and network namespace
# holding loopback and a dead-end uplink, an Xvfb display with a window manager and a tray host,
# the local realm taking commands, and the mouse and keyboard through xdotool.
#   vell_enter_namespace "$0" "$@"     first thing: re-runs the script inside
#   vell_start_desktop                 sets DISPLAY
#   vell_start_realm REALM_BINARY LOG  then vell_realm_say "down ch2", "quit"...
#   vell_window; vell_click WINDOW X Y; vell_focus WINDOW
# Everything started here is ended with the script (vell_cleanup on EXIT).

vell_pids=()

# In a private namespace the realm's port 80 needs no root, nothing meets
# another realm, and no packet can leave the machine. Where user namespaces are
# off only root can bind port 80, on the machine's own loopback (and there is
# no uplink of our own to count packets on).
vell_enter_namespace() {
    if [ -n "${VELL_IN_NAMESPACE:-}" ]; then
        ip -o link show lo | grep -q ',UP' || ip link set lo up
        vell_start_uplink
        return
    fi
    export VELL_IN_NAMESPACE=1
    if unshare -rn true 2>/dev/null; then
        exec unshare -rn "$(readlink -f "$1")" "${@:2}"
    fi
    if [ "$(id -u)" -ne 0 ]; then
        echo "error: no private network namespace here (unshare -rn refused: unprivileged" \
            "user namespaces are off) and not root: the realm needs port 80." >&2
        exit 1
    fi
    echo "note: no private network namespace here; running on this machine's loopback as root." >&2
}

# A process and everything it started, deepest first (a tracer's tracee, the
# web engine's helpers).
vell_tree() {
    local child
    for child in $(cat /proc/"$1"/task/*/children 2>/dev/null); do
        vell_tree "$child"
    done
    echo "$1"
}

# A namespace holding only loopback looks offline, and the web engine keeps
# quiet offline. A veth pair with a default route makes it look online; what
# goes out on up0 ends at its peer in this namespace, which forwards nothing.
# IPv6 stays off on the pair so the kernel itself sends nothing there.
vell_start_uplink() {
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

vell_cleanup() {
    exec 4>&- 2>/dev/null || true
    local i
    for ((i = ${#vell_pids[@]} - 1; i >= 0; i--)); do
        kill $(vell_tree "${vell_pids[i]}") 2>/dev/null || true
    done
    wait 2>/dev/null || true
}
trap vell_cleanup EXIT

# Xvfb picks a free display itself and says which (-displayfd): no race with
# another server for a number.
vell_start_desktop() {
    local fifo number
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" 2>/dev/null &
    vell_pids+=($!)
    if ! read -r -t 10 number <"$fifo"; then
        rm -f "$fifo"
        echo "error: Xvfb did not start" >&2
        return 1
    fi
    rm -f "$fifo"
    export DISPLAY=:$number
    openbox --sm-disable >/dev/null 2>&1 &
    vell_pids+=($!)
    trayer --edge bottom --align left --widthtype pixel --width 120 --height 24 \
        --SetDockType true --transparent false >/dev/null 2>&1 &
    vell_pids+=($!)
    sleep 1
}

# The realm reads its commands from a pipe held open on descriptor 4. Any
# arguments after LOG go before the realm binary (a tracer, for example).
vell_start_realm() {
    local binary=$1 log=$2 input
    shift 2
    input=$(mktemp -u)
    mkfifo "$input"
    "$@" "$binary" <"$input" >"$log" 2>&1 &
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
    echo "error: the local realm did not start" >&2
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
