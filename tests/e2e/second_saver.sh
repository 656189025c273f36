#!/usr/bin/env bash
# A second /S while a saver runs ends at once and leaves the first one running.
set -uo pipefail
source "$(dirname "$0")/lib/x11_session.sh"
e2e_start "$1"

e2e_saver_up /S
first=$E2E_LAST

e2e_spawn "$PROGRAM" /S
second=$E2E_LAST
e2e_wait_exit "$second" 3 || e2e_fail "the second saver did not end at once"
[ "$(xdotool search --onlyvisible --name '^QSRN:Quasarine 2.3$' | wc -l)" -eq 1 ] ||
  e2e_fail "a second saver window appeared"
e2e_running "$first" || e2e_fail "the first saver ended"

xdotool key Escape
e2e_wait_exit "$first" 5 || e2e_fail "the first saver did not end on a key"
echo "second_saver: ok"
