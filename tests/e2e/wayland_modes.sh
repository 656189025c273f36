#!/usr/bin/env bash
# Under a Wayland compositor (weston, headless): /S runs until SIGTERM; /P and the hack modes,
# which need X11 window ids, say so and exit with status 1.
set -uo pipefail
source "$(dirname "$0")/lib/x11_session.sh"
PROGRAM=$1
e2e_need weston
e2e_work
export WAYLAND_DISPLAY=qsrn-test-$$
unset DISPLAY QT_QPA_PLATFORM
e2e_spawn weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" --width=800 --height=600 --idle-time=0
e2e_until 5 test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" || { echo "SKIP: weston did not start"; exit 77; }

for mode in "/P 0x400001" "-root" "-window-id 0x400001"; do
  # shellcheck disable=SC2086
  "$PROGRAM" $mode 2>"$E2E_WORK/err"
  status=$?
  [ "$status" -eq 1 ] || e2e_fail "'$mode' exited with $status on Wayland"
  grep -q "Wayland" "$E2E_WORK/err" || e2e_fail "'$mode' did not say why: $(cat "$E2E_WORK/err")"
done

e2e_spawn "$PROGRAM" /S
saver=$E2E_LAST
sleep 2
e2e_running "$saver" || e2e_fail "/S ended by itself on Wayland"
kill -TERM "$saver"
e2e_wait_exit "$saver" 1 || e2e_fail "/S did not end on SIGTERM"
[ "$E2E_STATUS" -eq 0 ] || e2e_fail "/S did not end cleanly on SIGTERM"
echo "wayland_modes: ok"
