#!/usr/bin/env bash
# The demo's inside (tools/run-ticker.sh starts it in a private namespace): the
# realm and the program, on the display there is or on a private Xvfb desktop
# with screenshots.
#   demo-session.sh tallowbar|brambleview [realm arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/lib/private-session.sh
program=$1
shift

# The web engine will not start its sandbox as root, nor inside the namespace.
export QTWEBENGINE_DISABLE_SANDBOX=1

realm_log=$(mktemp)
vell_start_realm "$realm_log" build/tools/realm/vellrealm "$@"
cat "$realm_log"
binary=build/apps/$program/$program

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    echo "Running $program on $DISPLAY; close it with its close control."
    "$binary" 4>&- # the realm's command pipe stays the realm's
    exit 0
fi

vell_start_desktop
# A session bus, as on a desktop: the one-instance name and notifications.
vell_start_session_bus
"$binary" 4>&- &
program_pid=$!
vell_pids+=($program_pid)
sleep 5 # start-up probes answer within milliseconds on loopback; the page loads
shot="$PWD/build/$program-screenshot.png"
import -window root "$shot"
echo "No display: ran $program under Xvfb ($DISPLAY). Screenshot: $shot"
if [ "$program" = brambleview ]; then
    # "Show/Hide Update Log", then the page it shows.
    window=$(vell_window "$program_pid")
    [ -n "$window" ] || { echo "error: the panel's window did not show" >&2; exit 1; }
    vell_click "$window" $(build/tools/formquery/formquery brambleview log-toggle)
    sleep 3
    log="$PWD/build/$program-update-log.png"
    import -window root "$log"
    echo "With the update log shown: $log"
fi
