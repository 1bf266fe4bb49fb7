#!/usr/bin/env bash
# Makes the screenshots named in the AppStream metainfo with the headless runner:
# dist/screenshots/match.png and ships.png, reduced to 256 colours to stay small, and the rules
# page and the map preview the README shows (howto.png, maps.png).
# Run after a build: scripts/screenshots.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh imagemagick
game=${1:-build}/game/flarons
out=dist/screenshots
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

# A first start: the rules page, then the map list with the pointer on Flagrun.
cat >"$work/ships.txt" <<SCRIPT
0 key space down
5 key space up
10 shot $out/howto.png
12 key escape down
13 key escape up
20 click 220 266
24 mouse 300 322
30 shot $out/maps.png
40 click 80 100
60 shot $out/ships.png
61 close
SCRIPT
"$game" --headless --home "$work/home" --seed 1 --script "$work/ships.txt"

# Both pilots lift off their bases and open fire.
cat >"$work/match.txt" <<SCRIPT
0 key space down
5 key space up
200 key w down
200 key up down
235 key tab down
235 key return down
250 shot $out/match.png
251 close
SCRIPT
"$game" --headless --home "$work/home" --seed 1 --match --script "$work/match.txt"
for png in "$out"/match.png "$out"/ships.png "$out"/howto.png "$out"/maps.png; do
  convert "$png" -dither None -colors 256 "PNG8:$png"
done
ls -l "$out"
