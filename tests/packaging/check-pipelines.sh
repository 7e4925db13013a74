#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Under pipefail, a reader that stops early (grep -q, head) kills its writer with SIGPIPE, and
# the pipeline fails although the reader found what it wanted, now and then, depending on how
# the writer splits its output. Such a pipeline in the project's own scripts fails this check.
# Usage: check-pipelines.sh SOURCE_DIR
set -euo pipefail
cd "$1"
found=$(git ls-files -z '*.sh' .ci/run | xargs -0 grep -l 'pipefail' |
  xargs grep -nE '\|[[:space:]]*(grep[[:space:]]+(-[[:alpha:]]*q|--quiet)|hea[d])\b' || true)
if [ -n "$found" ]; then
  echo "pipelines that can fail by SIGPIPE under pipefail; read the output whole first:" >&2
  echo "$found" >&2
  exit 1
fi
