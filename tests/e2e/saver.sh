#!/usr/bin/env bash
# /S on a display with two screens: both are covered, a second /S ends at once, a window mapped
# while the saver runs stays below it, three mouse moves do not end it and the fourth (on the
# second screen) does, and a key ends it on both screens.
set -uo pipefail
source "$(dirname "$0")/lib/x11_session.sh"
e2e_start "$1" -screen 0 1280x720x24 -screen 1 1024x600x24
e2e_need xmessage

# e2e_covered SCREEN WxH: true when a shown saver window on that screen has that size.
e2e_covered() {
  local id
  for id in $(DISPLAY="${DISPLAY%.*}.$1" xdotool search --screen "$1" --onlyvisible --name '^QSRN:Quasarine 2\.3$' 2>/dev/null); do
    [ "$(e2e_size "$id")" = "$2" ] && return 0
  done
  return 1
}

e2e_saver_up /S
saver=$E2E_LAST
e2e_until 5 e2e_covered 1 1024x600
e2e_covered 0 1280x720 || e2e_fail "the first screen is not covered"
e2e_covered 1 1024x600 || e2e_fail "the second screen is not covered"

e2e_spawn "$PROGRAM" /S
e2e_wait_exit "$E2E_LAST" 3 || e2e_fail "the second saver did not end at once"
# Still one saver window per screen.
[ "$(xdotool search --onlyvisible --name '^QSRN:Quasarine 2.3$' | wc -l)" -eq 2 ] ||
  e2e_fail "a second saver window appeared"

e2e_saver_on_top 100 100
e2e_running "$saver" || e2e_fail "a window opening or a second saver ended the saver"

# Three mouse moves on the second screen do not end it; the fourth does.
for pos in "100 100" "200 150" "300 200"; do
  e2e_xdo mousemove --screen 1 $pos
  sleep 0.2
done
sleep 0.5
e2e_running "$saver" || e2e_fail "three mouse moves ended the saver"
e2e_xdo mousemove --screen 1 400 250
e2e_wait_exit "$saver" 5 || e2e_fail "the fourth mouse move (second screen) did not end the saver"

# A key ends both.
e2e_saver_up /s
saver=$E2E_LAST
e2e_until 5 e2e_covered 1 1024x600
e2e_xdo key space
e2e_wait_exit "$saver" 5 || e2e_fail "a key did not end the saver"
[ -z "$(DISPLAY="${DISPLAY%.*}.1" xdotool search --screen 1 --onlyvisible --name '^QSRN:Quasarine 2\.3$' 2>/dev/null)" ] ||
  e2e_fail "a saver window stayed on the second screen"
echo "saver: ok"
