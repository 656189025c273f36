#!/usr/bin/env bash
# The Windows saver under Wine, for the README: quasarine.scr /s on a private Xvfb at 960x540
# with the galaxies and a message line, a screenshot after eight seconds (docs/windows-saver.png),
# and its pacing: the median frame interval of each second (QSRN_PRESENT_LOG) and the processor
# time the saver took per second of wall time.
# Usage: scripts/windows-screenshot.sh [build folder of scripts/build-windows.sh, default build/windows]
set -uo pipefail
cd "$(dirname "$0")/.."
export WINE_SCREEN=960x540x24
source tests/wine/lib/wine_session.sh
wine_start "${1:-build/windows}"
wine_settings "[General]" "AnimationType=5" "LockMessage=Quasarine under Wine" \
  "[Advanced]" "Adv_FontName=Tahoma" "Adv_FontSize=16"
export QSRN_PRESENT_LOG=1
wine_saver_up /s
saver=$E2E_LAST
ticks() { awk '{ print $14 + $15 }' "/proc/$(pgrep -f 'quasarine.scr /s' | head -n1)/stat"; }
sleep 3
before=$(ticks)
sleep 5
after=$(ticks)
wine_shot && wine_pixels --png docs/windows-saver.png
e2e_xdo key Escape
e2e_wait_exit "$saver" 15 || e2e_fail "the saver did not end"
echo "docs/windows-saver.png"
grep 'median interval' "$E2E_WORK/output.log" | tail -n 5
awk -v a="$after" -v b="$before" -v hz="$(getconf CLK_TCK)" \
  'BEGIN { printf "processor time of the saver: %.1f %% of one core\n", 100 * (a - b) / hz / 5 }'
