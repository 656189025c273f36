#!/usr/bin/env bash
# Frames of every effect rendered by the Windows program under Wine have the same pixels as the
# Linux program's, at two seeds and two sizes.
#   render_identical.sh LINUX_PROGRAM WINDOWS_PROGRAM
set -uo pipefail
linux="$1" windows="$(realpath "$2")"
[ -x "$linux" ] && [ -f "$windows" ] || { echo "missing program: $linux or $windows" >&2; exit 77; }
source "$(dirname "$0")/wine_prefix.sh" || exit $?
out=$(mktemp -d)
# Both draw with the factory settings: no store. Another test's store in the Wine prefix is put
# back afterwards.
export XDG_CONFIG_HOME="$out/linux-settings"
store="$WINEPREFIX/drive_c/users/$(whoami)/AppData/Roaming/Quasarine"
[ -e "$store" ] && mv "$store" "$out/kept-store"
trap '[ -e "$out/kept-store" ] && mv "$out/kept-store" "$store"; rm -rf "$out"' EXIT
for effect in 0 1 2 3 4 5; do
  for seed in 3 11; do
    for size in 320x200 211x157; do
      name="e$effect-s$seed-$size.png"
      args=(--effect "$effect" --seed "$seed" --size "$size" --frames 250)  # fireworks burst only after a while
      "$linux" --render "$out/linux-$name" "${args[@]}" || { echo "Linux render failed: $name" >&2; exit 1; }
      (cd "$out" && wine "$windows" --render "windows-$name" "${args[@]}") ||
        { echo "Windows render failed: $name" >&2; exit 1; }
    done
  done
done
# The same pixels: the same header and the same inflated image data.
python3 - "$out" <<'PY'
import pathlib, sys, zlib
def pixels(path):
    data, at, chunks = path.read_bytes(), 8, {}
    while at < len(data):
        length = int.from_bytes(data[at:at + 4], "big")
        chunks[data[at + 4:at + 8]] = chunks.get(data[at + 4:at + 8], b"") + data[at + 8:at + 8 + length]
        at += 12 + length
    return chunks[b"IHDR"], zlib.decompress(chunks[b"IDAT"])
out = pathlib.Path(sys.argv[1])
names = [p.name[6:] for p in sorted(out.glob("linux-*.png"))]
same = [n for n in names if pixels(out / ("linux-" + n)) == pixels(out / ("windows-" + n))]
print(f"{len(same)} of {len(names)} frames identical under Wine")
sys.exit(0 if len(same) == len(names) == 24 else 1)
PY
