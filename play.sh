#!/usr/bin/env bash
# Builds the game (installing what it needs) and starts it. Extra arguments go to the game.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
# Only the program and its game folder: the tests and the benchmark are built by ./test.sh.
cmake --build build --target flarons
exec build/game/flarons "$@"
