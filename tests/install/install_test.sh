#!/usr/bin/env bash
# Installs the build into a scratch prefix and packs a .deb, then checks that
# both hold the program, its desktop entry and its icons, and nothing else.
set -euo pipefail
build=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

cmake --install "$build" --prefix "$scratch/usr" >/dev/null
expected=(
    usr/bin/tallowbar
    usr/bin/vellskin
    usr/share/applications/tallowbar.desktop
    usr/share/icons/hicolor/16x16/apps/tallowbar.png
    usr/share/icons/hicolor/32x32/apps/tallowbar.png
    usr/share/icons/hicolor/48x48/apps/tallowbar.png
    usr/share/icons/hicolor/64x64/apps/tallowbar.png
    usr/share/icons/hicolor/128x128/apps/tallowbar.png
)
for f in "${expected[@]}"; do
    [ -e "$scratch/$f" ] || { echo "missing after install: $f"; exit 1; }
done
[ -x "$scratch/usr/bin/tallowbar" ] || { echo "tallowbar is not executable"; exit 1; }
installed=$(cd "$scratch" && find . -type f | sort | sed 's|^\./||')
if [ "$installed" != "$(printf '%s\n' "${expected[@]}" | sort)" ]; then
    echo "unexpected files installed:"; echo "$installed"; exit 1
fi
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$scratch/usr/share/applications/tallowbar.desktop"
fi
grep -q '^Exec=tallowbar$' "$scratch/usr/share/applications/tallowbar.desktop"
grep -q '^Icon=tallowbar$' "$scratch/usr/share/applications/tallowbar.desktop"

(cd "$scratch" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/pkg" >/dev/null)
deb=$(ls "$scratch"/pkg/tallowbar_*.deb)
contents=$(dpkg-deb -c "$deb")
for f in "${expected[@]}"; do
    grep -q "\./$f\$" <<<"$contents" || { echo "missing in the package: $f"; exit 1; }
done
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6
echo "install and package: ok ($(basename "$deb"))"
