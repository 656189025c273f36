#!/usr/bin/env bash
# cmake --install into a temporary prefix puts every file where the desktop and xscreensaver look
# for it: the program, the hack link, xsecurelock's saver module, xscreensaver's settings file,
# the .desktop entry, the icons and the man page.
set -uo pipefail
source "$(dirname "$0")/lib/x11_session.sh"
build=$(dirname "$1")
e2e_work
prefix=$E2E_WORK

cmake --install "$build" --prefix "$prefix" >/dev/null || e2e_fail "cmake --install failed"
[ -x "$prefix/bin/quasarine" ] || e2e_fail "no program in bin"
[ -L "$prefix/libexec/xscreensaver/quasarine" ] || e2e_fail "no hack link in libexec/xscreensaver"
[ "$(readlink -f "$prefix/libexec/xscreensaver/quasarine")" = "$(readlink -f "$prefix/bin/quasarine")" ] ||
  e2e_fail "the hack link does not lead to the program"
"$prefix/libexec/xscreensaver/quasarine" --version | grep -q "^Quasarine" || e2e_fail "the hack link does not run"
[ -x "$prefix/libexec/quasarine/saver_quasarine" ] || e2e_fail "no xsecurelock saver module"
grep -q 'exec .*quasarine" -root' "$prefix/libexec/quasarine/saver_quasarine" || e2e_fail "the saver module does not run -root"

xml=$prefix/share/xscreensaver/config/quasarine.xml
python3 -c 'import sys, xml.etree.ElementTree as t; r = t.parse(sys.argv[1]).getroot(); assert r.get("name") == "quasarine"; assert r.find("command").get("arg") == "-root"' "$xml" ||
  e2e_fail "quasarine.xml is not a settings file for the hack"
grep -q 'quasarine /C' "$xml" || e2e_fail "quasarine.xml does not point to quasarine /C"

desktop=$prefix/share/applications/quasarine.desktop
grep -qx 'Exec=quasarine /C' "$desktop" || e2e_fail "the .desktop entry does not open the properties"
grep -qx 'Icon=quasarine' "$desktop" || e2e_fail "the .desktop entry names no icon"
if command -v desktop-file-validate >/dev/null 2>&1; then desktop-file-validate "$desktop" || e2e_fail "invalid .desktop entry"; fi

# Every size of the icon, each with transparency (PNG colour type 6: RGB with alpha).
for size in 16 24 32 48 64 128 256; do
  icon=$prefix/share/icons/hicolor/${size}x$size/apps/quasarine.png
  [ "$(head -c 8 "$icon" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] || e2e_fail "no ${size}x$size icon"
  [ "$(od -An -tu1 -j 16 -N 10 "$icon" | awk '{ print $3 * 256 + $4 "x" $7 * 256 + $8 " " $10 }')" = "${size}x$size 6" ] ||
    e2e_fail "the ${size}x$size icon is not ${size}x$size with transparency"
done

version=$("$prefix/bin/quasarine" --version | cut -d' ' -f2)
zcat "$prefix/share/man/man1/quasarine.1.gz" | grep -q "^\.TH QUASARINE 1 .*Quasarine $version" ||
  e2e_fail "no man page of version $version"
grep -q "^Quasarine $version,.*Copyright" <(tr '\n' ' ' <"$prefix/share/doc/quasarine/copyright") ||
  e2e_fail "no copyright file of version $version"
# Every page and picture the installed manual links to is installed beside it.
doc=$prefix/share/doc/quasarine
for link in $(grep -o '](\([a-z0-9-]*\.\(md\|png\)\))' "$doc/manual.md" | tr -d '()]' | sort -u); do
  [ -f "$doc/$link" ] || e2e_fail "the manual links to $link, which is not installed"
done
echo "install_prefix: ok"
