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

# info and render give one verdict on region data, before info shows anything:
# both take the data, or both refuse them with the same words, which name the
# limit passed. rgn COUNT L T R B ...: a header saying COUNT, then the numbers.
rgn() { perl -e '$n = shift; print pack("V4 l4 l*", 32, 1, $n, 16 * $n, 0, 0, 0, 0, @ARGV)' "$@"; }
printf 'hello, this is not a region file, only some text\n' >text.rgn
rgn 8388609 0 0 1 1 >many.rgn
rgn 2 0 0 1 1 >short.rgn
rgn 1 $((-(1 << 28))) 0 1 1 >far.rgn
# 3000 rows and 3000 columns that cross: their union is 9,003,000 rectangles.
perl -e 'my @r; for my $i (0 .. 2999) { push @r, 0, 2 * $i, 6000, 2 * $i + 1;
    push @r, 2 * $i, 0, 2 * $i + 1, 6000 }
    print pack("V4 l4 l*", 32, 1, 6000, 96000, 0, 0, 0, 0, @r)' >crossing.rgn
# The same cells in y-x band order, then reversed: taken either way.
perl -e 'my @r; for my $y (0 .. 99) { for (my $x = $y % 2; $x < 200; $x += 2) {
    push @r, [$x, $y, $x + 1, $y + 1] } } @r = reverse @r;
    print pack("V4 l4", 32, 1, scalar @r, 16 * @r, 0, 0, 0, 0), map { pack("l4", @$_) } @r' >reversed.rgn
verdict() { # the description, without number and source; "ok" when taken
    if "$vellskin" "$@" >out 2>err; then echo ok; else
        [ ! -s out ] || [ "$1" != info ] || fail "info $2 showed something before refusing it"
        sed 's/^vellskin: error [0-9]*, [^,]*, //' err; fi
}
check_verdict() {
    local file=$1 says=$2 seen
    seen=$(verdict info "$file")
    [ "$seen" = "$(verdict render "$file" out.bmp)" ] || fail "info and render differ on $file"
    case $seen in *"$says"*) ;; *) fail "$file: $seen" ;; esac
}
check_verdict text.rgn "text.rgn is not a region file: region data begin with a 32-byte header"
check_verdict many.rgn "many.rgn holds 8,388,609 rectangles, past the limit of 8,388,608"
check_verdict short.rgn "short.rgn is cut short: its 2 rectangles need 64 bytes, it has 48"
check_verdict far.rgn "far.rgn has a coordinate outside -134,217,728 to 134,217,727"
check_verdict crossing.rgn "crossing.rgn: its 6,000 rectangles overlap or are out of y-x band order, and merging them passes the region maker's limits (8,388,608 rectangles in a region"
check_verdict reversed.rgn ok
"$vellskin" region out.bmp again.rgn >/dev/null
"$vellskin" info again.rgn | grep -q "^rectangles 10000 (not empty), in y-x bands$" ||
    fail "reversed cells rendered and read back"
rm -f out.bmp

# render: an empty region, one wholly above the picture, and one that asks for
# more pixels than the tool writes.
rgn 0 >nothing.rgn
expect_error "error 5, vellskin, nothing.rgn holds an empty region: there is nothing to draw" \
    render nothing.rgn out.bmp
rgn 1 0 -9 5 -1 >above.rgn
expect_error "error 5, vellskin, the region lies wholly left of or above the picture's top-left corner (bounding box 0 -9 5 -1)" \
    render above.rgn out.bmp
rgn 1 0 0 20000 20000 >huge.rgn
expect_error "error 5, vellskin, the picture of the region (its right x bottom edges) would be 20,000 x 20,000 = 400,000,000 pixels, past vellskin's limit of 67,108,864 pixels" \
    render huge.rgn out.bmp
[ ! -e out.bmp ] || fail "a refused render left a file"
echo "vellskin: ok"
