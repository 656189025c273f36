#!/usr/bin/env bash
# Measures the full-screen saver under Xvfb: processor time per second of wall time of the
# program and of the X server, frames presented per second, the time from the start to the
# first frame on screen, and the program's peak resident memory. Its own empty settings (the
# factory settings) unless told otherwise.
#
# Usage: scripts/cpu-usage.sh [--size WxH|720p|1080p|4k] [--effect N] [--seconds S] PROGRAM
#                             [SECONDS] [SECTION:KEY=VALUE | INI LINE]...
#   --size     the screen (default 1280x720)
#   --effect   stores AnimationType=N, so that effect runs instead of the demonstration
#   SECTION:KEY=VALUE stores one setting (e.g. Galaxies:Galaxy_Stars=30000); other arguments are
#   written to the settings file as they are.
set -euo pipefail

size=1280x720
effect=""
seconds=20
while [ $# -gt 0 ]; do
  case $1 in
    --size) size=$2; shift 2 ;;
    --effect) effect=$2; shift 2 ;;
    --seconds) seconds=$2; shift 2 ;;
    *) break ;;
  esac
done
case $size in
  720p) size=1280x720 ;;
  1080p) size=1920x1080 ;;
  4k|4K|2160p) size=3840x2160 ;;
esac
[ $# -ge 1 ] || { sed -n '6,11p' "$0" >&2; exit 2; }
program=$(realpath "$1")
shift
if [ $# -gt 0 ] && [[ $1 =~ ^[0-9]+(\.[0-9]+)?$ ]]; then
  seconds=$1
  shift
fi

work=$(mktemp -d)
xvfb=""
saver=""
cleanup() {
  [ -n "$saver" ] && kill "$saver" 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/config/quasarine" "$work/run"
chmod 700 "$work/run"
ini="$work/config/quasarine/settings.ini"
setting() { printf '[%s]\n%s\n' "$1" "$2" >>"$ini"; }
[ -n "$effect" ] && setting General "AnimationType=$effect"
for arg in "$@"; do
  if [[ $arg =~ ^([^:=]+):(.+=.*)$ ]]; then
    setting "${BASH_REMATCH[1]}" "${BASH_REMATCH[2]}"
  else
    printf '%s\n' "$arg" >>"$ini"
  fi
done

Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run"
export QT_QPA_PLATFORM=xcb QT_LOGGING_RULES="qsrn.present.debug=true"
unset WAYLAND_DISPLAY
start=$(date +%s.%N)
"$program" /S 2>"$work/log" &
saver=$!
sleep 2  # past start-up

ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
# The running count of frames presented, from the program's last report.
presented() { sed -n 's/.*: \([0-9]*\) frames presented at \([0-9.]*\).*/\1 \2/p' "$work/log" | tail -n1; }
hz=$(getconf CLK_TCK)
c0=$(ticks "$saver"); x0=$(ticks "$xvfb"); read -r f0 g0 <<<"$(presented) 0 0"; t0=$(date +%s.%N)
sleep "$seconds"
c1=$(ticks "$saver"); x1=$(ticks "$xvfb"); read -r f1 g1 <<<"$(presented) 0 0"; t1=$(date +%s.%N)
hwm=$(awk '/^VmHWM:/ { print $2 }' "/proc/$saver/status")
first=$(sed -n 's/.*first frame presented at \([0-9.]*\).*/\1/p' "$work/log" | head -n1)
awk -v c="$((c1 - c0))" -v x="$((x1 - x0))" -v hz="$hz" -v a="$t0" -v b="$t1" \
    -v f0="$f0" -v f1="$f1" -v g0="$g0" -v g1="$g1" -v start="$start" -v first="${first:-}" -v size="$size" -v hwm="$hwm" '
  BEGIN {
    w = b - a
    printf "%s over %.1f s: program %.3f, X server %.3f, total %.3f CPU-s per s; %.1f frames presented per s\n",
           size, w, c / hz / w, x / hz / w, (c + x) / hz / w, (g1 > g0 ? (f1 - f0) / (g1 - g0) : 0)
    if (first != "") printf "first frame on screen %.0f ms after the start\n", (first - start) * 1000
    printf "peak resident memory %.1f MB\n", hwm / 1024
  }'
