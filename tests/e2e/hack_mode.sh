#!/usr/bin/env bash
# As xscreensaver and xsecurelock run a hack: -window-id 0x... draws into a window the test
# made, sized to it, and ends within half a second of SIGTERM; -root draws into the window named
# by $XSCREENSAVER_WINDOW. Neither takes the keyboard or ends on input.
set -uo pipefail
source "$(dirname "$0")/lib/x11_session.sh"
e2e_start "$1"
command -v xmessage >/dev/null 2>&1 || { echo "SKIP: xmessage is not installed"; exit 77; }

e2e_spawn xmessage -name qsrnhost -title qsrnhost -geometry 400x300+10+10 "hack host"
hostwin=$(e2e_wait_window qsrnhost 10) || e2e_fail "the host window did not appear"
hex=$(printf '0x%x' "$hostwin")

# e2e_hack_child: the id of the saver's child inside the host window, once it is shown.
e2e_hack_child() {
  local child
  for _ in $(seq 100); do
    child=$(xwininfo -children -id "$hostwin" | awk '/"QSRN:Quasarine 2.3"/ { print $1; exit }')
    if [ -n "$child" ] && xwininfo -id "$child" | grep -q "Map State: IsViewable"; then
      echo "$child"
      return 0
    fi
    sleep 0.1
  done
  return 1
}

e2e_spawn "$PROGRAM" -window-id "$hex" -fps --effect 1
hack=$E2E_LAST
child=$(e2e_hack_child) || e2e_fail "-window-id $hex drew nothing inside the window"
size=$(xwininfo -id "$child" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }')
[ "$size" = "400x300" ] || e2e_fail "the hack is $size inside a 400x300 window"
xdotool mousemove 50 50 mousemove 100 100 mousemove 150 150 mousemove 200 200 mousemove 60 60 key space
sleep 0.5
e2e_running "$hack" || e2e_fail "the hack ended on input"
# It follows the window's size.
xdotool windowsize "$hostwin" 300 200
sleep 1.5
size=$(xwininfo -id "$child" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }')
[ "$size" = "300x200" ] || e2e_fail "after a resize the hack is $size inside a 300x200 window"
kill -TERM "$hack"
e2e_wait_exit "$hack" 0.5 || e2e_fail "the hack did not end within 0.5 s of SIGTERM"

XSCREENSAVER_WINDOW=$hostwin e2e_spawn "$PROGRAM" -root
hack=$E2E_LAST
e2e_hack_child >/dev/null || e2e_fail "-root drew nothing inside \$XSCREENSAVER_WINDOW"
kill -TERM "$hack"
e2e_wait_exit "$hack" 0.5 || e2e_fail "the -root hack did not end within 0.5 s of SIGTERM"
# Without $XSCREENSAVER_WINDOW, -root draws on the root window, below the windows there.
e2e_spawn env -u XSCREENSAVER_WINDOW "$PROGRAM" -root
hack=$E2E_LAST
child=""
for _ in $(seq 100); do
  child=$(xwininfo -root -children | awk '/"QSRN:Quasarine 2.3"/ { print $1; exit }')
  [ -n "$child" ] && break
  sleep 0.1
done
[ -n "$child" ] || e2e_fail "-root drew nothing on the root window"
size=$(xwininfo -id "$child" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }')
[ "$size" = "1280x720" ] || e2e_fail "-root covers $size of a 1280x720 screen"
kill -TERM "$hack"
e2e_wait_exit "$hack" 0.5 || e2e_fail "the root hack did not end within 0.5 s of SIGTERM"
echo "hack_mode: ok"
