#!/usr/bin/env bash
# Builds Release without tests in build-package/ and makes the Debian package there:
# build-package/flarons_<version>_<arch>.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh dpkg-dev file
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DFLARONS_TESTS=OFF >/dev/null
cmake --build build-package
(cd build-package && cpack -G DEB)
