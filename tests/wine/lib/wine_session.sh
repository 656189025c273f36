# Sourced by the tests of the Windows program: the end-to-end helpers (a private Xvfb, bounded
# waits, clean-up), a private Wine prefix on that display, and screenshots read by xwd_pixels.py.
# Usage: source lib/wine_session.sh; wine_start BUILD_DIR (where quasarine.scr was built)
source "$(dirname "${BASH_SOURCE[0]}")/../../e2e/lib/x11_session.sh"
WINE_LIB=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

wine_start() {
  SCR="$1/quasarine.scr"
  PARENT_EXE="$1/quasarine_test_parent.exe"
  [ -f "$SCR" ] || e2e_fail "no program at '$SCR'"
  e2e_need wine Xvfb xdotool xwd xrandr python3
  e2e_work
  trap 'WINEPREFIX=$WINEPREFIX wineserver -k 2>/dev/null; e2e_cleanup' EXIT
  export WINEPREFIX="$E2E_WORK/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  e2e_server Xvfb -screen 0 "${WINE_SCREEN:-800x600x24}"
  wine wineboot --init >>"$E2E_WORK/output.log" 2>&1 || e2e_fail "Wine did not set up its prefix"
  APPDATA_DIR=$(find "$WINEPREFIX/drive_c/users" -maxdepth 3 -type d -name Roaming | head -n1)
  [ -n "$APPDATA_DIR" ] || e2e_fail "no AppData folder in the Wine prefix"
}

# wine_settings LINES...: the settings file the program reads, %APPDATA%\Quasarine\settings.ini.
wine_settings() {
  mkdir -p "$APPDATA_DIR/Quasarine"
  printf '%s\r\n' "$@" >"$APPDATA_DIR/Quasarine/settings.ini"
}

# wine_saver_up ARGS...: starts quasarine.scr and waits for its saver window; the pid is in E2E_LAST.
wine_saver_up() {
  e2e_spawn wine "$SCR" "$@"
  e2e_wait_window "QSRN:Quasarine 2.3" 30 >/dev/null || e2e_fail "the saver window did not appear ($*)"
}

# wine_shot: a screenshot, which wine_pixels [X Y W H] reads: the lit pixels of the screen (or
# the region) and the share of red shades among them.
wine_shot() { xwd -root -silent >"$E2E_WORK/screen.xwd" 2>/dev/null; }
wine_pixels() { python3 "$WINE_LIB/xwd_pixels.py" "$E2E_WORK/screen.xwd" "$@"; }

# wine_lit MIN [X Y W H]: true once at least MIN pixels (of the region) are lit.
wine_lit() {
  local min=$1 lit
  shift
  wine_shot || return 1
  lit=$(wine_pixels "$@" | cut -d' ' -f1)
  [ "${lit:-0}" -ge "$min" ]
}
