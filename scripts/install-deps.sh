#!/usr/bin/env bash
# Installs the Debian packages Quasarine needs: by default what building and running it needs;
# with --test also what the tests, the end-to-end tests and the fuzzer need. With --windows, what
# cross-building the Windows programs needs instead (and with --windows --test, Wine to test them).
# Quiet and quick when everything is already there; uses sudo when not root.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-wayland libgl-dev libx11-dev libxcb1-dev libxcb-shm0-dev
  libsdl2-mixer-dev libwebp-dev zlib1g-dev
)
if [ "${1:-}" = "--windows" ]; then
  # g++ builds the sound generator for this machine; the sounds go beside quasarine.scr.
  # cmark-gfm writes the manual as HTML (its tables too); nsis makes the setup program.
  packages=(cmake ninja-build g++ g++-mingw-w64-x86-64-posix libz-mingw-w64-dev googletest cmark-gfm nsis)
  [ "${2:-}" = "--test" ] && packages+=(wine wine64 python3)
elif [ "${1:-}" = "--test" ]; then
  packages+=(
    libgtest-dev googletest
    clang libclang-rt-dev
    xvfb xdotool x11-utils webp python3 weston
    xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils x11-apps
    dpkg-dev lintian
  )
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
