#!/usr/bin/env bash
# Pictures of the dialogs for the README and the manual, drawn by the dialog tests' screenshot
# cases under a private Xvfb: the properties dialog once per effect (the preview running a second
# and a half, docs/properties-<effect>.png), the advanced and sound dialogs, the about box
# mid-demonstration and the credits.
# Usage: scripts/dialog-screenshots.sh [build folder, default build/release]
set -euo pipefail
cd "$(dirname "$0")/.."
tests=${1:-build/release}/tests/quasarine_app_tests
[ -x "$tests" ] || { echo "no $tests: build first" >&2; exit 2; }
command -v Xvfb >/dev/null || { echo "Xvfb not found: bash scripts/install-deps.sh" >&2; exit 2; }

work=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; exit 1; }

mkdir -p "$work/run" && chmod 700 "$work/run"
DISPLAY=":$(head -n1 "$work/display")" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/run" \
  XDG_CONFIG_HOME="$work/config" QSRN_SCREENSHOT_DIR="$PWD/docs" \
  "$tests" --gtest_filter='PropertiesScreenshots.*:DialogScreenshots.*' >/dev/null
ls docs/properties-*.png docs/advanced-settings.png docs/sound-effects.png docs/about-box.png docs/credits.png
