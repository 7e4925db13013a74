#!/usr/bin/env bash
# Installs what the build needs (when missing), builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "$(id -u)" -eq 0 ]; then
  bash scripts/install-deps.sh
else
  bash scripts/install-deps.sh || sudo bash scripts/install-deps.sh
fi

jobs=$(nproc)
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/ccache}"

cmake --preset default >/dev/null
cmake --build --preset default -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

