#!/usr/bin/env bash
# Drawing into another program's window. As xscreensaver and xsecurelock run a hack:
# -window-id 0x... draws into a window the test made, sized to it (a desktop's worth in the
# centre of a larger one), and ends within half a second of SIGTERM; -root draws into the
# window named by $XSCREENSAVER_WINDOW, or on the root window.
# Neither takes the keyboard or ends on input. /P draws in a child of the given window, sized to
# it, and ends within a second of the window being destroyed. And the program's own window, the
# windowed display (a copy named .exe beside the program): it stores its placement in twips on
# Escape and comes back there on the next start.
set -uo pipefail
source "$(dirname "$0")/lib/x11_session.sh"
e2e_start "$1"
e2e_need xmessage
saver="QSRN:Quasarine 2.3"
term() { kill -TERM "$hack"; e2e_wait_exit "$hack" 0.5 || e2e_fail "$1 did not end within 0.5 s of SIGTERM"; }

e2e_spawn xmessage -name qsrnhost -title qsrnhost -geometry 400x300+10+10 "hack host"
host=$E2E_LAST
hostwin=$(e2e_wait_window qsrnhost 10) || e2e_fail "the host window did not appear"

e2e_spawn "$PROGRAM" -window-id "$(printf '0x%x' "$hostwin")" -fps --effect 1
hack=$E2E_LAST
child=$(e2e_child_of "$hostwin" "$saver") || e2e_fail "-window-id drew nothing inside the window"
[ "$(e2e_size "$child")" = "400x300" ] || e2e_fail "the hack is $(e2e_size "$child") inside a 400x300 window"
e2e_xdo mousemove 50 50 mousemove 100 100 mousemove 150 150 mousemove 200 200 mousemove 60 60 key space
sleep 0.5
e2e_running "$hack" || e2e_fail "the hack ended on input"
# It follows the window's size.
e2e_xdo windowsize "$hostwin" 300 200
sleep 1.5
[ "$(e2e_size "$child")" = "300x200" ] || e2e_fail "after a resize the hack is $(e2e_size "$child") inside 300x200"
# A window larger than any desktop gets a desktop's worth in its centre, and SIGTERM stays prompt.
e2e_xdo windowsize "$hostwin" 32000 32000
sleep 2
[ "$(e2e_size "$child")" = "8192x8192" ] || e2e_fail "in a 32000x32000 window the hack is $(e2e_size "$child")"
term "the hack"
e2e_xdo windowsize "$hostwin" 300 200

XSCREENSAVER_WINDOW=$hostwin e2e_spawn "$PROGRAM" -root
hack=$E2E_LAST
e2e_child_of "$hostwin" "$saver" >/dev/null || e2e_fail "-root drew nothing inside \$XSCREENSAVER_WINDOW"
term "the -root hack"
# Without $XSCREENSAVER_WINDOW, -root draws on the root window, below the windows there.
e2e_spawn env -u XSCREENSAVER_WINDOW "$PROGRAM" -root
hack=$E2E_LAST
child=$(e2e_child_of "$(xwininfo -root | awk '/Window id:/ { print $4 }')" "$saver") ||
  e2e_fail "-root drew nothing on the root window"
[ "$(e2e_size "$child")" = "1280x720" ] || e2e_fail "-root covers $(e2e_size "$child") of a 1280x720 screen"
term "the root hack"

e2e_spawn "$PROGRAM" /p "$hostwin"
preview=$E2E_LAST
child=$(e2e_child_of "$hostwin" "QSRN:Preview Quasarine 2.3") || e2e_fail "no preview shown inside the host window"
sleep 0.5
[ "$(e2e_size "$child")" = "$(e2e_size "$hostwin")" ] ||
  e2e_fail "preview is $(e2e_size "$child") inside $(e2e_size "$hostwin")"
e2e_running "$preview" || e2e_fail "the preview ended while its window was there"
kill "$host"
wait "$host" 2>/dev/null
e2e_wait_exit "$preview" 1 || e2e_fail "the preview did not end within a second of its window"

mkdir -p "$E2E_WORK/bin"
cp "$PROGRAM" "$E2E_WORK/bin/quasarine"
cp "$PROGRAM" "$E2E_WORK/bin/quasarine.exe"
printf '[Advanced]\nAdv_WinResize=1\n' >>"$XDG_CONFIG_HOME/quasarine/settings.ini"
# /S is ignored: the .exe copy makes every start the windowed display.
e2e_spawn "$E2E_WORK/bin/quasarine" /S
screen=$E2E_LAST
win=$(e2e_wait_window "$saver" 10) || e2e_fail "the windowed display did not appear"
e2e_xdo windowsize "$win" 400 300
e2e_xdo windowmove "$win" 120 90
sleep 0.7
e2e_press "$win" Escape e2e_ended "$screen" || e2e_fail "Escape did not end the windowed display"
[ "$(e2e_stored WindowState)" = "0" ] || e2e_fail "WindowState is '$(e2e_stored WindowState)'"
[ "$(e2e_stored WindowSize)" = "01800013500600004500" ] || e2e_fail "WindowSize is '$(e2e_stored WindowSize)'"

e2e_spawn "$E2E_WORK/bin/quasarine"
screen=$E2E_LAST
win=$(e2e_wait_window "$saver" 10) || e2e_fail "the windowed display did not come back"
sleep 0.7
geometry=$(xdotool getwindowgeometry "$win")
echo "$geometry" | grep -q "Position: 120,90" || e2e_fail "restored at: $geometry"
echo "$geometry" | grep -q "Geometry: 400x300" || e2e_fail "restored with: $geometry"
e2e_press "$win" Escape e2e_ended "$screen" || e2e_fail "Escape did not end the windowed display again"
echo "host_window: ok"
