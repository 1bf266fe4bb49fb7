#!/bin/sh
# Re-records the golden replays from their scripts: ./tests/replays/record.sh [build folder]
# Each runs a headless match on a shipped map with a fixed seed and keeps the replay it leaves.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../../build}
game=$build/game/flarons
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# name map lives seed
while read -r name map lives seed; do
    home=$work/$name
    echo "0 close" > "$work/close.txt"
    "$game" --headless --home "$home" --script "$work/close.txt"
    # Options.DAT: the map path (length byte and 42 characters) at 464, the lives at 509.
    printf '%s' "$map" | wc -c | { read -r n; printf "\\$(printf '%03o' "$n")"; } |
        dd of="$home/Options.DAT" bs=1 seek=464 conv=notrunc status=none
    printf '%s' "$map" | dd of="$home/Options.DAT" bs=1 seek=465 conv=notrunc status=none
    printf "\\$(printf '%03o' "$lives")" | dd of="$home/Options.DAT" bs=1 seek=509 conv=notrunc status=none
    "$game" --headless --home "$home" --seed "$seed" --match --script "$here/$name.txt"
    cp "$home"/replays/match-*.rpl "$here/$name.rpl"
    "$game" --headless --replay "$here/$name.rpl" --verify
done <<LIST
duel maps\\Duel.map 2 11
glacier maps\\Glacier.map 5 12
hive maps\\Hive.map 5 13
LIST
