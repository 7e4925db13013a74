#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The main job, without a bike computer: installs what is missing, builds the command-line program
# velotool, then reads the built-in simulated Lumo 60 and writes its ride as a FIT activity file
# and as a line of a CSV log, keeping both in a logbook in the folder, which it then lists.
# Usage: bash scripts/demo.sh [FOLDER]   (default: rides)
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/ccache}"
# The same build folder as scripts/build-and-test.sh, building only the program.
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)" --target velotool

folder="${1:-rides}"
mkdir -p "$folder"
velotool=build/tools/velotool/velotool
stamp=$(date +%Y%m%d-%H%M%S)

echo
echo "== FIT activity file (progress on standard error)"
"$velotool" export --simulate "Lumo 60" --logbook "$folder/logbook.sqlite" "$folder/lumo60-$stamp.fit"

echo
echo "== CSV log (one line per ride; the headings come with the first)"
"$velotool" export --quiet --simulate "Lumo 60" --logbook "$folder/logbook.sqlite" "$folder/rides.csv"

echo
echo "== The logbook (every ride kept, one entry per device, bike and day)"
"$velotool" logbook list --logbook "$folder/logbook.sqlite"

echo
echo "Files in $folder/:"
ls -l "$folder"
