#!/usr/bin/env bash
# Installs the Debian packages the game needs to build, run and test, when any is missing.
# Extra package names given as arguments are installed too (scripts/package.sh adds its tools).
set -euo pipefail
packages=(cmake ninja-build g++ pkg-config libsdl2-dev libstb-dev libenet-dev libgtest-dev libbenchmark-dev "$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
elif command -v sudo >/dev/null 2>&1; then
  sudo apt-get update -qq
  sudo DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
else
  echo "Please install these Debian packages first: ${missing[*]}" >&2
  exit 1
fi
