#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a temporary prefix and checks what lands there: the expected files and
# only them, programs that run from there, and a desktop entry and metadata that validate.
# Usage: check-install.sh BUILD_DIR LIBDIR APP_ID
set -euo pipefail
build=$1 libdir=$2 app=$3
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
soversion=${version%%.*}

expected=(
  "bin/velobook"
  "bin/velodesk"
  "bin/velotool"
  "$libdir/liblinkhub.so.$soversion"
  "$libdir/liblinkhub.so.$version"
  "$libdir/liboutpost.so.$soversion"
  "$libdir/liboutpost.so.$version"
  "$libdir/liblogbook.so.$soversion"
  "$libdir/liblogbook.so.$version"
  "share/doc/pacerow/copyright"
  "share/doc/pacerow/changelog.gz"
  "share/applications/$app.desktop"
  "share/applications/$app.Logbook.desktop"
  "share/metainfo/$app.metainfo.xml"
  "share/metainfo/$app.Logbook.metainfo.xml"
  "share/icons/hicolor/scalable/apps/$app.svg"
  "share/man/man1/velotool.1.gz"
  "share/man/man1/velodesk.1.gz"
  "share/man/man1/velobook.1.gz"
  "share/bash-completion/completions/velotool"
  "lib/udev/rules.d/60-pacerow-bridges.rules"
)
for catalogue in velodesk velobook linkhub outpost logbook; do
  expected+=("share/pacerow/translations/${catalogue}_de.qm")
done
for size in 16 24 32 48 64 128 256; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/$app.png")
done
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$prefix" && find . \( -type f -o -type l \) | sed 's|^\./||' | sort)

for library in linkhub outpost; do
  dynamic=$(readelf -d "$prefix/$libdir/lib$library.so.$version")
  grep -q "Library soname: \[lib$library.so.$soversion\]" <<<"$dynamic" || {
    echo "lib$library.so.$version lacks the soname lib$library.so.$soversion" >&2; exit 1; }
  [ "$(readlink "$prefix/$libdir/lib$library.so.$soversion")" = "lib$library.so.$version" ]
done

# The programs find their libraries through their rpath, from wherever the prefix is.
[ "$(env -u LD_LIBRARY_PATH "$prefix/bin/velotool" --version)" = "velotool $version" ] || {
  echo "velotool --version does not say velotool $version" >&2; exit 1; }
for program in velobook velodesk velotool; do
  libraries=$(env -u LD_LIBRARY_PATH ldd "$prefix/bin/$program")
  # grep -v to /dev/null reads to the end, so the first grep never meets a closed pipe.
  if grep -q 'not found' <<<"$libraries" || grep -E 'lib(linkhub|outpost)' <<<"$libraries" | grep -v "=> $prefix/" >/dev/null; then
    echo "$program does not find its libraries in $prefix/$libdir:" >&2
    echo "$libraries" >&2
    exit 1
  fi
done
env -u LD_LIBRARY_PATH QT_QPA_PLATFORM=offscreen timeout 60 "$prefix/bin/velotool" read --simulate "Lumo 60" --quiet >/dev/null

"$(dirname "$0")/check-access-rule.sh" "$prefix/lib/udev/rules.d/60-pacerow-bridges.rules"
for component in "$app" "$app.Logbook"; do
  desktop-file-validate "$prefix/share/applications/$component.desktop"
  appstreamcli validate --no-net --explain "$prefix/share/metainfo/$component.metainfo.xml"
  grep -qF "<release version=\"$version\"" "$prefix/share/metainfo/$component.metainfo.xml" || {
    echo "the AppStream release of $component is not $version" >&2; exit 1; }
done
# One version throughout: the manual pages and the AppStream release name the project's.
for page in velotool velodesk velobook; do
  manual=$(gzip -dc "$prefix/share/man/man1/$page.1.gz")
  heading=$(grep -m 1 '^\.TH ' <<<"$manual")
  [[ "$heading" == *"\"Pacerow $version\""* ]] || { echo "$page.1 names another version: $heading" >&2; exit 1; }
done
metainfo=$(cat "$prefix/share/metainfo/$app.metainfo.xml")
grep -qF "<project_license>GPL-3.0-or-later</project_license>" <<<"$metainfo" || {
  echo "the AppStream metadata names another licence" >&2; exit 1; }
echo "install into a temporary prefix: as expected"
