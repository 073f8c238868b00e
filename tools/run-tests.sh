#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors, and runs
# the whole test suite: unit tests offscreen, end-to-end tests on private Xvfb
# displays, and the graphics tests again under AddressSanitizer and UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh
jobs=$(nproc)

cmake -S . -B build-tests -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELL_WERROR=ON
cmake --build build-tests -j "$jobs"
ctest --test-dir build-tests --output-on-failure -j "$jobs" --timeout 300

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELL_WERROR=ON \
    -DVELL_SANITIZE=ON -DVELL_GRAPHICS_ONLY=ON -DVELL_BUILD_BENCH=OFF
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    LSAN_OPTIONS=suppressions="$PWD/tests/lsan.supp" \
    ctest --test-dir build-asan --output-on-failure -j "$jobs" --timeout 300
