#!/usr/bin/env bash
# /P with the id of a window the test creates: the preview draws in a child of that window,
# sized to it, and ends within a second of the window being destroyed.
set -uo pipefail
source "$(dirname "$0")/lib/x11_session.sh"
e2e_start "$1"
command -v xmessage >/dev/null 2>&1 || { echo "SKIP: xmessage is not installed"; exit 77; }

e2e_spawn xmessage -name qsrnhost -title qsrnhost -geometry 320x200+10+10 "preview host"
host=$E2E_LAST
hostwin=$(e2e_wait_window qsrnhost 10) || e2e_fail "the host window did not appear"
hostsize=$(xwininfo -id "$hostwin" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }')

e2e_spawn "$PROGRAM" /p "$hostwin"
preview=$E2E_LAST
child=""
for _ in $(seq 100); do
  child=$(xwininfo -children -id "$hostwin" | awk '/"QSRN:Preview Quasarine 2.3"/ { print $1; exit }')
  [ -n "$child" ] && break
  sleep 0.1
done
[ -n "$child" ] || e2e_fail "no preview child inside the host window"
sleep 0.5
info=$(xwininfo -id "$child")
echo "$info" | grep -q "Map State: IsViewable" || e2e_fail "the preview child is not shown"
childsize=$(echo "$info" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }')
[ "$childsize" = "$hostsize" ] || e2e_fail "preview is $childsize inside a $hostsize window"
e2e_running "$preview" || e2e_fail "the preview ended while its window was there"

kill "$host"
wait "$host" 2>/dev/null
e2e_wait_exit "$preview" 1 || e2e_fail "the preview did not end within a second of its window"
echo "preview: ok"
