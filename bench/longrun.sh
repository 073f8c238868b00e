#!/usr/bin/env bash
# Both programs for a long while on a private desktop, driven as a user would,
# against a realm whose servers keep going up, down and silent; does memory or
# the count of open descriptors grow?
#   bench/longrun.sh [MINUTES [BUILD_DIR]]     (30 minutes, build/)
# Every 5 s a probe pass in each program (the ticker: its window focused,
# Refresh from the keyboard; the panel: a click on Refresh), every minute the
# panel's update log shown or parked, every 15 s one server changes state.
# Every 30 s it writes the ticker's RSS, the panel's PSS and private memory
# (summed over all its processes: PSS shares pages with any other web-engine
# program running meanwhile, private memory does not), and their open
# descriptors, to longrun-YYYYmmdd-HHMMSS.csv in the current directory (or
# $LONGRUN_CSV); at the end it fits a line through the samples after a warm-up
# ($LONGRUN_WARMUP seconds, 120 by default) and reports growth per hour.
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
. "$here/../tools/lib/private-session.sh"
vell_enter_namespace "$0" "$@"
vell_start_uplink

minutes=${1:-30}
build=$(readlink -f "${2:-$here/../build}")
tallowbar=$build/apps/tallowbar/tallowbar
brambleview=$build/apps/brambleview/brambleview
vellrealm=$build/tools/realm/vellrealm
for b in "$tallowbar" "$brambleview" "$vellrealm"; do
    [ -x "$b" ] || { echo "error: $b is not built" >&2; exit 1; }
done
csv=${LONGRUN_CSV:-$PWD/longrun-$(date +%Y%m%d-%H%M%S).csv}
warmup=${LONGRUN_WARMUP:-120}
work=$(mktemp -d)
trap 'vell_cleanup; rm -rf "$work"' EXIT

# Attempts to connect made inside this namespace so far (all programs).
active_opens() { awk '/^Tcp:/ { if (n++) print $6 }' /proc/net/snmp; }

vell_start_desktop
vell_start_realm "$work/realm.log" "$vellrealm"

"$tallowbar" >"$work/tallowbar.log" 2>&1 4>&- &
ticker=$!
vell_pids+=($ticker)
ticker_window=$(vell_window $ticker)
[ -n "$ticker_window" ] || { cat "$work/tallowbar.log"; echo "error: no ticker window" >&2; exit 1; }
# Both open at the bottom-right: the ticker goes top-left, out of the panel's way.
xdotool windowmove "$ticker_window" 20 20
QTWEBENGINE_DISABLE_SANDBOX=1 "$brambleview" >"$work/brambleview.log" 2>&1 4>&- &
panel=$!
vell_pids+=($panel)
panel_window=$(vell_window $panel)
[ -n "$panel_window" ] || { cat "$work/brambleview.log"; echo "error: no panel window" >&2; exit 1; }
sleep 5

