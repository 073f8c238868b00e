#!/usr/bin/env bash
# Installs the Debian packages the build, the programs and the tests need.
# Does nothing when all are present; needs root or sudo otherwise.
set -euo pipefail

packages=(
    # build
    cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev libxcb1-dev libgtest-dev
    # build: the panel's embedded browser (brings the WebEngine runtime)
    qt6-webengine-dev
    # run: fonts the window definitions map their faces to
    fonts-dejavu-core fonts-liberation
    # desktop tests and the headless run: X server, window manager, tray host,
    # input driver, window inspection, screenshots
    xvfb openbox trayer xdotool x11-utils x11-xserver-utils imagemagick
    # private session buses (single instance, notifications, accessibility),
    # a real notification server (dunst, read back with dunstctl), the
    # accessibility bus and a client that reads the programs' trees as a
    # screen reader does
    dbus-daemon libglib2.0-bin dunst at-spi2-core python3-pyatspi
    # the demo and the tests' private network namespace (ip link set lo up)
    iproute2 util-linux
    # the loopback guard: every connect of the programs
    strace
    # install and package checks: desktop entries, AppStream metainfo, lintian,
    # and dpkg-shlibdeps, which cpack runs for the packages' Depends
    desktop-file-utils appstream lintian dpkg-dev
    # ... and hardening-check, which reads the packed programs' hardening
    devscripts
    # regenerating the skins: the panel's hand-lettered headings (Z003)
    fonts-urw-base35
    # module resource tests: resource-only DLLs built at test time, and an
    # independent PE reader to compare with
    binutils-mingw-w64-x86-64 binutils-mingw-w64-i686 cpp python3-pefile
    # tools/fuzz.sh: libFuzzer
    clang-14 libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    as_root=()
elif command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
else
    echo "error: these Debian packages are missing and I am not root (and there is no sudo):" >&2
    echo "  ${missing[*]}" >&2
    echo "Install them as root: apt-get update && apt-get install ${missing[*]}" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q
"${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
