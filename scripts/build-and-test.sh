#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what the build needs (when missing), builds everything and runs every test;
# the device-link tests run a second time under ThreadSanitizer, the whole suite a third time
# under AddressSanitizer with UndefinedBehaviorSanitizer, and each fuzz target runs briefly.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

jobs=$(nproc)
# The tests spend their time waiting for the line (600 baud at the slowest) and for the device's
# time-outs, hardly on the processor, so several run on each core, and the next configuration
# is built while a pass runs.
test_jobs=$(( jobs * 4 ))
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/ccache}"
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT

# Starts a test pass in the background; its output shows when finish_pass waits for it.
pass_pid=
start_pass() {
  local name=$1
  shift
  "$@" >"$logs/$name.log" 2>&1 &
  pass_pid=$!
  pass_name=$name
}
finish_pass() {
  local status=0
  wait "$pass_pid" || status=$?
  cat "$logs/$pass_name.log"
  [ "$status" -eq 0 ] || { echo "The $pass_name pass failed." >&2; exit "$status"; }
}

cmake --preset default >/dev/null
cmake --build --preset default -j "$jobs"
start_pass default ctest --test-dir build --output-on-failure -j "$test_jobs"

# The device link's tests again, under ThreadSanitizer: any report fails the run.
cmake --preset tsan >/dev/null
cmake --build --preset tsan -j "$jobs" --target link_tests
finish_pass
start_pass tsan ctest --test-dir build-tsan --output-on-failure -L link -j "$test_jobs"

# Every test again, under AddressSanitizer and UndefinedBehaviorSanitizer: any report fails the run.
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs" --target suite_tests
finish_pass
# Leaks are checked too, except those OpenSSL holds itself (tests/lsan.supp). The install and
# package checks concern files, not memory, and ran above.
start_pass asan env ASAN_OPTIONS="detect_leaks=1:halt_on_error=1" UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" \
  LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0" \
  ctest --test-dir build-asan --output-on-failure -LE install -j "$test_jobs"

# The fuzz targets for a minute each; scripts/fuzz.sh without an argument runs them for longer.
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"
finish_pass
bash scripts/fuzz.sh 60
