#!/usr/bin/env bash
# Measures the processor time the full-screen saver uses per second of wall time, under Xvfb at
# 1280x720 with its own empty settings (the factory settings) unless settings lines are given.
# Usage: scripts/cpu-usage.sh PROGRAM [SECONDS] [INI LINE]...
set -euo pipefail
program=$(realpath "$1")
seconds=${2:-20}
shift $(( $# >= 2 ? 2 : 1 ))

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
for line in "$@"; do printf '%s\n' "$line" >>"$work/config/quasarine/settings.ini"; done

Xvfb -displayfd 3 -screen 0 1280x720x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run"
"$program" /S &
saver=$!
sleep 2  # past start-up

ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
hz=$(getconf CLK_TCK)
c0=$(ticks "$saver"); t0=$(date +%s.%N)
sleep "$seconds"
c1=$(ticks "$saver"); t1=$(date +%s.%N)
awk -v c="$((c1 - c0))" -v hz="$hz" -v a="$t0" -v b="$t1" \
  'BEGIN { printf "%.3f s of processor time per second over %.1f s\n", c / hz / (b - a), b - a }'