process_tree() { vell_tree "$1"; }
rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"; }
# PSS (shared pages count once across all processes) and private memory,
# KiB, summed over a process tree.
pss_and_private_kb() {
    local pid pss=0 private=0 p q
    for pid in $(process_tree "$1"); do
        read -r p q < <(awk '/^Pss:/ { p = $2 } /^Private_(Clean|Dirty):/ { q += $2 }
            END { print p + 0, q + 0 }' "/proc/$pid/smaps_rollup" 2>/dev/null || echo 0 0)
        pss=$((pss + p)) private=$((private + q))
    done
    echo "$pss,$private"
}
fds() { # open descriptors of a process tree
    local pid n=0
    for pid in $(process_tree "$1"); do
        n=$((n + $(ls "/proc/$pid/fd" 2>/dev/null | wc -l)))
    done
    echo $n
}

# Where the controls the run clicks lie, as the definitions put them.
formquery=$build/tools/formquery/formquery
panel_refresh=$("$formquery" brambleview refresh)
panel_log_toggle=$("$formquery" brambleview log-toggle)
panel_close=$("$formquery" brambleview close)
ticker_close=$("$formquery" tallowbar close)

echo "seconds,passes,tallowbar_rss_kb,tallowbar_fds,brambleview_pss_kb,brambleview_private_kb,brambleview_fds,brambleview_processes" >"$csv"
start=$(date +%s)
opens_at_start=$(active_opens)
passes=0 ticker_passes=0 toggles=0 flaps=0 ticker_tabbed=0
next_sample=0 next_flap=15 next_toggle=60
servers=(update login charselect ch1 ch2 ch3)
states=(down silent up)
echo "long run: $minutes minutes, samples every 30 s into $csv"
while :; do
    now=$(($(date +%s) - start))
    for pid in $ticker $panel; do
        kill -0 $pid 2>/dev/null || { echo "error: process $pid ended during the run" >&2; exit 1; }
    done
    if [ $now -ge $next_sample ]; then
        echo "$now,$passes,$(rss_kb $ticker),$(fds $ticker),$(pss_and_private_kb $panel),$(fds $panel),$(process_tree $panel | wc -l)" >>"$csv"
        next_sample=$((next_sample + 30))
    fi
    [ $now -ge $((minutes * 60)) ] && break
    if [ $now -ge $next_flap ]; then
        vell_realm_say "${states[(flaps / 6) % 3]} ${servers[flaps % 6]}"
        flaps=$((flaps + 1)) next_flap=$((next_flap + 15))
    fi
    if [ $now -ge $next_toggle ]; then
        vell_click "$panel_window" $panel_log_toggle # "Show/Hide Update Log"
        toggles=$((toggles + 1)) next_toggle=$((next_toggle + 60))
        sleep 0.5
    fi
    # The ticker's focus starts on its picture; once on Refresh it stays there,
    # and comes back to it when the window is activated again.
    if vell_focus "$ticker_window"; then
        if [ $ticker_tabbed -eq 0 ]; then
            xdotool key Tab
            ticker_tabbed=1
        fi
        xdotool key space
        passes=$((passes + 1)) ticker_passes=$((ticker_passes + 1))
    fi
    vell_click "$panel_window" $panel_refresh
    passes=$((passes + 1))
    sleep 5
done
opens=$(($(active_opens) - opens_at_start))
packets=$(vell_uplink_packets)

# Clean exits through the close controls.
vell_click "$ticker_window" $ticker_close
vell_click "$panel_window" $panel_close
exits=0
for program in tallowbar:$ticker brambleview:$panel; do
    pid=${program#*:}
    if ! timeout 30 tail --pid=$pid -f /dev/null; then
        echo "error: ${program%:*} did not end at its close control"
        exits=1
        continue
    fi
    status=0
    wait $pid 2>/dev/null || status=$?
    if [ $status -ne 0 ]; then
        echo "error: ${program%:*} ended with status $status at its close control" \
            "($( [ $status -gt 128 ] && kill -l $((status - 128)) ))"
        exits=1
    fi
done
vell_realm_say quit

echo "$passes passes driven (ticker $ticker_passes, panel $((passes - ticker_passes));" \
    "$toggles update-log toggles, $flaps realm changes) in $minutes minutes;" \
    "$opens connection attempts, $packets packets past loopback"
# Least-squares slope per hour of each column after the warm-up, with the
# samples' spread around the line (noise) and the range seen.
awk -F, -v warmup=$warmup '
NR == 1 { for (i = 3; i <= NF; i++) name[i] = $i; cols = NF; next }
$1 >= warmup {
    n++; x = $1 / 3600
    for (i = 3; i <= cols; i++) {
        sx[i] += x; sy[i] += $i; sxx[i] += x * x; sxy[i] += x * $i
        if (n == 1 || $i < lo[i]) lo[i] = $i
        if (n == 1 || $i > hi[i]) hi[i] = $i
        y[n, i] = $i
    }
    t[n] = x
}
END {
    if (n < 3) { print "too few samples after the warm-up"; exit 1 }
    printf "%d samples after %d s of warm-up\n", n, warmup
    for (i = 3; i <= cols; i++) {
        d = n * sxx[i] - sx[i] * sx[i]
        slope = (n * sxy[i] - sx[i] * sy[i]) / d
        icpt = (sy[i] - slope * sx[i]) / n
        ss = 0
        for (k = 1; k <= n; k++) { r = y[k, i] - (icpt + slope * t[k]); ss += r * r }
        printf "  %-22s %+10.1f per hour  (first %d, range %d-%d, spread %.1f)\n",
            name[i], slope, y[1, i], lo[i], hi[i], sqrt(ss / (n - 2))
    }
}' "$csv"
echo "samples: $csv"
exit $exits
