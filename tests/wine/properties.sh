#!/usr/bin/env bash
# quasarine.scr /c under Wine on a private Xvfb: "Quasarine Properties" opens with the factory set
# stored on the first start and its live preview moving; Escape stores nothing typed; "12a" typed
# into Red % and Alt+A store ColorRed=12; the Edit and Effect menus open the advanced and sound
# dialogs; a template saved through the system's file dialog and opened again (after it was
# changed on disk) reaches the store on Accept; Reset Properties asks first; F1 opens the manual at the focused field. A key in
# the windowed display opens the dialog, and its File "Exit" ends both.
# Usage: properties.sh BUILD_DIR (exit 77 when Wine, Xvfb, xdotool or xwd is missing); with
# PROPERTIES_PNG=FILE it also takes a picture of the dialog on the Galaxies page (README).
set -uo pipefail
source "$(dirname "$0")/lib/wine_session.sh"
wine_start "${1:-build/windows}"
SETTINGS="$APPDATA_DIR/Quasarine/settings.ini"
stored() { sed -n "s/^$1=//p" "$SETTINGS" | tr -d '\r' | head -n1; }

# props_up: starts /c and waits for the dialog; props_closed: waits for it to end.
props_up() {
  e2e_spawn wine "$SCR" /c
  PROPS=$E2E_LAST
  e2e_wait_window "Quasarine Properties" 40 >/dev/null || e2e_fail "/c showed no \"Quasarine Properties\""
  sleep 1
}
props_closed() { e2e_wait_exit "$PROPS" 20 || e2e_fail "$1"; }
# dialog_shown TITLE KEYS...: the keys open a window with that title, which Escape closes.
dialog_shown() {
  local title=$1
  shift
  e2e_xdo key "$@"
  e2e_wait_window "$title" 20 >/dev/null || e2e_fail "$* did not open \"$title\""
  e2e_xdo key Escape
  e2e_until 10 e2e_no_window "$title" || e2e_fail "Escape did not close \"$title\""
}

props_up
# Only the live preview moves on the screen.
e2e_until 10 eval '[ "$(xwd -root -silent | md5sum)" != "$(sleep 0.5; xwd -root -silent | md5sum)" ]' ||
  e2e_fail "the live preview does not animate"
[ "$(stored ColorRed)" = 100 ] && [ "$(stored AnimationType)" = 0 ] || e2e_fail "the first start did not store the factory set"
before=$(md5sum <"$SETTINGS")
e2e_xdo key alt+r
e2e_xdo type 55
e2e_xdo key Escape
props_closed "Escape did not close the dialog"
[ "$(md5sum <"$SETTINGS")" = "$before" ] || e2e_fail "Escape stored something"

props_up
dialog_shown "Advanced Settings" alt+e a
dialog_shown "Sound Effect Settings" alt+c o
e2e_xdo key alt+r
e2e_xdo type 12a
e2e_xdo key alt+a
props_closed "Alt+A did not accept and close the dialog"
[ "$(stored ColorRed)" = 12 ] || e2e_fail "Red % \"12a\" stored ColorRed=$(stored ColorRed), not 12"

# Save Template As, then the template changed on disk is opened and accepted.
template="Z:${E2E_WORK//\//\\}\\look.qsn"
props_up
e2e_xdo key alt+f a
e2e_wait_window "Enter or Select Template to Save" 20 >/dev/null || e2e_fail "Save Template As showed no file dialog"
e2e_xdo type "$template"
e2e_xdo key Return
e2e_until 20 test -f "$E2E_WORK/look.qsn" || e2e_fail "the template was not saved"
grep -q '^ColorRed=12' "$E2E_WORK/look.qsn" || e2e_fail "the saved template lacks ColorRed=12"
sed -i 's/^ColorRed=12/ColorRed=34/' "$E2E_WORK/look.qsn"
e2e_xdo key alt+f o
e2e_wait_window "Select Template to Open" 20 >/dev/null || e2e_fail "Open Template showed no file dialog"
e2e_xdo type "$template"
e2e_xdo key Return
e2e_until 10 e2e_no_window "Select Template to Open" || e2e_fail "the file dialog did not take the template"
e2e_xdo key alt+a
props_closed "Alt+A did not close the dialog after opening a template"
[ "$(stored ColorRed)" = 34 ] || e2e_fail "the opened template's ColorRed=34 was not accepted ($(stored ColorRed))"

# Reset Properties asks first: No (the default, Return) keeps the fields, Yes puts the factory
# values in them; Alt+A stores them.
for answer in Return y; do
  props_up
  e2e_xdo key alt+e r
  e2e_wait_window Quasarine 20 >/dev/null || e2e_fail "Reset Properties asked nothing"
  e2e_xdo key "$answer"
  e2e_until 10 e2e_no_window Quasarine || e2e_fail "the question of Reset Properties did not close on $answer"
  e2e_xdo key alt+a
  props_closed "Alt+A did not close the dialog after Reset Properties"
  [ "$answer" = y ] || [ "$(stored ColorRed)" = 34 ] || e2e_fail "No to Reset Properties changed the fields"
done
[ "$(stored ColorRed)" = 100 ] || e2e_fail "Reset Properties and Accept stored ColorRed=$(stored ColorRed), not 100"

# F1 opens the manual at the focused field's setting: the browser's command line in Wine's trace.
mkdir "$E2E_WORK/help" && cp "$SCR" "$E2E_WORK/help/" && echo '<html></html>' >"$E2E_WORK/help/quasarine.html"
{ wine reg add 'HKCR\.html' /ve /d htmlfile /f && wine reg add 'HKCR\htmlfile\shell\open\command' /ve /d 'winebrowser.exe "%1"' /f; } >>"$E2E_WORK/output.log" 2>&1
SCR="$E2E_WORK/help/$(basename "$SCR")" WINEDEBUG=trace+exec props_up
e2e_xdo key alt+r F1
e2e_until 10 grep -aq 'quasarine.html#ColorRed' "$E2E_WORK/output.log" || e2e_fail "F1 in Red % did not open the manual at ColorRed"
e2e_press "$(e2e_window "Quasarine Properties")" Escape e2e_ended "$PROPS" || e2e_fail "Escape did not close the dialog after F1"

# The windowed display: a key shows the dialog over it; File "Exit" ends both.
cp "$SCR" "$E2E_WORK/quasarine.exe"
sed -i 's/^Adv_WinResize=0/Adv_WinResize=1/' "$SETTINGS"  # a window with the saver's title
SCR="$E2E_WORK/quasarine.exe" wine_saver_up /s
screen=$E2E_LAST
e2e_press "$(e2e_window "QSRN:Quasarine 2.3")" x e2e_window "Quasarine Properties" >/dev/null ||
  e2e_fail "a key in the windowed display showed no properties dialog"
sleep 1
e2e_xdo key alt+f x
e2e_wait_exit "$screen" 20 || e2e_fail "File \"Exit\" did not end the windowed display"

if [ -n "${PROPERTIES_PNG:-}" ]; then
  props_up
  e2e_xdo key alt+c g
  sleep 3
  eval "$(xdotool getwindowgeometry --shell "$(e2e_window "Quasarine Properties")")"
  wine_shot && wine_pixels "$X" "$Y" "$WIDTH" "$HEIGHT" --png "$PROPERTIES_PNG"
  e2e_xdo key Escape
fi
echo "PASS: properties dialog"
