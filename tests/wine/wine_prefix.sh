# Sourced by the Wine tests: a private, headless Wine under build/windows, made once. Returns 77
# (skip) when Wine is not installed.
command -v wine >/dev/null || { echo "wine is not installed" >&2; return 77; }
export WINEPREFIX="${WINEPREFIX:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/build/windows/wineprefix}"
export WINEDEBUG=-all
# No Mono or Gecko: their installers would ask on a first start, and nothing here needs them.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  wineserver -w
fi
