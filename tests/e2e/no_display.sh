#!/usr/bin/env bash
# Without any display every display mode says so in one line on stderr and exits with status 1,
# naming the displays it tried; --help, --version and --render keep working. --render FILE.webp
# writes one animated image holding exactly the frames asked for, even when frames repeat;
# FILE.gif one GIF89a animation.
set -uo pipefail
source "$(dirname "$0")/lib/x11_session.sh"
PROGRAM=$1
e2e_work
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
fail() { e2e_fail "$*" "$(cat "$E2E_WORK/err" 2>/dev/null)"; }

for mode in "/S" "/C" "" "/P 0x400001" "-root" "-window-id 42" "x.qsn"; do
  # shellcheck disable=SC2086
  "$PROGRAM" $mode >"$E2E_WORK/out" 2>"$E2E_WORK/err"
  status=$?
  [ "$status" -eq 1 ] || fail "'$mode' exited with $status"
  [ "$(wc -l <"$E2E_WORK/err")" -eq 1 ] && grep -q "no display to draw on: " "$E2E_WORK/err" || fail "'$mode' said:"
done
# A named display that does not answer is named, not reported as unset.
WAYLAND_DISPLAY=gone-$$ "$PROGRAM" /S 2>"$E2E_WORK/err"
grep -q "no Wayland compositor answers at \"$XDG_RUNTIME_DIR/gone-$$\"" "$E2E_WORK/err" || fail "a dead Wayland socket:"
DISPLAY=:1999 "$PROGRAM" /S 2>"$E2E_WORK/err"
grep -q 'cannot open the X display ":1999"' "$E2E_WORK/err" || fail "a dead X display:"
rm -f "$E2E_WORK/err"
"$PROGRAM" --help | grep -q "^Usage: quasarine" || fail "--help"
"$PROGRAM" -h | grep -q "^Usage: quasarine" || fail "-h"
"$PROGRAM" --version | grep -q "^Quasarine 2.3" || fail "--version"

"$PROGRAM" --render "$E2E_WORK/film.gif" --effect 5 --frames 20 --size 160x90 --seed 4 || fail "--render film.gif"
[ "$(head -c 6 "$E2E_WORK/film.gif")" = "GIF89a" ] || fail "film.gif is no GIF89a"
[ "$(tail -c 1 "$E2E_WORK/film.gif" | od -An -tx1 | tr -d ' ')" = "3b" ] || fail "film.gif is cut short"
command -v webpmux >/dev/null 2>&1 || { echo "SKIP: webpmux is not installed"; exit 77; }
# frames FILE: the number of frames in an animated WebP file.
frames() { webpmux -info "$1" | sed -n 's/^Number of frames: *//p'; }
"$PROGRAM" --render "$E2E_WORK/film.webp" --effect 1 --frames 37 --size 160x90 --seed 4 || fail "--render film.webp"
[ "$(frames "$E2E_WORK/film.webp")" = "37" ] || fail "film.webp holds $(frames "$E2E_WORK/film.webp") frames, not 37"
# A mask without effects draws black frames only: every one of them is still a frame.
"$PROGRAM" --render "$E2E_WORK/black.WEBP" --frames 12 --size 64x48 --seed 4 \
  --set AnimationType=0 --set Adv_EffectFPC=100 --set Adv_PickQSRN=0 || fail "--render black.WEBP"
[ "$(frames "$E2E_WORK/black.WEBP")" = "12" ] || fail "black.WEBP holds $(frames "$E2E_WORK/black.WEBP") frames, not 12"
echo "no_display: ok"
