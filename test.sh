#!/usr/bin/env bash
# Builds everything (installing what it needs) and runs every test. BUILD_TYPE and BUILD_DIR choose
# another build, e.g. BUILD_TYPE=Release BUILD_DIR=build-release ./test.sh
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
build_type=${BUILD_TYPE:-RelWithDebInfo}
build_dir=${BUILD_DIR:-build}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE="$build_type" -DFLARONS_WERROR=ON
cmake --build "$build_dir"
# The long tests are left out of a plain ctest; `ctest -C long -L long` runs them.
ctest --test-dir "$build_dir" -j2 --output-on-failure
