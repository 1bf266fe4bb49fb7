#!/bin/sh
# Soaks every shipped map: 30 minutes of match time headless with nobody playing, and again with
# both ships firing at random; then checks the pads, spawn points and flags and prints a table.
# Extra arguments go to the soak, e.g. scripts/soak.sh --map Duel --minutes 5 --shots /tmp/soak
set -e
cd "$(dirname "$0")/.."
if [ ! -f build/build.ninja ]; then
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build build --target flarons_soak
# One soak at a time, at a lower priority, so the machine stays usable.
exec nice -n 10 build/flarons_soak build/game "$@"
