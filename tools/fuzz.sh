#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and UBSan) into
# build-fuzz/ and runs one, or all one after another, for a set time each.
#   tools/fuzz.sh TARGET|all SECONDS [libFuzzer options...]
# Targets: regiondata peresources bmp ico. New inputs that add coverage go to
# build-fuzz/corpus/TARGET; the committed seeds in tests/fuzz/corpus/TARGET
# and real files made here (build-fuzz/seeds/TARGET: BMP and ICO/CUR
# variants by ImageMagick, resource DLLs by the mingw-w64 binutils, region
# files by vellskin when build/ has it) are read too but never written.
# Crashes land in build-fuzz/artifacts/.
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

# Real files of each kind the project reads, made afresh; a missing tool
# leaves its kind to the committed seeds.
make_seeds() {
    local seeds=build-fuzz/seeds
    rm -rf "$seeds" && mkdir -p "$seeds"/{bmp,ico,peresources,regiondata}
    if command -v convert >/dev/null; then
        local art=(-seed 11 -size 23x9 plasma:fractal)
        local n=0 kind colours
        for kind in BMP2 BMP3 BMP; do
            for colours in 2 16 256; do
                convert "${art[@]}" -colors $colours -type Palette "$kind:$seeds/bmp/$kind-pal$colours.bmp"
            done
            convert "${art[@]}" -type TrueColor "$kind:$seeds/bmp/$kind-rgb24.bmp"
        done
        convert "${art[@]}" -colors 16 -compress RLE "BMP3:$seeds/bmp/rle4.bmp"
        convert "${art[@]}" -colors 200 -compress RLE "BMP3:$seeds/bmp/rle8.bmp"
        convert "${art[@]}" -define bmp:subtype=RGB565 "BMP:$seeds/bmp/rgb565.bmp"
        convert "${art[@]}" -define bmp:subtype=RGB555 "BMP3:$seeds/bmp/rgb555.bmp"
        convert "${art[@]}" -alpha set -channel A -evaluate set 60% "BMP:$seeds/bmp/argb32.bmp"
        convert "${art[@]}" -alpha set -define bmp3:alpha=true "BMP3:$seeds/bmp/rgba32.bmp"
        for size in 16 32 48; do
            convert "${art[@]}" -resize ${size}x${size}! "$seeds/ico/rgb$size.ico"
            convert "${art[@]}" -resize ${size}x${size}! -colors 16 "$seeds/ico/pal16-$size.ico"
            convert "${art[@]}" -resize ${size}x${size}! -alpha set -channel A -evaluate set 50% \
                "$seeds/ico/alpha$size.ico"
        done
        convert "${art[@]}" -resize 16x16! -colors 2 -type Palette "$seeds/ico/pal2.ico"
        convert "${art[@]}" -resize 32x32! "CUR:$seeds/ico/cursor.cur" 2>/dev/null || true
        convert "${art[@]}" -define icon:auto-resize=64,16 "$seeds/ico/sizes.ico"
        convert "${art[@]}" -resize 256x256! "$seeds/ico/png256.ico" # held as PNG
        ((n = $(ls "$seeds/bmp" "$seeds/ico" | wc -l)))
        echo "seeds: $n pictures from ImageMagick"
    else
        echo "seeds: no ImageMagick (tools/install-deps.sh), committed pictures only"
    fi
    local vellskin=build/tools/vellskin/vellskin
    if [ -x "$vellskin" ]; then
        local f
        for f in "$seeds"/bmp/*.bmp; do
            "$vellskin" region "$f" "$seeds/regiondata/$(basename "$f" .bmp).rgn" >/dev/null 2>&1 || true
        done
        echo "seeds: $(ls "$seeds/regiondata" | wc -l) region files from vellskin"
    fi
    local arch
    for arch in x86_64 i686; do
        command -v $arch-w64-mingw32-windres >/dev/null || { echo "seeds: no mingw-w64 binutils"; break; }
        local dir=$seeds/dll-$arch
        mkdir -p "$dir"
        printf '\x20\0\0\0\x01\0\0\0\x01\0\0\0\x10\0\0\0\x02\0\0\0\x03\0\0\0\x0c\0\0\0\x08\0\0\0\x02\0\0\0\x03\0\0\0\x0c\0\0\0\x08\0\0\0' >"$dir/rect.rgn"
        cp "$dir/rect.rgn" "$dir/other.rgn" && printf 'x' >>"$dir/other.rgn"
        printf '%s\n' '101 RCDATA "rect.rgn"' 'SKIN RCDATA "other.rgn"' \
            'LANGUAGE 0x07, 0x01' '7 RCDATA "rect.rgn"' 'LANGUAGE 0x09, 0x01' '7 RCDATA "other.rgn"' \
            >"$dir/r.rc"
        (cd "$dir" && $arch-w64-mingw32-windres --preprocessor=cpp -i r.rc -o r.o &&
            $arch-w64-mingw32-ld --dll -e 0 -o "../peresources/$arch.dll" r.o &&
            $arch-w64-mingw32-ld --dll -e 0 -s -o "../peresources/$arch-stripped.dll" r.o)
    done
    echo "seeds: $(ls "$seeds/peresources" | wc -l) resource DLLs"
}
make_seeds

mkdir -p build-fuzz/artifacts
for t in "${targets[@]}"; do
    mkdir -p "build-fuzz/corpus/$t"
    echo "== $t for ${seconds}s"
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        nice -n 10 "build-fuzz/tests/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 \
        -artifact_prefix="build-fuzz/artifacts/$t-" "$@" \
        "build-fuzz/corpus/$t" "tests/fuzz/corpus/$t" "build-fuzz/seeds/$t"
done
