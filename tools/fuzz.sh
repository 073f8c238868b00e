#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and UBSan) into
# build-fuzz/ and runs one, or all one after another, for a set time each.
#   tools/fuzz.sh TARGET|all SECONDS [libFuzzer options...]
# Targets: regiondata peresources bmp ico. New inputs that add coverage go to
# build-fuzz/corpus/TARGET; the committed seeds in tests/fuzz/corpus/TARGET
# are read too but never written. Crashes land in build-fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."

targets=(regiondata peresources bmp ico)
if [ $# -lt 2 ]; then
    echo "usage: $0 TARGET|all SECONDS [libFuzzer options...]" >&2
    echo "targets: ${targets[*]}" >&2
    exit 2
fi
which=$1 seconds=$2
shift 2
[ "$which" = all ] || targets=("$which")

cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER="${CXX:-clang++-14}" -DVELL_FUZZ=ON -DVELL_GRAPHICS_ONLY=ON \
    -DVELL_BUILD_TESTS=OFF -DVELL_BUILD_BENCH=OFF >/dev/null
nice -n 10 cmake --build build-fuzz -j 2 --target "${targets[@]/#/fuzz_}"

mkdir -p build-fuzz/artifacts
for t in "${targets[@]}"; do
    mkdir -p "build-fuzz/corpus/$t"
    echo "== $t for ${seconds}s"
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        nice -n 10 "build-fuzz/tests/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 \
        -artifact_prefix="build-fuzz/artifacts/$t-" "$@" \
        "build-fuzz/corpus/$t" "tests/fuzz/corpus/$t"
done
