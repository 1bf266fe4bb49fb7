#!/usr/bin/env bash
# Builds the game (installing what it needs) and starts it. Extra arguments go to the game.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
exec build/game/flarons "$@"
