#!/bin/sh
# Re-records the golden replays from their scripts: ./tests/replays/record.sh [build folder]
# Each runs a headless match on a shipped map with a fixed seed and keeps the replay it leaves;
# then the golden screens (*.screens) are recorded anew from the game as it draws now.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../../build}
game=$build/game/flarons
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# name map lives seed weapons [game options]; weapons: the primary and special weapon numbers of
# player 1 and player 2, or - to keep the defaults
while read -r name map lives seed weapons options; do
    home=$work/$name
    echo "0 close" > "$work/close.txt"
    "$game" --headless --home "$home" --script "$work/close.txt"
    # Options.DAT: the map path (length byte and 42 characters) at 464, the lives at 509.
    printf '%s' "$map" | wc -c | { read -r n; printf "\\$(printf '%03o' "$n")"; } |
        dd of="$home/Options.DAT" bs=1 seek=464 conv=notrunc status=none
    printf '%s' "$map" | dd of="$home/Options.DAT" bs=1 seek=465 conv=notrunc status=none
    printf "\\$(printf '%03o' "$lives")" | dd of="$home/Options.DAT" bs=1 seek=509 conv=notrunc status=none
    # A pilot's weapon list: 10 bytes at 220 of its 232-byte record; the match uses the third and eighth.
    if [ "$weapons" != - ]; then
        set -- $(echo "$weapons" | tr , ' ')
        for at in 222 227 454 459; do
            printf "\\$(printf '%03o' "$1")" | dd of="$home/Options.DAT" bs=1 seek=$at conv=notrunc status=none
            shift
        done
    fi
    # shellcheck disable=SC2086
    "$game" --headless --home "$home" --seed "$seed" --match --script "$here/$name.txt" $options
    cp "$home"/replays/match-*.rpl "$here/$name.rpl"
    "$game" --headless --replay "$here/$name.rpl" --verify
done <<LIST
duel maps\\Duel.map 2 11 -
glacier maps\\Glacier.map 5 12 -
hive maps\\Hive.map 5 13 -
brawl maps\\Duel.map 5 23 0,10,11,6 --computer both --level hard
LIST
FLARONS_RECORD_SCREENS=1 "$build/tests/flarons_tests" --gtest_brief=1 \
    --gtest_filter='GoldenReplay.*:FrontEndTest.EveryScreenLooksAsRecorded:WeaponShots.*:CanvasDrawing.*'
