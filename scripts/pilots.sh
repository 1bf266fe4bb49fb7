#!/bin/sh
# Plays computer pilots against each other headless on every shipped map with fixed seeds and prints
# a table: normal against nobody, hard against easy, normal against normal, and normal alone for
# 10 minutes with lives unlimited (mode alone: its wrecks of its own doing).
# Extra arguments go to the tool, e.g. scripts/pilots.sh --matches 5 --map Duel --mode hard-easy
set -e
cd "$(dirname "$0")/.."
if [ ! -f build/build.ninja ]; then
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build build --target flarons_pilot_matches
exec nice -n 10 build/flarons_pilot_matches build/game "$@"
