#!/usr/bin/env bash
# Installs what the build needs (when missing), builds everything and runs every test;
# the device-link tests run a second time under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

jobs=$(nproc)
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/ccache}"

cmake --preset default >/dev/null
cmake --build --preset default -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"


# The device link's tests again, under ThreadSanitizer: any report fails the run.
cmake --preset tsan >/dev/null
cmake --build --preset tsan -j "$jobs" --target link_tests
ctest --test-dir build-tsan --output-on-failure -L link -j "$jobs"
