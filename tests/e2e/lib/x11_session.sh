# Sourced by the end-to-end tests: a private X server (Xvfb), private settings and runtime
# folders, bounded waits, and clean-up of every process the test started.
# Usage: source lib/x11_session.sh; e2e_start "$1" (or e2e_work alone, for a test without X)

E2E_PIDS=()

e2e_cleanup() {
  kill "${E2E_PIDS[@]}" 2>/dev/null
  wait "${E2E_PIDS[@]}" 2>/dev/null
  [ -n "${E2E_WORK:-}" ] && rm -rf "$E2E_WORK"
}

e2e_fail() {
  echo "FAIL: $*" >&2
  if [ -s "${E2E_WORK:-/nonexistent}/output.log" ]; then
    echo "--- output of the processes started:" >&2
    tail -n 40 "$E2E_WORK/output.log" >&2
  fi
  exit 1
}

# e2e_work: a temporary folder, removed at exit with every process started, holding private
# settings and runtime folders.
e2e_work() {
  E2E_WORK=$(mktemp -d)
  trap e2e_cleanup EXIT
  export XDG_CONFIG_HOME="$E2E_WORK/config" XDG_RUNTIME_DIR="$E2E_WORK/run"
  mkdir -p "$XDG_CONFIG_HOME/quasarine" "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
}

# Runs a command in the background and remembers it for the clean-up; its pid is in E2E_LAST.
e2e_spawn() {
  "$@" >>"$E2E_WORK/output.log" 2>&1 &
  E2E_LAST=$!
  E2E_PIDS+=("$E2E_LAST")
}

# e2e_until SECONDS COMMAND...: runs the command every tenth of a second until it succeeds (its
# output passes through); false when the time runs out.
e2e_until() {
  local tries
  tries=$(awk -v s="$1" 'BEGIN { print int(s * 10) }')
  shift
  for _ in $(seq "$tries"); do
    "$@" && return 0
    sleep 0.1
  done
  "$@"
}

# e2e_need TOOL...: exits 77 (skipped) when a tool is not installed.
e2e_need() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is not installed"; exit 77; }
  done
}

# e2e_server SERVER [OPTIONS]: starts an X server (Xvfb, Xorg) for the test and exports its
# DISPLAY; exits 77 when it does not start. A random display number rather than the lowest free
# one: test runs in other containers that share the network namespace would otherwise meet on
# the same abstract X socket.
e2e_server() {
  local server=$1 n
  shift
  for _ in 1 2 3 4 5; do
    n=$(( 200 + RANDOM % 700 ))
    [ -e "/tmp/.X$n-lock" ] && continue
    e2e_spawn "$server" ":$n" "$@" -nolisten tcp -noreset
    e2e_until 10 e2e_x_settled "$n"
    [ -S "/tmp/.X11-unix/X$n" ] && e2e_running "$E2E_LAST" && { export DISPLAY=":$n"; return 0; }
  done
  echo "SKIP: $server did not start"
  exit 77
}

# e2e_dummy_xorg WIDTH HEIGHT: a real X server (Xorg with the dummy video driver; root only, exit
# 77 without them) whose frame buffer holds up to WIDTHxHEIGHT of monitors, DUMMY0 to DUMMY2.
e2e_dummy_xorg() {
  [ "$(id -u)" -eq 0 ] || { echo "SKIP: starting Xorg needs root"; exit 77; }
  e2e_need Xorg xrandr
  [ -e /usr/lib/xorg/modules/drivers/dummy_drv.so ] || { echo "SKIP: no dummy video driver"; exit 77; }
  cat >"$E2E_WORK/xorg.conf" <<EOC
Section "ServerFlags" Option "AutoAddDevices" "false" Option "DontVTSwitch" "true" EndSection
Section "Device" Identifier "card" Driver "dummy" VideoRam $(( $1 * $2 * 16 / 1024 )) EndSection
Section "Monitor" Identifier "monitor" HorizSync 5.0 - 1000.0 VertRefresh 5.0 - 200.0 EndSection
Section "Screen" Identifier "screen" Device "card" Monitor "monitor" DefaultDepth 24
  SubSection "Display" Depth 24 Virtual $1 $2 EndSubSection EndSection
EOC
  e2e_server Xorg -config "$E2E_WORK/xorg.conf" -logfile "$E2E_WORK/xorg.log"
}

