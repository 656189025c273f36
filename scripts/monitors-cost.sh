#!/usr/bin/env bash
# What a second monitor costs: the saver on a real X server (Xorg, dummy driver, as the monitors
# end-to-end test runs it) with one and two 1920x1080 monitors in turn, each time the processor
# time per second of the saver and of Xorg over SECONDS, and the saver's peak resident memory.
# Needs root (Xorg). ORDER (default "1 2 1 2 1 2") is the monitor counts to measure, EFFECT
# (default 1, the Starfield, which never rests) the effect.
#
# Usage: scripts/monitors-cost.sh PROGRAM [SECONDS]
set -uo pipefail
source "$(dirname "$0")/../tests/e2e/lib/x11_session.sh"
[ $# -ge 1 ] || { sed -n '2,7p' "$0" >&2; exit 2; }
PROGRAM=$(realpath "$1"); S=${2:-10}; EFFECT=${EFFECT:-1}
e2e_work
export QT_QPA_PLATFORM=xcb QT_LOGGING_RULES=qsrn.present.debug=true
unset WAYLAND_DISPLAY
[ -n "$EFFECT" ] && printf '[General]\nAnimationType=%s\n' "$EFFECT" >"$XDG_CONFIG_HOME/quasarine/settings.ini"
e2e_dummy_xorg 3840 1080
xorg=$(pgrep -n -x Xorg)
xrandr --newmode 1920x1080 173.00 1920 2048 2248 2576 1080 1083 1088 1120 -hsync +vsync 2>/dev/null
on() { e2e_monitors "$1" 1920x1080; }
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
hz=$(getconf CLK_TCK)
for n in ${ORDER:-1 2 1 2 1 2}; do
  on "$n"; sleep 1
  "$PROGRAM" /S >"$E2E_WORK/output.log" 2>&1 &
  saver=$!
  sleep 3
  c0=$(ticks $saver); x0=$(ticks $xorg); t0=$(date +%s.%N)
  sleep "$S"
  c1=$(ticks $saver); x1=$(ticks $xorg); t1=$(date +%s.%N)
  hwm=$(awk '/^VmHWM:/ { print $2 }' /proc/$saver/status)
  frames=$(grep -c "frames presented" "$E2E_WORK/output.log")
  awk -v n=$n -v c=$((c1-c0)) -v x=$((x1-x0)) -v hz=$hz -v a=$t0 -v b=$t1 -v h=$hwm -v l="$(cut -d' ' -f1 /proc/loadavg)" \
    'BEGIN { w=b-a; printf "%d monitor(s): program %.3f, Xorg %.3f, total %.3f CPU-s per s; peak %.1f MB; load %s\n", n, c/hz/w, x/hz/w, (c+x)/hz/w, h/1024, l }'
  grep "frames presented" "$E2E_WORK/output.log" | tail -n "$n" | sed 's/^/    /'
  kill $saver; wait $saver 2>/dev/null
done
