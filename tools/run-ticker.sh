#!/usr/bin/env bash
# Installs what is missing, builds, and runs Tallowbar (with --panel,
# Brambleview) against the local realm (tools/realm) on loopback.
# With a display it runs there until you close it; without one it runs under
# Xvfb, takes screenshots and says where they went.
#
# The realm takes port 80 and six loopback addresses. So that this needs no
# root and never meets another realm, it all runs in a private user and
# network namespace that holds only loopback (unshare -rnm).
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/lib/private-session.sh

program=tallowbar
if [ "${1:-}" = --panel ]; then
    program=brambleview
    shift
fi

tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELL_BUILD_TESTS=OFF >/dev/null
cmake --build build -j "$(nproc)" --target "$program" vellrealm formquery

vell_isolated --exec tools/demo-session.sh "$program" "$@"
