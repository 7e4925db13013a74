#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what lands there: the expected files and
# only them, programs that run from there, and a desktop entry and metadata that validate.
# Usage: check-install.sh BUILD_DIR LIBDIR APP_ID
set -euo pipefail
build=$1 libdir=$2 app=$3
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null

expected=(
  "bin/velodesk"
  "bin/velotool"
  "$libdir/liblinkhub.so.1"
  "$libdir/liblinkhub.so.1.0.0"
  "$libdir/liboutpost.so.1"
  "$libdir/liboutpost.so.1.0.0"
  "$libdir/liblogbook.so.1"
  "$libdir/liblogbook.so.1.0.0"
  "share/applications/$app.desktop"
  "share/metainfo/$app.metainfo.xml"
  "share/icons/hicolor/scalable/apps/$app.svg"
  "share/man/man1/velotool.1.gz"
  "share/man/man1/velodesk.1.gz"
  "share/bash-completion/completions/velotool"
)
for size in 16 24 32 48 64 128 256; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/$app.png")
done
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$prefix" && find . \( -type f -o -type l \) | sed 's|^\./||' | sort)

for library in linkhub outpost; do
  dynamic=$(readelf -d "$prefix/$libdir/lib$library.so.1.0.0")
  grep -q "Library soname: \[lib$library.so.1\]" <<<"$dynamic" || {
    echo "lib$library.so.1.0.0 lacks the soname lib$library.so.1" >&2; exit 1; }
  [ "$(readlink "$prefix/$libdir/lib$library.so.1")" = "lib$library.so.1.0.0" ]
done

# The programs find their libraries through their rpath, from wherever the prefix is.
version=$(env -u LD_LIBRARY_PATH "$prefix/bin/velotool" --version)
[ "$version" = "velotool $(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")" ]
for program in velodesk velotool; do
  libraries=$(env -u LD_LIBRARY_PATH ldd "$prefix/bin/$program")
  # grep -v to /dev/null reads to the end, so the first grep never meets a closed pipe.
  if grep -q 'not found' <<<"$libraries" || grep -E 'lib(linkhub|outpost)' <<<"$libraries" | grep -v "=> $prefix/" >/dev/null; then
    echo "$program does not find its libraries in $prefix/$libdir:" >&2
    echo "$libraries" >&2
    exit 1
  fi
done
env -u LD_LIBRARY_PATH QT_QPA_PLATFORM=offscreen timeout 60 "$prefix/bin/velotool" read --simulate "Lumo 60" --quiet >/dev/null

desktop-file-validate "$prefix/share/applications/$app.desktop"
appstreamcli validate --no-net --explain "$prefix/share/metainfo/$app.metainfo.xml"
gzip -t "$prefix/share/man/man1/velotool.1.gz" "$prefix/share/man/man1/velodesk.1.gz"
echo "install into a temporary prefix: as expected"
