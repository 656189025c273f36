#!/usr/bin/env bash
# The windowed display (a copy named .exe beside the program): it stores its placement in twips
# on Escape and comes back there on the next start.
set -uo pipefail
source "$(dirname "$0")/lib/x11_session.sh"
e2e_start "$1"

mkdir -p "$E2E_WORK/bin"
cp "$PROGRAM" "$E2E_WORK/bin/quasarine"
cp "$PROGRAM" "$E2E_WORK/bin/quasarine.exe"
e2e_setting Advanced Adv_WinResize 1

# /S is ignored: the .exe copy makes every start the windowed display.
e2e_spawn "$E2E_WORK/bin/quasarine" /S
screen=$E2E_LAST
win=$(e2e_wait_window "QSRN:Quasarine 2.3" 10) || e2e_fail "the windowed display did not appear"
xdotool windowsize "$win" 400 300
xdotool windowmove "$win" 120 90
sleep 0.7
e2e_key_ends "$screen" "$win" Escape || e2e_fail "Escape did not end the windowed display"
[ "$(e2e_stored WindowState)" = "0" ] || e2e_fail "WindowState is '$(e2e_stored WindowState)'"
[ "$(e2e_stored WindowSize)" = "01800013500600004500" ] ||
  e2e_fail "WindowSize is '$(e2e_stored WindowSize)'"

e2e_spawn "$E2E_WORK/bin/quasarine"
screen=$E2E_LAST
win=$(e2e_wait_window "QSRN:Quasarine 2.3" 10) || e2e_fail "the windowed display did not come back"
sleep 0.7
geometry=$(xdotool getwindowgeometry "$win")
echo "$geometry" | grep -q "Position: 120,90" || e2e_fail "restored at: $geometry"
echo "$geometry" | grep -q "Geometry: 400x300" || e2e_fail "restored with: $geometry"
e2e_key_ends "$screen" "$win" Escape || e2e_fail "Escape did not end the windowed display again"
echo "windowed_placement: ok"
