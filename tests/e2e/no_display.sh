#!/usr/bin/env bash
# Without any display every display mode says so in one line on stderr and exits with status 1;
# --help, --version and --render keep working.
set -uo pipefail
PROGRAM=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work"
for mode in "/S" "/C" "" "/P 0x400001" "-root" "-window-id 42" "x.qsn"; do
  # shellcheck disable=SC2086
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$PROGRAM" $mode >"$work/out" 2>"$work/err"
  status=$?
  [ "$status" -eq 1 ] || { echo "FAIL: '$mode' exited with $status"; cat "$work/err"; exit 1; }
  [ "$(wc -l <"$work/err")" -eq 1 ] && grep -q "no display to draw on: " "$work/err" ||
    { echo "FAIL: '$mode' said:"; cat "$work/err"; exit 1; }
done
env -u DISPLAY "$PROGRAM" --help | grep -q "^Usage: quasarine" || { echo "FAIL: --help"; exit 1; }
env -u DISPLAY "$PROGRAM" -h | grep -q "^Usage: quasarine" || { echo "FAIL: -h"; exit 1; }
env -u DISPLAY "$PROGRAM" --version | grep -q "^Quasarine 2.3" || { echo "FAIL: --version"; exit 1; }
env -u DISPLAY "$PROGRAM" --render "$work/a.png" --frames 2 --size 64x48 || { echo "FAIL: --render"; exit 1; }
echo "no_display: ok"
