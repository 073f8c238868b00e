#!/usr/bin/env bash
# The demo's inside (tools/run-ticker.sh starts it): the realm and the program,
# on the display there is or on a private Xvfb desktop with screenshots.
#   demo-session.sh tallowbar|brambleview [realm arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."
program=$1
shift

# In a fresh network namespace loopback starts down.
if ! ip -o link show lo 2>/dev/null | grep -q ',UP'; then
    ip link set lo up
fi
# The web engine will not start its sandbox as root, nor inside the namespace.
export QTWEBENGINE_DISABLE_SANDBOX=1

pids=()
# Last started, first ended: the program goes before its display.
cleanup() {
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
        wait "${pids[i]}" 2>/dev/null || true
    done
}
trap cleanup EXIT

realm_log=$(mktemp)
build/tools/realm/vellrealm "$@" >"$realm_log" 2>&1 </dev/null &
pids+=($!)
for _ in $(seq 50); do grep -q ready "$realm_log" && break; kill -0 "${pids[0]}" 2>/dev/null || break; sleep 0.1; done
if ! grep -q ready "$realm_log"; then
    cat "$realm_log" >&2
    echo "error: the local realm could not start (see above)." >&2
    exit 1
fi
cat "$realm_log"
binary=build/apps/$program/$program

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    echo "Running $program on $DISPLAY; close it with its close control."
    "$binary"
    exit 0
fi

# Xvfb picks a free display itself and tells us which (-displayfd): no race
# with another server for a number.
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" 2>/dev/null &
pids+=($!)
read -r -t 10 number <"$fifo" || { echo "error: Xvfb did not start" >&2; exit 1; }
rm -f "$fifo"
export DISPLAY=:$number
openbox --sm-disable >/dev/null 2>&1 &
pids+=($!)
sleep 0.5
xsetroot -solid '#3a6ea5' # a desktop colour, so the window's shape shows
trayer --edge bottom --align left --widthtype pixel --width 120 --height 24 \
    --SetDockType true --transparent false --tint 0x303030 >/dev/null 2>&1 &
pids+=($!)
sleep 1
"$binary" &
pids+=($!)
sleep 5 # start-up probes answer within milliseconds on loopback; the page loads
shot="$PWD/build/$program-screenshot.png"
import -window root "$shot"
echo "No display: ran $program under Xvfb ($DISPLAY). Screenshot: $shot"
if [ "$program" = brambleview ]; then
    # "Show/Hide Update Log", then the page it shows.
    window=$(xdotool search --sync --name '^Form1$' | head -1)
    eval "$(xdotool getwindowgeometry --shell "$window")"
    read -r cx cy < <(build/tools/formquery/formquery brambleview log-toggle)
    xdotool mousemove $((X + cx)) $((Y + cy)) click 1
    sleep 3
    log="$PWD/build/$program-update-log.png"
    import -window root "$log"
    echo "With the update log shown: $log"
fi
