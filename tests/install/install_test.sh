#!/usr/bin/env bash
# The install rules and the three Debian packages, without root:
#   install_test.sh BUILD_DIR
# Installs each component into a scratch prefix and checks its exact file list,
# the desktop entries and the AppStream metainfo; makes each package with its
# own cpack run and checks its files, version, changelog and Depends; runs
# lintian on all three; checks that only brambleview links WebEngine, that the
# packed programs are hardened as Debian's are and carry no .comment, and
# that each program has icons of its own.
set -euo pipefail
build=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

for tool in cmake cpack dpkg-deb readelf desktop-file-validate appstreamcli lintian hardening-check; do
    command -v "$tool" >/dev/null || fail "$tool is missing (tools/install-deps.sh installs it)"
done

packages=(tallowbar brambleview vellskin)
declare -A version=([tallowbar]=2.00.0002 [brambleview]=2.00 [vellskin]=1.0)
declare -A appstream_id=([tallowbar]=example.marrowdell.tallowbar
                         [brambleview]=example.marrowdell.brambleview)

# The exact files of one component, relative to the prefix, sorted.
expected_files() {
    local p=$1
    {
        echo "bin/$p"
        echo "share/man/man1/$p.1.gz"
        echo "share/doc/$p/changelog.gz"
        echo "share/doc/$p/copyright"
        if [ -n "${appstream_id[$p]:-}" ]; then
            echo "share/applications/$p.desktop"
            echo "share/metainfo/${appstream_id[$p]}.metainfo.xml"
            for size in 16 32 48 64 128; do echo "share/icons/hicolor/${size}x$size/apps/$p.png"; done
        fi
    } | sort
}
files_under() { (cd "$1" && find . -type f -o -type l | sed 's|^\./||' | sort); }

# Every installed file belongs to one of the components, so to one package.
cmake --install "$build" --prefix "$scratch/all" >/dev/null
all_expected=$(for p in "${packages[@]}"; do expected_files "$p"; done | sort)
[ "$(files_under "$scratch/all")" = "$all_expected" ] ||
    fail "a full install differs from the components' files:
$(diff <(echo "$all_expected") <(files_under "$scratch/all"))"

