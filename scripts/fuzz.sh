#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the fuzz targets (clang's libFuzzer with AddressSanitizer and UndefinedBehaviorSanitizer,
# preset "fuzz") and runs them side by side for SECONDS each (default 1800), each starting from its
# seed corpus under tests/fuzz/corpus. Inputs found on the way are kept in build-fuzz/corpus/<target>;
# an input that crashes is written to build-fuzz/findings/ and fails the run.
# Usage: bash scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-1800}"
targets=(fuzz_receiver fuzz_json fuzz_rawrecord)

export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/ccache}"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"

# AddressSanitizer holds freed memory back to catch late uses (256 MB by default) and grows its
# own books over a long run, where the code under test stays flat (some 35 MB without the
# sanitizers); a smaller quarantine keeps a long run within the memory limit below.
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1:quarantine_size_mb=64"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
mkdir -p build-fuzz/findings

run_target() {
  local target="$1"
  # Any single allocation over 1 GiB counts as a finding. An input of 1 KiB holds several of the
  # longest frames, JSON nested beyond the reader's limit, or a ride record of dozens of samples;
  # longer ones only slow the search down.
  local options=(-max_total_time="$seconds" -max_len=1024 -timeout=10 -rss_limit_mb=4096 -malloc_limit_mb=1024
                 -print_final_stats=1 -artifact_prefix="build-fuzz/findings/$target-")
  [ -f "tests/fuzz/$target.dict" ] && options+=(-dict="tests/fuzz/$target.dict")
  # Packets queued by one input are freed by the link's send thread during a later one: a leak
  # check after every input would take them for leaks and slow the run twentyfold.
  [ "$target" = fuzz_receiver ] && options+=(-detect_leaks=0)
  mkdir -p "build-fuzz/corpus/$target"
  "build-fuzz/tests/fuzz/$target" "${options[@]}" "build-fuzz/corpus/$target" \
    "tests/fuzz/corpus/${target#fuzz_}" >"build-fuzz/$target.log" 2>&1
}

# Side by side: a run takes the time of one target, whatever the number of cores.
echo "== ${targets[*]}, ${seconds}s each, side by side"
declare -A runs
for target in "${targets[@]}"; do
  run_target "$target" &
  runs[$target]=$!
done
failed=0
for target in "${targets[@]}"; do
  log="build-fuzz/$target.log"
  if wait "${runs[$target]}"; then
    grep -E '^stat::number_of_executed_units|^Done' "$log" | sed "s/^/$target: /"
  else
    tail -n 60 "$log"
    echo "$target: FAILED (see $log and build-fuzz/findings/)" >&2
    failed=1
  fi
done
exit "$failed"
