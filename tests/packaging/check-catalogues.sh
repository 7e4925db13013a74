#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every text a desktop user reads has a finished German translation, and the catalogues hold
# nothing else: lupdate, run on the units' sources into a copy of each catalogue, must find no
# text unfinished, obsolete or vanished and leave the copy as the repository has it.
# Usage: check-catalogues.sh LUPDATE INCLUDE_DIR CATALOGUE|SOURCE_LIST...
set -euo pipefail
lupdate=$1 include=$2
shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for entry in "$@"; do
  catalogue=${entry%%|*} sources=${entry#*|}
  copy="$work/$(basename "$catalogue")"
  cp "$catalogue" "$copy"
  "$lupdate" -silent -locations none -I "$include" "@$sources" -ts "$copy" >"$work/lupdate.log" 2>&1 || {
    cat "$work/lupdate.log" >&2; exit 1; }
  # The source of each message comes before its translation, whose type says what is amiss.
  stale=$(awk '/<source>/ { source = $0 } /<translation type="(unfinished|obsolete|vanished)"/ {
      match($0, /type="[a-z]+"/); print "  " substr($0, RSTART + 6, RLENGTH - 7) ": " source }' "$copy" |
    sed 's|<source>||; s|</source>||; s|  *| |g')
  if [ -n "$stale" ]; then
    echo "$catalogue: texts without a finished translation, or no longer in the sources:" >&2
    echo "$stale" >&2
    status=1
  fi
  if ! diff -u "$catalogue" "$copy" >"$work/difference"; then
    echo "$catalogue differs from what lupdate makes of the sources:" >&2
    cat "$work/difference" >&2
    status=1
  fi
done
exit $status