# e2e_monitors N WxH: the dummy monitors DUMMY0 to DUMMY(N-1) on at that mode, side by side; the
# others off. The mode must be known to the server (640x480 is; add others with xrandr --newmode).
e2e_monitors() {
  local w=${2%x*} h=${2#*x} args=() i
  for i in 0 1 2; do
    xrandr --addmode "DUMMY$i" "$2" 2>/dev/null
    if [ "$i" -lt "$1" ]; then args+=(--output "DUMMY$i" --mode "$2" --pos "$(( i * w ))x0")
    else args+=(--output "DUMMY$i" --off); fi
  done
  xrandr --fb "$(( $1 * w ))x$h" "${args[@]}"
}

# e2e_start PROGRAM [XVFB SCREEN OPTIONS]: checks the tools (exit 77 without them), starts Xvfb
# (by default one screen at 1280x720).
e2e_start() {
  PROGRAM=$1
  shift
  [ $# -eq 0 ] && set -- -screen 0 1280x720x24
  [ -x "$PROGRAM" ] || e2e_fail "no program at '$PROGRAM'"
  e2e_need Xvfb xdotool xwininfo
  e2e_work
  export QT_QPA_PLATFORM=xcb
  unset WAYLAND_DISPLAY
  e2e_server Xvfb "$@"
}

# True once the Xvfb just started listens on display N, or has given up.
e2e_x_settled() { [ -S "/tmp/.X11-unix/X$1" ] || ! e2e_running "$E2E_LAST"; }

# Reads a value back: e2e_stored NAME (the first line that sets it).
e2e_stored() {
  sed -n "s/^$1[[:space:]]*=[[:space:]]*//p" "$XDG_CONFIG_HOME/quasarine/settings.ini" | head -n1 | tr -d '\r'
}

# e2e_xdo ARGS...: xdotool, tried again when it fails (the X server can refuse a connection
# opened right after another client's).
e2e_xdo() { e2e_until 1 xdotool "$@" 2>/dev/null; }

# e2e_window TITLE: prints the id of the first shown window with exactly that title.
e2e_window() {
  local id
  id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1)
  [ -n "$id" ] && echo "$id"
}
e2e_no_window() { ! e2e_window "$1" >/dev/null; }

# e2e_wait_window TITLE [SECONDS]: the id of the window once it is shown.
e2e_wait_window() { e2e_until "${2:-10}" e2e_window "$1"; }

e2e_running() { kill -0 "$1" 2>/dev/null; }

# True when the process has ended; its exit status is then in E2E_STATUS.
e2e_ended() {
  e2e_running "$1" && return 1
  wait "$1" 2>/dev/null
  E2E_STATUS=$?
}

# e2e_wait_exit PID SECONDS: true when the process has ended within the time.
e2e_wait_exit() { e2e_until "$2" e2e_ended "$1"; }

# e2e_press WINDOW "KEYS" COMMAND...: presses the keys in the window until the command succeeds
# within 2 s (a key pressed while the window is still taking the focus can be lost); false
# after 5 tries.
e2e_press() {
  local win=$1 keys=$2
  shift 2
  for _ in 1 2 3 4 5; do
    e2e_xdo windowfocus "$win"
    sleep 0.2
    # shellcheck disable=SC2086
    e2e_xdo key $keys
    e2e_until 2 "$@" && return 0
  done
  return 1
}

# e2e_saver_up ARGS...: starts the program and waits for its saver window; the pid is in E2E_LAST.
e2e_saver_up() {
  e2e_spawn "$PROGRAM" "$@"
  e2e_wait_window "QSRN:Quasarine 2.3" 10 >/dev/null || e2e_fail "the saver window did not appear ($*)"
}

# e2e_size WINDOW: prints the window's WIDTHxHEIGHT.
e2e_size() { xwininfo -id "$1" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }'; }

# e2e_child_of WINDOW TITLE: prints the id of the shown child of WINDOW with that title, once
# there is one (10 s at most).
e2e_child_of() { e2e_until 10 e2e_shown_child "$@"; }
e2e_shown_child() {
  local child
  child=$(xwininfo -children -id "$1" | awk -v t="\"$2\"" 'index($0, t) { print $1; exit }')
  [ -n "$child" ] && xwininfo -id "$child" | grep -q "Map State: IsViewable" && echo "$child"
}

# e2e_saver_on_top X Y: a window that opens at X,Y while the saver runs stays below it.
e2e_saver_on_top() {
  e2e_spawn xmessage -name qsrnpopup -title qsrnpopup -geometry "300x100+$1+$2" "popup"
  e2e_wait_window qsrnpopup 10 >/dev/null || e2e_fail "the test's window did not appear"
  sleep 0.5
  local top
  top=$(xwininfo -root -children | awk '/^ +0x/ { print $1; exit }')  # listed from the top down
  xwininfo -id "$top" | grep -q 'QSRN:Quasarine 2.3' || e2e_fail "the new window went above the saver"
  kill "$E2E_LAST"
}
