#!/usr/bin/env bash
# /C shows the properties dialog: a field changed from the keyboard and accepted reaches the
# store (--print-settings shows it), a second /C meanwhile brings the first dialog forward
# instead of opening another, F1 opens the help window, the about box opens from the Help menu
# and plays its demonstrations while the dialog stays responsive, and Cancel writes nothing.
set -uo pipefail
source "$(dirname "$0")/lib/x11_session.sh"
e2e_start "$1"
title="Quasarine Properties"

e2e_spawn "$PROGRAM" /C
first=$E2E_LAST
win=$(e2e_wait_window "$title" 10) || e2e_fail "the properties dialog did not appear"
[ "$(e2e_stored FireWorks)" = 20 ] || e2e_fail "the first start did not store the factory set"

e2e_spawn "$PROGRAM" /C
e2e_wait_exit "$E2E_LAST" 5 || e2e_fail "the second /C did not end"
[ "$(xdotool search --onlyvisible --name "^$title\$" | wc -l)" -eq 1 ] || e2e_fail "a second dialog appeared"
e2e_running "$first" || e2e_fail "the first dialog ended"

# The effect list has the focus; Tab leads to the red share, whose text is selected on entry.
e2e_press "$win" Tab true
sleep 0.2
e2e_xdo type --window "$win" --delay 50 "42"
e2e_press "$win" Return e2e_ended "$first" || e2e_fail "Accept did not close the dialog"
"$PROGRAM" --print-settings | grep -qx "ColorRed=42" || e2e_fail "the accepted value is not in the store"

e2e_spawn "$PROGRAM" /C
again=$E2E_LAST
win=$(e2e_wait_window "$title" 10) || e2e_fail "the dialog did not appear again"
e2e_press "$win" Tab true
e2e_xdo type --window "$win" --delay 50 "7"
e2e_press "$win" F1 e2e_window "Quasarine Help" >/dev/null || e2e_fail "F1 did not open the help window"
e2e_press "$win" "alt+h a" e2e_window "About Quasarine" >/dev/null || e2e_fail "the about box did not open"
about=$(e2e_window "About Quasarine")
sleep 1
e2e_running "$again" || e2e_fail "the program ended with the about box open"
e2e_press "$about" Return e2e_no_window "About Quasarine" || e2e_fail "OK did not close the about box"

# Cancel (Escape) writes nothing.
e2e_press "$win" Escape e2e_ended "$again" || e2e_fail "Escape did not close the dialog"
[ "$(e2e_stored ColorRed)" = 42 ] || e2e_fail "Cancel wrote to the store"
echo "properties_dialog: ok"
