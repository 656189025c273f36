#!/usr/bin/env bash
# quasarine.scr /p HWND under Wine on a private Xvfb: it draws inside the window it was given
# (320x240 at 100,100, made by quasarine_test_parent.exe) and nowhere else, follows it to a new
# size, and ends once that window is destroyed.
# Usage: preview.sh BUILD_DIR (exit 77 when Wine, Xvfb, xdotool or xwd is missing)
set -uo pipefail
source "$(dirname "$0")/lib/wine_session.sh"
wine_start "${1:-build/windows}"

mkfifo "$E2E_WORK/parent.in"
e2e_spawn sh -c 'exec wine "$1" <"$2" >"$3"' sh "$PARENT_EXE" "$E2E_WORK/parent.in" "$E2E_WORK/parent.out"
exec 7>"$E2E_WORK/parent.in"
e2e_until 30 grep -q '^[0-9]' "$E2E_WORK/parent.out" || e2e_fail "the test window did not appear"
hwnd=$(head -n1 "$E2E_WORK/parent.out" | tr -d '\r')

e2e_spawn wine "$SCR" /p "$hwnd"
preview=$E2E_LAST
e2e_until 30 wine_lit 100 100 100 320 240 || e2e_fail "the preview drew nothing in its window"
wine_shot || e2e_fail "no screenshot"
read -r all _ < <(wine_pixels)
read -r inside _ < <(wine_pixels 100 100 320 240)
[ "$all" -eq "$inside" ] || e2e_fail "the preview drew outside its window ($all pixels lit, $inside inside)"

echo "480 360" >&7  # the test window grows: the preview follows
e2e_until 30 wine_lit 20 420 100 160 360 || e2e_fail "the preview did not follow its window's new size"
e2e_until 10 wine_lit 1 100 100 480 360 && read -r all _ < <(wine_pixels) && read -r inside _ < <(wine_pixels 100 100 480 360)
[ "$all" -eq "$inside" ] || e2e_fail "the preview drew outside its grown window ($all pixels lit, $inside inside)"

echo >&7  # the test window is destroyed
# Wine destroys a window of another process only about 2 s after it was asked to (Windows does
# so at once): the preview notices at its next frame after that.
e2e_wait_exit "$preview" 10 || e2e_fail "the preview did not end when its window was destroyed"
grep -q destroyed "$E2E_WORK/parent.out" || e2e_fail "the test window was not destroyed"
exec 7>&-
echo "PASS: the preview under Wine draws inside its window, follows its size and ends with it"
