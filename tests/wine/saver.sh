#!/usr/bin/env bash
# quasarine.scr /s under Wine on a private Xvfb: it draws; a key ends it; a second /s while it
# runs ends at once; three mouse moves leave it running and the fourth ends it; a stored setting
# (fireworks in one fixed red hue) changes what it draws, with sound on: the bursts play our
# sounds beside the program (with no audio device under Wine) and a FIFO named as the launch
# sound stalls nothing. A template that cannot be read is told in a message box. A copy named
# quasarine.exe opens the windowed display instead, which Escape ends and which opens again
# where it was left. A new resolution of the monitor while it runs is followed.
# Usage: saver.sh BUILD_DIR (exit 77 when Wine, Xvfb, xdotool, xwd or xrandr is missing)
set -uo pipefail
source "$(dirname "$0")/lib/wine_session.sh"
wine_start "${1:-build/windows}"

# The demonstration of a first start, in every hue.
wine_saver_up /s
saver=$E2E_LAST
e2e_until 20 wine_lit 200 || e2e_fail "the saver drew nothing"
wine_shot && read -r _ default_red < <(wine_pixels)
e2e_spawn wine "$SCR" /S
e2e_wait_exit "$E2E_LAST" 20 || e2e_fail "a second /S did not end while the saver runs"
e2e_running "$saver" || e2e_fail "a second /S ended the running saver"
e2e_xdo key x
e2e_wait_exit "$saver" 15 || e2e_fail "a key did not end the saver"

# The pointer starts in the middle of the screen; each move goes somewhere new.
wine_saver_up -s
saver=$E2E_LAST
for at in "100 100" "200 150" "300 200"; do
  e2e_xdo mousemove $at
  sleep 0.3
done
sleep 1
e2e_running "$saver" || e2e_fail "three mouse moves ended the saver"
e2e_xdo mousemove 500 400
e2e_wait_exit "$saver" 15 || e2e_fail "the fourth mouse move did not end the saver"

mkfifo "$E2E_WORK/launch.wav"
fifo="Z:${E2E_WORK//\//\\}\\launch.wav"
ours=$(cd "$(dirname "$SCR")" && pwd) && ours="Z:${ours//\//\\}\\"
[ -f "$(dirname "$SCR")/standard.wav" ] || e2e_fail "the program's sounds are not beside it"
wine_settings "[General]" "AnimationType=0" "FixedHues=1" "ColorRed=100" "ColorGrn=0" "ColorBlu=0" \
  "[SoundFX]" "SoundFX_ON=1" "Fire_Launch=$fifo" "Fire_Standard=${ours}standard.wav" \
  "Fire_MultiBurst=${ours}multiburst.wav" "Fire_JetBurst=${ours}jetburst.wav" "Fire_Scintil=${ours}scintillator.wav" \
  "Fire_Sparkle=${ours}sparkler.wav" "Fire_RingDisk=${ours}rings.wav" "Fire_Twister=${ours}twister.wav" \
  "Fire_DecayStar=${ours}decaystar.wav"
wine_saver_up /s
saver=$E2E_LAST
# Launch trails come first; once shells burst, red shades are a good share of what is lit.
reddish() { wine_shot && read -r lit red < <(wine_pixels) && awk -v l="$lit" -v r="$red" 'BEGIN { exit !(l >= 200 && r >= 0.25) }'; }
e2e_until 30 reddish && awk -v d="$default_red" 'BEGIN { exit !(d < 0.1) }' ||
  e2e_fail "the stored red hue did not change the picture (${lit:-0} pixels lit, red share ${red:-0}, $default_red before)"
e2e_xdo key Escape
e2e_wait_exit "$saver" 15 || e2e_fail "a key did not end the saver"

# A template that cannot be read: the message Linux prints, in a box of its own (Wine's trace shows
# its text), and no saver.
WINEDEBUG=trace+msgbox e2e_spawn wine "$SCR" "Z:${E2E_WORK//\//\\}\\missing.qsn"
job=$E2E_LAST
box=$(e2e_wait_window Quasarine 30) || e2e_fail "no message box for a template that cannot be read"
grep -q 'msgbox.*cannot import .*missing.qsn: ' "$E2E_WORK/output.log" || e2e_fail "the message box does not say what went wrong"
e2e_no_window "QSRN:Quasarine 2.3" || e2e_fail "the saver ran after a template that cannot be read"
e2e_press "$box" Return e2e_ended "$job" && [ "$E2E_STATUS" = 1 ] || e2e_fail "the program did not end with 1 after the message"

# The name rule: with Adv_WinResize a sizable window with the saver's title, whatever the switch.
cp "$SCR" "$E2E_WORK/quasarine.exe"
wine_settings "[Advanced]" "Adv_WinResize=1"
SCR="$E2E_WORK/quasarine.exe" wine_saver_up /s
screen=$E2E_LAST
size=$(e2e_size "$(e2e_window "QSRN:Quasarine 2.3")")
[ "$size" != "800x600" ] || e2e_fail "quasarine.exe /s covered the screen instead of opening the windowed display"
# Moved and resized, it opens there again the next time.
place() { xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
                                   /Width:/ { w = $2 } /Height:/ { h = $2 } END { print x "," y " " w "x" h }'; }
win=$(e2e_window "QSRN:Quasarine 2.3")
e2e_xdo windowmove "$win" 130 90 && e2e_xdo windowsize "$win" 420 300 && sleep 1
left=$(place "$win")
[ "$left" = "130,90 420x300" ] || e2e_fail "the windowed display was not moved and resized ($left)"
e2e_press "$win" Escape e2e_ended "$screen" || e2e_fail "Escape did not end the windowed display"
grep -q "^WindowSize=[0-9]\{20\}" "$APPDATA_DIR/Quasarine/settings.ini" || e2e_fail "the windowed display's place was not stored"
SCR="$E2E_WORK/quasarine.exe" wine_saver_up /s
win=$(e2e_window "QSRN:Quasarine 2.3")
again=$(place "$win")
[ "$again" = "$left" ] || e2e_fail "the windowed display opened at $again, not where it was left ($left)"
e2e_press "$win" Escape e2e_ended "$E2E_LAST" || e2e_fail "Escape did not end the windowed display"

# The monitor's resolution changed while the saver runs: its window follows and it keeps drawing.
xrandr --newmode small 0 640 0 0 0 480 0 0 0 && xrandr --addmode screen small || e2e_fail "Xvfb took no second mode"
wine_saver_up /s
saver=$E2E_LAST
wine "$PARENT_EXE" --display 640 480 >>"$E2E_WORK/output.log" 2>&1 || e2e_fail "Wine did not change the display mode"
e2e_until 10 eval '[ "$(e2e_size "$(e2e_window "QSRN:Quasarine 2.3")")" = 640x480 ]' ||
  e2e_fail "the saver's window did not follow the monitor's new size"
e2e_until 10 wine_lit 200 0 0 640 480 || e2e_fail "the saver drew nothing at the new size"
e2e_xdo key x
e2e_wait_exit "$saver" 15 || e2e_fail "a key did not end the saver after the change"
echo "PASS: the saver under Wine draws, ends on a key and the fourth move, follows the stored settings; a bad template is told in a box; quasarine.exe is the windowed display; a new resolution is followed"
