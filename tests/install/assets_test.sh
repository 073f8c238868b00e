#!/usr/bin/env bash
# Each binary carries its own program's pictures and nothing of the other's:
#   assets_test.sh BINARY OWN_PROGRAM|none
# Looks at the resource initialisers the binary links and at the file names in
# its resource tree (rcc stores them as big-endian UTF-16).
set -euo pipefail
binary=$1 own=$2
declare -A skins=([tallowbar]=ticker_skin.bmp [brambleview]=panel_skin.bmp)

linked=$(nm -C "$binary" | sed -n 's/.* qInitResources_forms_\([a-z]*\)_assets().*/\1/p' | sort -u)
names=$(strings -e b "$binary")
if [ "$own" = none ]; then
    [ -z "$linked" ] || { echo "$binary carries pictures of: $linked"; exit 1; }
else
    [ "$linked" = "$own" ] || { echo "$binary carries pictures of: ${linked:-nothing}"; exit 1; }
fi
for program in "${!skins[@]}"; do
    if [ "$program" = "$own" ]; then
        grep -qx "${skins[$program]}" <<<"$names" || { echo "$binary lacks ${skins[$program]}"; exit 1; }
    elif grep -qx "${skins[$program]}" <<<"$names"; then
        echo "$binary carries ${skins[$program]} of $program"
        exit 1
    fi
done
echo "$(basename "$binary"): ${own} pictures only"
