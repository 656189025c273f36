#!/usr/bin/env bash
# Cross-builds the Windows programs on Debian with mingw-w64 into build/windows: the headless
# tools and the core tests (quasarine_core_tests.exe, GoogleTest built from Debian's sources).
# Installs the packages it needs first (quiet and quick when they are there; sudo when not root).
# With --test it also prepares Wine to run them (scripts/test.sh does so).
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++-mingw-w64-x86-64-posix libz-mingw-w64-dev googletest)
[ "${1:-}" = "--test" ] && packages+=(wine wine64)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

cmake -S . -B build/windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DQSRN_WERROR=ON -Wno-dev >/dev/null
cmake --build build/windows -j "$(nproc)"
