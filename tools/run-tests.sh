#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs
# the whole test suite: unit tests offscreen, end-to-end tests of the real
# programs on private Xvfb displays, the install and package checks, and the
# fuzz corpora through every reader of outside bytes. Then the whole suite
# again, every binary built with AddressSanitizer and UBSan.
#
# The tests run in a private user and network namespace that holds only
# loopback (unshare -rnm): the local realm binds port 80 without root, parallel
# runs never meet, and no packet can leave the machine.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/lib/private-session.sh

tools/install-deps.sh
jobs=$(nproc)

echo "== the suite, built with warnings as errors"
cmake -S . -B build-tests -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELL_WERROR=ON
cmake --build build-tests -j "$jobs"
vell_isolated ctest --test-dir build-tests --output-on-failure -j "$jobs" --timeout 300

echo "== the suite again, under AddressSanitizer and UBSan"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELL_WERROR=ON \
    -DVELL_SANITIZE=ON -DVELL_BUILD_BENCH=OFF
cmake --build build-asan -j "$jobs"
# The web engine's helper processes are not ours and carry no sanitizer. The
# loopback guard (where connections go) ran on the first build; under strace
# and the sanitizers together the web engine would outlast its time.
# Stacks at malloc are taken by frame pointers (the default), never by the
# slow unwinder (fast_unwind_on_malloc=0): Debian 12's unwinder mallocs under
# its own lock once JIT code has registered its frames, as the software GL
# driver the panel draws with does, and the slow unwinder then takes that
# lock again from inside the malloc: the process hangs at its first frame.
asan=detect_leaks=1:abort_on_error=1:detect_odr_violation=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions="$PWD/tests/lsan.supp":print_suppressions=0
ASAN_OPTIONS=$asan vell_isolated ctest --test-dir build-asan --output-on-failure -j "$jobs" \
    --timeout 600 -LE 'guard|webengine'
# The web engine's tests run Chromium in their own process: its frees through
# a type of another size and its allocations left at exit are not ours (the
# end-to-end tests take the same two out for the panel's process).
ASAN_OPTIONS=$asan:new_delete_type_mismatch=0:detect_leaks=0 \
    vell_isolated ctest --test-dir build-asan --output-on-failure -j "$jobs" --timeout 600 -L webengine
