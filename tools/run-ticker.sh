#!/usr/bin/env bash
# Installs what is missing, builds, and runs Tallowbar (with --panel,
# Brambleview) against the local realm (tools/realm) on loopback.
# With a display it runs there until you close it; without one it runs under
# Xvfb, takes screenshots and says where they went.
#
# The realm takes port 80 and six loopback addresses. So that this needs no
# root and never meets another realm, it all runs in a private user and
# network namespace that holds only loopback (unshare -rn).
set -euo pipefail
cd "$(dirname "$0")/.."

program=tallowbar
if [ "${1:-}" = --panel ]; then
    program=brambleview
    shift
fi

tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELL_BUILD_TESTS=OFF >/dev/null
cmake --build build -j "$(nproc)" --target "$program" vellrealm formquery

if unshare -rn true 2>/dev/null; then
    exec unshare -rn tools/demo-session.sh "$program" "$@"
fi
echo "note: no private network namespace here (unshare -rn refused: unprivileged user" \
    "namespaces are off); running on this machine's loopback." >&2
if [ "$(id -u)" -ne 0 ]; then
    echo "error: the realm needs port 80, which needs root outside a namespace." >&2
    echo "Enable user namespaces (sysctl kernel.unprivileged_userns_clone=1) or run as root." >&2
    exit 1
fi
exec tools/demo-session.sh "$program" "$@"
