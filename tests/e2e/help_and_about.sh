#!/usr/bin/env bash
# From the properties dialog on a real X server: F1 opens the help window, the about box opens
# from the Help menu and plays its demonstrations while the dialog stays responsive, and closing
# the properties dialog closes the help window with it.
set -uo pipefail
source "$(dirname "$0")/lib/x11_session.sh"
e2e_start "$1"

e2e_spawn "$PROGRAM" /C
dialog=$E2E_LAST
win=$(e2e_wait_window "Quasarine Properties" 10) || e2e_fail "the properties dialog did not appear"
xdotool windowfocus "$win"
sleep 0.3
xdotool key --window "$win" F1
e2e_wait_window "Quasarine Help" 10 >/dev/null || e2e_fail "F1 did not open the help window"

xdotool windowfocus "$win"
sleep 0.3
xdotool key --window "$win" alt+h a
about=$(e2e_wait_window "About Quasarine" 10) || e2e_fail "the about box did not open"
sleep 1
e2e_running "$dialog" || e2e_fail "the program ended with the about box open"
xdotool windowfocus "$about"
sleep 0.2
xdotool key --window "$about" Return 2>/dev/null  # the box may be gone before the key is released
for _ in $(seq 50); do
  xdotool search --onlyvisible --name "^About Quasarine\$" >/dev/null 2>&1 || break
  sleep 0.1
done
xdotool search --onlyvisible --name "^About Quasarine\$" >/dev/null 2>&1 && e2e_fail "OK did not close the about box"

xdotool windowfocus "$win"
sleep 0.3
xdotool key --window "$win" Escape 2>/dev/null
e2e_wait_exit "$dialog" 5 || e2e_fail "Escape did not close the properties dialog"
echo "help_and_about: ok"
