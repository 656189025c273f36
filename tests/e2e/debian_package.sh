#!/usr/bin/env bash
# cpack -G DEB builds quasarine_VERSION_ARCH.deb from the install rules: everything under /usr,
# where xscreensaver and xsecurelock look (the hack link, the settings file, the saver module),
# the .desktop entry, every icon, the compressed manual page, the library dependencies, and
# nothing lintian calls an error.
set -uo pipefail
source "$(dirname "$0")/lib/x11_session.sh"
build=$(dirname "$1")
e2e_need cpack dpkg-deb dpkg-shlibdeps
e2e_work

(cd "$build" && cpack -G DEB -B "$E2E_WORK/out" >"$E2E_WORK/output.log" 2>&1) || e2e_fail "cpack failed"
shopt -s nullglob
debs=("$E2E_WORK"/out/quasarine_*_*.deb)
[ ${#debs[@]} -eq 1 ] || e2e_fail "not one package: ${debs[*]}"
deb=${debs[0]}
[[ $(basename "$deb") =~ ^quasarine_[0-9.]+-[0-9]+_$(dpkg --print-architecture)\.deb$ ]] || e2e_fail "named $(basename "$deb")"

dpkg-deb -c "$deb" | awk '{ print $6 ($7 == "->" ? " -> " $8 : "") }' | sed 's|^\./|/|' >"$E2E_WORK/files"
for file in /usr/bin/quasarine "/usr/libexec/xscreensaver/quasarine -> ../../bin/quasarine" \
  /usr/share/{xscreensaver/config/quasarine.xml,applications/quasarine.desktop,man/man1/quasarine.1.gz} \
  /usr/libexec/quasarine/saver_quasarine /usr/share/doc/quasarine/{copyright,changelog.Debian.gz} \
  /usr/share/icons/hicolor/{16x16,24x24,32x32,48x48,64x64,128x128,256x256}/apps/quasarine.png; do
  grep -qxF -- "$file" "$E2E_WORK/files" || e2e_fail "the package lacks $file"
done
grep -v '^/usr/' "$E2E_WORK/files" | grep -q . && e2e_fail "files outside /usr: $(grep -v '^/usr/' "$E2E_WORK/files")"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || e2e_fail "no dependency on Qt: $(dpkg-deb -f "$deb" Depends)"

if command -v lintian >/dev/null 2>&1; then
  lintian "$deb" >"$E2E_WORK/lintian" 2>&1
  grep '^E:' "$E2E_WORK/lintian" && e2e_fail "lintian reports errors"
  echo "lintian: $(grep -c '^W:' "$E2E_WORK/lintian") warning(s)"
else
  echo "lintian is not installed: not run"
fi
echo "debian_package: ok"
