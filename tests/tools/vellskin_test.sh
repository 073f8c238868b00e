#!/usr/bin/env bash
# Drives the vellskin binary: each command, its round trips and its errors.
#   vellskin_test.sh VELLSKIN SKIN.bmp
set -euo pipefail
vellskin=$1 skin=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fail() { echo "FAIL: $*" >&2; exit 1; }

# Usage: no command, an unknown one, wrong argument counts.
set +e
"$vellskin" >out 2>err; [ $? -eq 2 ] || fail "no arguments should exit 2"
grep -q "vellskin extract MODULE ID-OR-NAME OUT.rgn" err || fail "usage lists the commands"
"$vellskin" frobnicate >out 2>err; [ $? -eq 2 ] || fail "an unknown command should exit 2"
"$vellskin" region only-one >out 2>err; [ $? -eq 2 ] || fail "a missing argument should exit 2"
grep -q "usage: vellskin region SKIN.bmp OUT.rgn" err || fail "the command's usage line"
set -e

# region, info, render, and the rendered picture's region is the same region.
"$vellskin" region "$skin" skin.rgn >/dev/null
"$vellskin" info skin.rgn >info
grep -q "^dwSize   32$" info || fail "info: dwSize"
grep -q "^iType    1$" info || fail "info: iType"
count=$(sed -n 's/^nCount *//p' info)
grep -q "^rectangles $count (not empty), in y-x bands$" info || fail "info: count"
[ "$(stat -c %s skin.rgn)" -eq $((32 + 16 * count)) ] || fail "file size"
"$vellskin" render skin.rgn skin.bmp >/dev/null
"$vellskin" region skin.bmp again.rgn >/dev/null
cmp -s skin.rgn again.rgn || fail "render then region gives another region"

# A small one: the rectangle (2, 3, 12, 8) on a 12 x 8 picture.
printf '\x20\0\0\0\x01\0\0\0\x01\0\0\0\x10\0\0\0\x02\0\0\0\x03\0\0\0\x0c\0\0\0\x08\0\0\0\x02\0\0\0\x03\0\0\0\x0c\0\0\0\x08\0\0\0' >rect.rgn
"$vellskin" render rect.rgn rect.bmp | grep -q "rect.bmp: 12x8" || fail "render size"
"$vellskin" info rect.rgn | grep -q "^bounding box 2 3 12 8$" || fail "info: bounding box"

# extract, from resource-only DLLs of both widths when the tools are here.
for arch in x86_64 i686; do
    command -v $arch-w64-mingw32-windres >/dev/null || { echo "skip extract: no mingw-w64"; break; }
    printf '101 RCDATA "skin.rgn"\nSMALL RCDATA "rect.rgn"\n' >r.rc
    $arch-w64-mingw32-windres --preprocessor=cpp -i r.rc -o r.o
    $arch-w64-mingw32-ld --dll -e 0 -o r.dll r.o
    "$vellskin" extract r.dll 101 x.rgn >/dev/null
    cmp -s skin.rgn x.rgn || fail "extract 101 ($arch)"
    "$vellskin" extract r.dll small y.rgn >/dev/null
    cmp -s rect.rgn y.rgn || fail "extract by name ($arch)"
done

# Errors: one line "number, source, description" and exit 1.
expect_error() {
    local pattern=$1; shift
    set +e
    "$vellskin" "$@" >out 2>err
    local status=$?
    set -e
    [ $status -eq 1 ] || fail "$* exited $status"
    [ "$(wc -l <err)" -eq 1 ] || fail "$*: more than one line"
    grep -q "$pattern" err || fail "$*: $(cat err)"
}
expect_error "error 53, vellskin, File not found" info missing.rgn
expect_error "error 53, vellskin.cDIBSectionRegion, File not found" render missing.rgn out.bmp
expect_error "error 481, vellskin, Invalid picture" region rect.rgn out.rgn
expect_error "error 26013, vellskin.cDIBSectionRegion, Can't open DLL for Resource Access: rect.rgn is not a PE module" \
    extract rect.rgn 101 out.rgn
printf '\x21\0\0\0\x01\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0' >bad.rgn
expect_error "error 5, vellskin, " render bad.rgn out.bmp
: >empty.rgn
expect_error "error 9, vellskin.cDIBSectionRegion, File is empty (0 bytes)" render empty.rgn out.bmp
# Pictures: the file errors info gives, at once for a FIFO or a device.
expect_error "error 53, vellskin, File not found" region missing.bmp out.rgn
expect_error "error 481, vellskin, Invalid picture: empty.rgn is empty (0 bytes)" region empty.rgn out.rgn
mkfifo fifo.bmp
ln -s /dev/zero zero.bmp
for special in fifo.bmp zero.bmp; do
    status=0
    timeout 10 "$vellskin" region $special out.rgn >out 2>err || status=$?
    [ $status -eq 1 ] || fail "region $special exited $status"
    grep -q "error 75, vellskin, Path/File access error" err || fail "region $special: $(cat err)"
done
# A module that cannot be opened: the same number, and which way it failed.
expect_error "error 26013, vellskin.cDIBSectionRegion, Can't open DLL for Resource Access: no file missing.dll" \
    extract missing.dll 101 out.rgn
expect_error "error 26013, vellskin.cDIBSectionRegion, Can't open DLL for Resource Access: . is a folder" \
    extract . 101 out.rgn
expect_error "error 26013, vellskin.cDIBSectionRegion, Can't open DLL for Resource Access: zero.bmp is not a plain file" \
    extract zero.bmp 101 out.rgn
[ ! -e out.bmp ] && [ ! -e out.rgn ] || fail "a failed command left a file"
echo "vellskin: ok"
