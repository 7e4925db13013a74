#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every command that "velotool --help" lists, and every option of its help, must be known to the
# manual page and to the bash completion.
# Usage: check-velotool-documents.sh VELOTOOL MANUAL_PAGE COMPLETION
set -euo pipefail
velotool=$1 manual=$2 completion=$3
missing=0

commands=$("$velotool" --help | sed -n '/^Commands:/,/^$/p' | sed -n 's/^  \([a-z][a-z-]*\) .*/\1/p')
[ -n "$commands" ] || { echo "velotool --help lists no commands" >&2; exit 1; }
for command in $commands; do
  grep -q "^\.B velotool $command\$" "$manual" || { echo "manual page lacks the command $command" >&2; missing=1; }
  grep -qE "^ *local commands=\".*\b$command\b" "$completion" || { echo "completion lacks the command $command" >&2; missing=1; }
  for option in $("$velotool" "$command" --help | sed -n '/^Options:/,/^$/p' | grep -oE -- '--[a-z][a-z-]*' | sort -u); do
    grep -qF -- "${option//-/\\-}" "$manual" || { echo "manual page lacks $option of $command" >&2; missing=1; }
    grep -qE -- "(\"|\\s)$option(\"|\\s|\\))" "$completion" || { echo "completion lacks $option of $command" >&2; missing=1; }
  done
done
exit $missing
