#!/usr/bin/env bash
# Under a Wayland compositor (weston, headless): /S runs until SIGTERM; /P and the hack modes,
# which need X11 window ids, say so and exit with status 1.
set -uo pipefail
PROGRAM=$1
command -v weston >/dev/null 2>&1 || { echo "SKIP: weston is not installed"; exit 77; }
work=$(mktemp -d)
export XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config" WAYLAND_DISPLAY=qsrn-test-$$
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset DISPLAY QT_QPA_PLATFORM
weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" --width=800 --height=600 --idle-time=0 \
  >"$work/weston.log" 2>&1 &
weston=$!
trap 'kill "$weston" 2>/dev/null; wait "$weston" 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 50); do [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] && break; sleep 0.1; done
[ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] || { echo "SKIP: weston did not start"; exit 77; }
fail() { echo "FAIL: $*"; exit 1; }

for mode in "/P 0x400001" "-root" "-window-id 0x400001"; do
  # shellcheck disable=SC2086
  "$PROGRAM" $mode 2>"$work/err"
  status=$?
  [ "$status" -eq 1 ] || fail "'$mode' exited with $status on Wayland"
  grep -q "Wayland" "$work/err" || fail "'$mode' did not say why: $(cat "$work/err")"
done

"$PROGRAM" /S 2>"$work/err" &
saver=$!
sleep 2
kill -0 "$saver" 2>/dev/null || fail "/S ended by itself on Wayland: $(cat "$work/err")"
kill -TERM "$saver"
for _ in $(seq 20); do kill -0 "$saver" 2>/dev/null || break; sleep 0.05; done
kill -0 "$saver" 2>/dev/null && fail "/S did not end on SIGTERM"
wait "$saver"
[ $? -eq 0 ] || fail "/S did not end cleanly on SIGTERM"
echo "wayland_modes: ok"
