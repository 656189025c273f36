#!/usr/bin/env bash
# The full-screen saver under a real X server: a key press ends it; three mouse moves do not,
# the fourth does.
set -uo pipefail
source "$(dirname "$0")/lib/x11_session.sh"
e2e_start "$1"

# A key press ends the saver.
e2e_saver_up /S
saver=$E2E_LAST
sleep 0.5
e2e_running "$saver" || e2e_fail "the saver ended by itself"
xdotool key space
e2e_wait_exit "$saver" 5 || e2e_fail "a key press did not end the saver"

# Three mouse moves do not end it; the fourth does.
e2e_saver_up /s
saver=$E2E_LAST
sleep 0.5
for pos in "100 100" "200 150" "300 200"; do
  xdotool mousemove $pos
  sleep 0.2
done
sleep 0.5
e2e_running "$saver" || e2e_fail "three mouse moves ended the saver"
xdotool mousemove 400 250
e2e_wait_exit "$saver" 5 || e2e_fail "the fourth mouse move did not end the saver"
echo "saver_stop: ok"
