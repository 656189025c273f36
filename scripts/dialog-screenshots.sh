#!/usr/bin/env bash
# Pictures of the about box (mid-demonstration), the credits and the advanced and sound dialogs,
# taken under a private Xvfb server into docs/ for the manual and the README.
# Usage: scripts/dialog-screenshots.sh [BUILD_DIR]   (default build/release, built beforehand)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
source tests/e2e/lib/x11_session.sh
e2e_start "$build/quasarine"
QSRN_SCREENSHOT_DIR="$PWD/docs" "$build/tests/quasarine_app_tests" --gtest_filter='DialogScreenshots.*' \
  >>"$E2E_WORK/output.log" 2>&1 || e2e_fail "the screenshot test failed"
ls -l docs/about-box.png docs/credits.png docs/advanced-settings.png docs/sound-effects.png
