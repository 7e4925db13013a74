#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package with CPack and checks its contents and its dependencies.
# Usage: check-package.sh BUILD_DIR LIBDIR APP_ID
set -euo pipefail
build=$1 libdir=$2 app=$3
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 || { cat "$out/cpack.log" >&2; exit 1; }
package=$(ls "$out"/pacerow_*.deb)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
soversion=${version%%.*}

contents=$(dpkg-deb -c "$package" | awk '{print $6}' | sed 's|^\./|/|' | grep -v '/$' | sort)
expected=(
  /usr/bin/velobook /usr/bin/velodesk /usr/bin/velotool
  "/usr/$libdir/liblinkhub.so.$soversion" "/usr/$libdir/liblinkhub.so.$version"
  "/usr/$libdir/liboutpost.so.$soversion" "/usr/$libdir/liboutpost.so.$version"
  "/usr/$libdir/liblogbook.so.$soversion" "/usr/$libdir/liblogbook.so.$version"
  /usr/share/doc/pacerow/copyright /usr/share/doc/pacerow/changelog.gz
  "/usr/share/applications/$app.desktop" "/usr/share/metainfo/$app.metainfo.xml"
  "/usr/share/applications/$app.Logbook.desktop" "/usr/share/metainfo/$app.Logbook.metainfo.xml"
  "/usr/share/icons/hicolor/scalable/apps/$app.svg"
  /usr/share/man/man1/velotool.1.gz /usr/share/man/man1/velodesk.1.gz /usr/share/man/man1/velobook.1.gz
  /usr/share/bash-completion/completions/velotool
  /usr/lib/udev/rules.d/60-pacerow-bridges.rules
)
for catalogue in velodesk velobook linkhub outpost logbook; do
  expected+=("/usr/share/pacerow/translations/${catalogue}_de.qm")
done
for size in 16 24 32 48 64 128 256; do
  expected+=("/usr/share/icons/hicolor/${size}x${size}/apps/$app.png")
done
diff <(printf '%s\n' "${expected[@]}" | sort) <(echo "$contents")

name=$(dpkg-deb -f "$package" Package)
[ "$name" = pacerow ] || { echo "package is named $name, not pacerow" >&2; exit 1; }
[ "$(dpkg-deb -f "$package" Version)" = "$version" ] || { echo "the package is not version $version" >&2; exit 1; }
changelog=$(dpkg-deb --fsys-tarfile "$package" | tar -xO ./usr/share/doc/pacerow/changelog.gz | gzip -dc)
[[ "$changelog" == "pacerow ($version) "* ]] || { echo "the changelog's newest entry is not $version" >&2; exit 1; }
depends=$(dpkg-deb -f "$package" Depends)
names=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//')
for needed in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6 libqt6sql6 libqt6sql6-sqlite libqt6charts6 qt6-qpa-plugins; do
  grep -qxF "$needed" <<<"$names" || { echo "Depends lacks $needed: $depends" >&2; exit 1; }
done
# The product's own libraries come with it and are nobody's dependency.
if grep -qE 'linkhub|outpost|logbook' <<<"$depends"; then
  echo "Depends names the package's own libraries: $depends" >&2
  exit 1
fi
# Read whole before searching: grep -q would leave mid-output, and dpkg-deb's SIGPIPE would fail
# the pipeline under pipefail even though the text was found.
description=$(dpkg-deb -f "$package" Description)
grep -q dialout <<<"$description" || { echo "Description does not mention the group dialout" >&2; exit 1; }
dpkg-deb -x "$package" "$out/tree"
"$(dirname "$0")/check-access-rule.sh" "$out/tree/usr/lib/udev/rules.d/60-pacerow-bridges.rules"
# Debian's own package check, where it is installed: no error and no warning.
if command -v lintian >/dev/null; then
  lintian --fail-on error,warning "$package" >"$out/lintian.log" 2>&1 || {
    echo "lintian finds fault with the package:" >&2; cat "$out/lintian.log" >&2; exit 1; }
fi
echo "package $(basename "$package"): as expected"