# Each program has its own icon, at every size, a PNG of that size.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ print $3 * 256 + $4 "x" $7 * 256 + $8 }'; }
for size in 16 32 48 64 128; do
    icons=$scratch/all/share/icons/hicolor/${size}x$size/apps
    for p in tallowbar brambleview; do
        [ "$(head -c 8 "$icons/$p.png" | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a ] ||
            fail "$p's ${size}-pixel icon is no PNG"
        [ "$(png_size "$icons/$p.png")" = "${size}x$size" ] ||
            fail "$p's ${size}-pixel icon is $(png_size "$icons/$p.png")"
    done
    cmp -s "$icons/tallowbar.png" "$icons/brambleview.png" &&
        fail "tallowbar and brambleview share one ${size}-pixel icon"
done

for p in "${packages[@]}"; do
    prefix=$scratch/component/$p
    cmake --install "$build" --prefix "$prefix" --component "$p" >/dev/null
    [ "$(files_under "$prefix")" = "$(expected_files "$p")" ] ||
        fail "component $p installs other files:
$(diff <(expected_files "$p") <(files_under "$prefix"))"
    [ -x "$prefix/bin/$p" ] || fail "bin/$p is not executable"
    zcat "$prefix/share/doc/$p/changelog.gz" | head -1 | grep -q "^$p (${version[$p]}) " ||
        fail "$p's changelog does not start with version ${version[$p]}"
    zcat "$prefix/share/man/man1/$p.1.gz" | grep -q "^\.TH ${p^^} 1 " || fail "$p.1 is no manual page"
    [ -n "${appstream_id[$p]:-}" ] || continue

    desktop=$prefix/share/applications/$p.desktop
    out=$(desktop-file-validate "$desktop" 2>&1) || fail "$p.desktop: $out"
    [ -z "$out" ] || fail "desktop-file-validate is not clean on $p.desktop: $out"
    grep -qx "Exec=$p" "$desktop" || fail "$p.desktop does not start $p"
    grep -qx "Icon=$p" "$desktop" || fail "$p.desktop does not name the $p icon"

    metainfo=$prefix/share/metainfo/${appstream_id[$p]}.metainfo.xml
    appstreamcli validate --no-net "$metainfo" >"$scratch/appstream.log" 2>&1 ||
        fail "appstreamcli rejects $p's metainfo: $(cat "$scratch/appstream.log")"
    grep -q "<id>${appstream_id[$p]}</id>" "$metainfo" || fail "$p's metainfo has another id"
    grep -q "<launchable type=\"desktop-id\">$p.desktop</launchable>" "$metainfo" ||
        fail "$p's metainfo does not launch $p.desktop"
    grep -q "<release version=\"${version[$p]}\"" "$metainfo" ||
        fail "$p's metainfo does not release version ${version[$p]}"
done

# One cpack run per package, as the debs target does.
for p in "${packages[@]}"; do
    cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/pkg" \
        -D CPACK_COMPONENTS_ALL="$p" >"$scratch/cpack-$p.log" 2>&1 ||
        fail "cpack could not make $p: $(cat "$scratch/cpack-$p.log")"
done

for p in "${packages[@]}"; do
    deb=$scratch/pkg/${p}_${version[$p]}_$(dpkg --print-architecture).deb
    [ -f "$deb" ] || fail "no $(basename "$deb"); made: $(ls "$scratch/pkg")"
    [ "$(dpkg-deb -f "$deb" Package)" = "$p" ] || fail "$deb is not package $p"
    [ "$(dpkg-deb -f "$deb" Version)" = "${version[$p]}" ] || fail "$p is not version ${version[$p]}"
    packed=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./usr/||' | sort)
    [ "$packed" = "$(expected_files "$p")" ] ||
        fail "package $p holds other files:
$(diff <(expected_files "$p") <(echo "$packed"))"

    depends=$(dpkg-deb -f "$deb" Depends)
    grep -q 'libc6' <<<"$depends" || fail "$p does not depend on libc6: $depends"
    case $p in
    tallowbar)
        grep -qi webengine <<<"$depends" && fail "tallowbar depends on WebEngine: $depends"
        grep -qi libqt6network <<<"$depends" && fail "tallowbar depends on Qt Network: $depends"
        for d in libqt6widgets6 libqt6gui6 fonts-dejavu-core; do
            grep -qw "$d" <<<"$depends" || fail "tallowbar does not depend on $d: $depends"
        done ;;
    brambleview)
        for d in libqt6webenginewidgets6 libqt6widgets6 libqt6gui6 fonts-dejavu-core; do
            grep -qw "$d" <<<"$depends" || fail "brambleview does not depend on $d: $depends"
        done ;;
    vellskin)
        grep -qiE 'webengine|widgets' <<<"$depends" && fail "vellskin depends on widgets: $depends" ;;
    esac
    # Qt's X11 platform plugin is in libqt6gui6; nothing else is loaded at run time.
    grep -qw qt6-qpa-plugins <<<"$depends" && fail "$p depends on qt6-qpa-plugins: $depends"

    # The packed binary, as a user gets it.
    mkdir -p "$scratch/x/$p" && dpkg-deb -x "$deb" "$scratch/x/$p"
    needed=$(readelf -d "$scratch/x/$p/usr/bin/$p" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
    grep -q libQt6Core <<<"$needed" || fail "readelf found no NEEDED entries in $p"
    if [ "$p" = brambleview ]; then
        grep -q '^libQt6WebEngineWidgets\.so' <<<"$needed" || fail "brambleview does not link WebEngine"
    elif grep -qi webengine <<<"$needed"; then
        fail "$p links WebEngine: $(grep -i webengine <<<"$needed")"
    fi
    # Hardened as Debian builds: stack protector, fortified calls, PIE, relro
    # and bind now (Debian 12's flags have no control-flow protection); and
    # stripped as Debian strips, without the .comment.
    # (A sanitizer or debug build is not hardened: its second argument says.)
    if [ "${2:-hardened}" = hardened ]; then
        hardening-check --nocfprotection "$scratch/x/$p/usr/bin/$p" >"$scratch/hardening.log" 2>&1 ||
            fail "$p is not hardened: $(cat "$scratch/hardening.log")"
        grep -q 'Fortify Source functions: yes' "$scratch/hardening.log" ||
            fail "$p calls no fortified function: $(cat "$scratch/hardening.log")"
    fi
    readelf -SW "$scratch/x/$p/usr/bin/$p" | grep -qE '\] \.(comment|note) ' &&
        fail "$p keeps a .comment or .note section"
    # The ticker opens its sockets and looks names up without Qt Network.
    if [ "$p" = tallowbar ] && grep -q '^libQt6Network' <<<"$needed"; then
        fail "tallowbar links Qt Network"
    fi
done

# Errors fail, and so do the notes on hardening and unneeded sections;
# warnings and the rest are shown.
lintian --fail-on error --display-info "$scratch"/pkg/*.deb >"$scratch/lintian.log" 2>&1 ||
    fail "lintian: $(cat "$scratch/lintian.log")"
unwanted='binary-has-unneeded-section'
[ "${2:-hardened}" = hardened ] && unwanted="hardening-no-[a-z-]+|$unwanted"
grep -E "^I: .* ($unwanted) " "$scratch/lintian.log" &&
    fail "lintian finds the packages unhardened or unstripped"
grep -E '^[EW]: ' "$scratch/lintian.log" || true

echo "install and package: ok ($(cd "$scratch/pkg" && echo *.deb))"
