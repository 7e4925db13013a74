#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The device rule of the package gives the user at the seat the two supported bridges and nothing
# more: every rule matches terminals by both USB ids of one bridge and only adds the uaccess tag.
# Usage: check-access-rule.sh RULES_FILE
set -euo pipefail
rules=$1
[ -f "$rules" ] || { echo "no device rule at $rules" >&2; exit 1; }
lines=$(grep -v -e '^#' -e '^[[:space:]]*$' "$rules")
rule='^SUBSYSTEM=="tty", ATTRS\{idVendor\}=="([0-9a-f]{4})", ATTRS\{idProduct\}=="([0-9a-f]{4})", TAG\+="uaccess"$'
bridges=()
while IFS= read -r line; do
  [[ $line =~ $rule ]] || { echo "rule does more than tag one bridge's terminals: $line" >&2; exit 1; }
  bridges+=("${BASH_REMATCH[1]}:${BASH_REMATCH[2]}")
done <<<"$lines"
found=$(printf '%s\n' "${bridges[@]}" | sort)
[ "$found" = $'0403:6001\n10c4:ea60' ] || { echo "rule names the bridges" $found "instead of 0403:6001 and 10c4:ea60" >&2; exit 1; }
echo "device rule $(basename "$rules"): the two bridges, uaccess only"
