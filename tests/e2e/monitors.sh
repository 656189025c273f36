#!/usr/bin/env bash
# /S on a real X server (Xorg, dummy driver) with three monitors: one saver window per monitor,
# exactly placed and drawing; the windows never raise against each other (no storm of restacks
# on the root) yet stay above a window that opens later; a monitor switched off loses its window
# and gets it back when switched on; a click on another monitor, and a key, end all at once.
# Prints the frames per second of every monitor with three, two and one monitors.
set -uo pipefail
source "$(dirname "$0")/lib/x11_session.sh"
PROGRAM=$1
e2e_need xev xwd xdotool xwininfo xmessage
e2e_work
export QT_QPA_PLATFORM=xcb QT_LOGGING_RULES=qsrn.present.debug=true
unset WAYLAND_DISPLAY
printf '[General]\nAnimationType=1\n' >"$XDG_CONFIG_HOME/quasarine/settings.ini"  # the Starfield: it never rests
e2e_dummy_xorg 1920 1080

# on N: monitors DUMMY0 to DUMMY(N-1) on, 640x480 side by side; the others off.
on() { e2e_monitors "$1" 640x480 || e2e_fail "xrandr could not switch to $1 monitors"; }
# The ids of the shown saver windows.
savers() { xdotool search --onlyvisible --name '^QSRN:Quasarine 2\.3$' 2>/dev/null; }
# covered N: true when exactly N saver windows are shown, one exactly on each monitor.
covered() {
  local id places=""
  for id in $(savers); do
    places+=$(xwininfo -id "$id" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
      /Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h "+" x "+" y " " }')
  done
  local want="" i
  for i in $(seq 0 $(( $1 - 1 ))); do want+="640x480+$(( i * 640 ))+0 "; done
  [ "$(tr ' ' '\n' <<<"$places" | sort | xargs)" = "$(tr ' ' '\n' <<<"$want" | sort | xargs)" ]
}
# presented SCREEN: the last running frame count of that monitor ("" for the first one).
presented() {
  local where=${1:+ on $1}
  sed -n "s/.*: \([0-9]*\) frames presented$where at \([0-9.]*\)\$/\1 \2/p" "$E2E_WORK/output.log" | tail -n1
}
# fps N: prints the frames per second of each of the first N monitors over 3 s.
fps() {
  local names=("" DUMMY1 DUMMY2) before=() line i
  sleep 1.5  # a report about every second: the counts start from fresh ones
  for i in $(seq 0 $(( $1 - 1 ))); do before+=("$(presented "${names[$i]}")"); done
  sleep 3
  line="$1 monitor(s), frames per s:"
  for i in $(seq 0 $(( $1 - 1 ))); do
    line+=$(awk -v a="${before[$i]}" -v b="$(presented "${names[$i]}")" 'BEGIN {
      split(a, x, " "); split(b, y, " "); printf " %.1f", (y[2] > x[2]) ? (y[1] - x[1]) / (y[2] - x[2]) : 0 }')
  done
  echo "$line"
}
# drawing: every shown saver window shows a different picture 0.3 s later.
drawing() {
  local id
  for id in $(savers); do
    xwd -silent -id "$id" >"$E2E_WORK/a.xwd" 2>/dev/null && sleep 0.3 &&
      xwd -silent -id "$id" >"$E2E_WORK/b.xwd" 2>/dev/null || return 1
    cmp -s "$E2E_WORK/a.xwd" "$E2E_WORK/b.xwd" && return 1
  done
  return 0
}
# ends_within_ms MS XDOTOOL-COMMAND...: gives the input through an xdotool that has already
# connected (its start-up is no part of the time) and waits for the saver to end; false when
# that takes longer than MS milliseconds, or a saver window stays. Prints the time it took.
ends_within_ms() {
  local ms=$1 t0 t1
  shift
  rm -f "$E2E_WORK/xdo" && mkfifo "$E2E_WORK/xdo"
  xdotool - <"$E2E_WORK/xdo" >/dev/null 2>&1 &
  exec 7>"$E2E_WORK/xdo"
  sleep 0.3
  t0=$(date +%s%N)
  echo "$*" >&7
  while e2e_running "$saver"; do sleep 0.002; done
  t1=$(date +%s%N)
  exec 7>&-
  echo "ended $(( (t1 - t0) / 1000000 )) ms after the input"
  [ $(( (t1 - t0) / 1000000 )) -le "$ms" ] && [ -z "$(savers)" ]
}

on 3
e2e_spawn "$PROGRAM" /S
saver=$E2E_LAST
e2e_until 10 covered 3 || e2e_fail "the three monitors are not covered, one window each"
e2e_until 5 drawing || e2e_fail "a monitor does not draw"
timeout 3 xev -root -event substructure >"$E2E_WORK/xev.log" 2>&1
restacks=$(grep -c '^ConfigureNotify' "$E2E_WORK/xev.log")
echo "restacks on the root in 3 s: $restacks"
[ "$restacks" -le 10 ] || e2e_fail "the saver windows keep restacking ($restacks in 3 s)"
fps 3

e2e_saver_on_top 700 100

on 2
e2e_until 5 covered 2 || e2e_fail "the window of the monitor switched off stayed"
fps 2
on 1
e2e_until 5 covered 1 || e2e_fail "the windows of the monitors switched off stayed"
fps 1
on 3
e2e_until 5 covered 3 || e2e_fail "the monitors switched on again are not covered"
e2e_until 5 drawing || e2e_fail "a monitor switched on again does not draw"
e2e_running "$saver" || e2e_fail "switching monitors ended the saver"
e2e_xdo mousemove 1000 200  # one move: three more would end it too
sleep 0.2
ends_within_ms 100 click 1 || e2e_fail "a click on the second monitor did not end all at once"

e2e_spawn "$PROGRAM" /S
saver=$E2E_LAST
e2e_until 10 covered 3 || e2e_fail "the three monitors are not covered the second time"
sleep 1
ends_within_ms 100 key space || e2e_fail "a key did not end all at once"
echo "monitors: ok"
