#!/usr/bin/env bash
# Pictures of the dialogs for the README and the manual, drawn by tools/screenshots under a
# private Xvfb: the properties dialog once per effect (the preview running a second and a half,
# docs/properties-<effect>.png), the advanced and sound dialogs, the about box mid-demonstration
# and the credits.
# Usage: scripts/dialog-screenshots.sh [configured build folder, default build/release]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
[ -f "$build/CMakeCache.txt" ] || { echo "no $build: configure first" >&2; exit 2; }
cmake --build "$build" --target quasarine_dialog_screenshots >/dev/null
tool=$build/tools/screenshots/quasarine_dialog_screenshots
command -v Xvfb >/dev/null || { echo "Xvfb not found: bash scripts/install-deps.sh" >&2; exit 2; }

work=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; exit 1; }

mkdir -p "$work/run" && chmod 700 "$work/run"
DISPLAY=":$(head -n1 "$work/display")" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/run" \
  XDG_CONFIG_HOME="$work/config" "$tool" "$PWD/docs"
ls docs/properties-*.png docs/advanced-settings.png docs/sound-effects.png docs/about-box.png docs/credits.png
