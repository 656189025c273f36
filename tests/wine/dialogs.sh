#!/usr/bin/env bash
# The advanced and sound dialogs of quasarine.scr /c under Wine on a private Xvfb: a delay (a
# letter refused) and a multiplier typed into Advanced Settings are stored on OK, its message
# text reaches the store with the properties dialog's Accept; in Sound Effect Settings, Browse
# without a slot is refused with the dialog's message, a missing file is refused by the system's
# file dialog with ours, an existing one picked there is stored for the chosen slot on OK, and the
# next file dialog starts in its folder.
# With DOCS_SHOTS=1 it also writes the README's pictures docs/windows-advanced.png and
# docs/windows-sound.png.
# Usage: dialogs.sh BUILD_DIR (exit 77 when Wine, Xvfb, xdotool or xwd is missing)
set -uo pipefail
DOCS=$(cd "$(dirname "$0")/../../docs" && pwd)
source "$(dirname "$0")/lib/wine_session.sh"
wine_start "${1:-build/windows}"
SETTINGS="$APPDATA_DIR/Quasarine/settings.ini"
stored() { sed -n "s/^$1=//p" "$SETTINGS" | tr -d '\r' | head -n1; }
told() { grep -q "msgbox.*\"$1\"" "$E2E_WORK/output.log"; }
# shot NAME TITLE: the window with that title as docs/windows-NAME.png, when asked for (read from
# the window itself: Xvfb's screen may not show a window that opened over another).
shot() {
  [ -n "${DOCS_SHOTS:-}" ] || return 0
  sleep 1
  xwd -id "$(e2e_window "$2")" -silent >"$E2E_WORK/screen.xwd" && wine_pixels --png "$DOCS/windows-$1.png" >/dev/null
}
# box_closed TEXT: the message box telling TEXT was shown and Return closed it.
box_closed() {
  local box
  e2e_until 10 told "$1" || e2e_fail "no message \"$1\""
  box=$(e2e_wait_window Quasarine 10) || e2e_fail "the message \"$1\" is not shown"
  e2e_press "$box" Return e2e_no_window Quasarine || e2e_fail "Return did not close the message \"$1\""
}
# pick NAME COMMAND...: types NAME over the file dialog's File name field and presses Return until
# the command succeeds (keys sent while the dialog is still taking the focus back can be lost).
pick() {
  local name=$1 dialog
  shift
  for _ in 1 2 3; do
    dialog=$(e2e_window "Select Quasarine Audio File") || break
    e2e_xdo windowfocus "$dialog"
    sleep 0.3
    e2e_xdo key alt+n End shift+Home
    e2e_xdo type "$name"
    e2e_xdo key Return
    e2e_until 4 "$@" && return 0
  done
  "$@"
}

WINEDEBUG=trace+msgbox e2e_spawn wine "$SCR" /c
props=$E2E_LAST
e2e_wait_window "Quasarine Properties" 40 >/dev/null || e2e_fail "/c showed no \"Quasarine Properties\""
sleep 1

e2e_xdo key alt+e a
e2e_wait_window "Advanced Settings" 20 >/dev/null || e2e_fail "Edit > Advanced Settings showed no dialog"
sleep 0.5
e2e_xdo key alt+y
e2e_xdo type 7x
e2e_xdo key alt+p
e2e_xdo type 2.5
e2e_xdo key alt+t
e2e_xdo type "Hello there"
shot advanced "Advanced Settings"
e2e_xdo key Return
e2e_until 10 e2e_no_window "Advanced Settings" || e2e_fail "OK did not close Advanced Settings"
[ "$(stored Adv_TimeDelay)" = 7 ] && [ "$(stored Adv_PerfMult)" = 2.5 ] ||
  e2e_fail "OK stored Adv_TimeDelay=$(stored Adv_TimeDelay) Adv_PerfMult=$(stored Adv_PerfMult), not the typed 7 and 2.5"

wave="$E2E_WORK/jet.wav"
cp "$(dirname "$SCR")/jetburst.wav" "$wave" 2>/dev/null || printf 'RIFF' >"$wave"
e2e_xdo key alt+c o
sound=$(e2e_wait_window "Sound Effect Settings" 20) || e2e_fail "Effect > Sounds showed no dialog"
sleep 0.5
e2e_xdo key alt+e alt+w
box_closed "Please select an Effect Type."
e2e_xdo windowfocus "$sound"
sleep 0.3
e2e_xdo key alt+b Down
shot sound "Sound Effect Settings"
e2e_xdo key alt+w
e2e_wait_window "Select Quasarine Audio File" 20 >/dev/null || e2e_fail "Browse showed no file dialog"
pick "Z:${E2E_WORK//\//\\}\\missing.wav" told "Please select an existing file."
box_closed "Please select an existing file."
pick "Z:${wave//\//\\}" e2e_no_window "Select Quasarine Audio File" || e2e_fail "the file dialog did not take an existing file"
# The next file dialog starts where the last one was closed: the bare name is found there.
sleep 0.5
e2e_xdo key alt+b Down alt+w
e2e_wait_window "Select Quasarine Audio File" 20 >/dev/null || e2e_fail "Browse showed no file dialog the second time"
pick jet.wav e2e_no_window "Select Quasarine Audio File" ||
  e2e_fail "the second file dialog did not start in the folder used last"
e2e_press "$sound" Return e2e_no_window "Sound Effect Settings" || e2e_fail "OK did not close Sound Effect Settings"
[ "$(stored SoundFX_ON)" = 1 ] && [ "$(stored Fire_Launch)" = "Z:${wave//\//\\}" ] && [ "$(stored Fire_Standard)" = "$(stored Fire_Launch)" ] ||
  e2e_fail "OK stored SoundFX_ON=$(stored SoundFX_ON) Fire_Launch=$(stored Fire_Launch) Fire_Standard=$(stored Fire_Standard)"

e2e_press "$(e2e_window "Quasarine Properties")" alt+a e2e_ended "$props" || e2e_fail "Alt+A did not accept the properties"
[ "$(stored LockMessage)" = "Hello there" ] || e2e_fail "the advanced dialog's message was not stored on Accept ($(stored LockMessage))"
echo "PASS: the advanced and sound dialogs store what was typed and picked, with their checks' messages"
