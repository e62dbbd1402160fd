#!/bin/bash
# The released program exports every name of its export list (the nine functions a core calls
# and the Win32 subset) and no test hook.
# Usage: exports.sh PROGRAM EXPORT_LIST
set -u
exported=$(nm -D --defined-only "$1" | awk '{print $3}' | sort) || exit 1
listed=$(sed -n 's/^ *\([A-Za-z_][A-Za-z0-9_]*\);$/\1/p' "$2" | sort)
[ -n "$exported" ] && [ "$(wc -l <<<"$listed")" -gt 9 ] || { echo "nothing read from $1 or $2"; exit 1; }
missing=$(comm -23 <(echo "$listed") <(echo "$exported"))
hooks=$(grep '^Hooks_' <<<"$exported")
[ -z "$missing" ] || echo "not exported: $(echo $missing)"
[ -z "$hooks" ] || echo "test hooks exported: $(echo $hooks)"
[ -z "$missing$hooks" ] && echo "$(wc -l <<<"$listed") names exported, no test hook: PASS"
