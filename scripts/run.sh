#!/usr/bin/env bash
# Builds the program and runs it; any arguments go to the program (default: /S, the saver full
# screen). Without a display to draw on, it renders a short film of the first-run demonstration
# instead and says where it is.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release -j "$(nproc)" --target quasarine
[ $# -eq 0 ] && set -- /S

film() {
  local film=build/quasarine-demo.webp settings
  settings=$(mktemp -d)  # no stored settings: the demonstration a first start shows
  echo "No display here, so the saver cannot be shown; rendering the demonstration instead..."
  XDG_CONFIG_HOME=$settings build/release/quasarine --render "$film" --frames 600 --size 640x360
  rm -rf "$settings"
  echo "The demonstration is in $(pwd)/$film (an animated WebP: open it in a web browser)."
}

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  film
  exit 0
fi
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
status=0
build/release/quasarine "$@" 2> >(tee "$errors" >&2) || status=$?
wait
if [ "$status" -eq 1 ] && grep -q "no display to draw on" "$errors"; then
  film
  exit 0
fi
exit "$status"
