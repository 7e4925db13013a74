#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every source file of the product says its licence in one of its first lines, so that a file
# copied out of the tree still carries it.
# Usage: check-licence-lines.sh SOURCE_DIR
set -euo pipefail
cd "$1"
missing=()
while IFS= read -r -d '' file; do
  lines=$(sed -n '1,3p' "$file")
  [[ "$lines" == *"SPDX-License-Identifier: GPL-3.0-or-later"* ]] || missing+=("$file")
done < <(git ls-files -z '*.cpp' '*.h' '*.sh' '*.ui' '*.sql' 'CMakeLists.txt' '*/CMakeLists.txt' '*.1' .ci/run)
if [ ${#missing[@]} -gt 0 ]; then
  echo "source files without the line SPDX-License-Identifier: GPL-3.0-or-later:" >&2
  printf '  %s\n' "${missing[@]}" >&2
  exit 1
fi
