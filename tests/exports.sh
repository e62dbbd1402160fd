#!/bin/bash
# The released program exports every name of its export list and no test hook; the list is the
# nine functions a core calls and exactly the functions the Win32 subset header declares.
# Usage: exports.sh PROGRAM EXPORT_LIST WINAPI_HEADER
set -u
exported=$(nm -D --defined-only "$1" | awk '{print $3}' | sort) || exit 1
listed=$(sed -n 's/^ *\([A-Za-z_][A-Za-z0-9_]*\);$/\1/p' "$2" | sort)
[ -n "$exported" ] && [ "$(wc -l <<<"$listed")" -gt 9 ] || { echo "nothing read from $1 or $2"; exit 1; }
missing=$(comm -23 <(echo "$listed") <(echo "$exported"))
hooks=$(grep -E '^Hooks_|Probe_' <<<"$exported")
declared=$(grep -o 'WINAPI [A-Za-z_][A-Za-z0-9_]*(' "$3" | sed 's/^WINAPI //; s/($//' | sort)
own=$(grep -E '^(Render|Time)_' <<<"$listed")
unlisted=$(comm -23 <(echo "$declared") <(echo "$listed"))
undeclared=$(comm -13 <(echo "$declared") <(echo "$listed") | grep -vxF "$own")
[ "$(wc -l <<<"$own")" -eq 9 ] || echo "not the nine Render_/Time_ functions: $(echo $own)"
[ -z "$unlisted" ] || echo "declared in $3 but not in the export list: $(echo $unlisted)"
[ -z "$undeclared" ] || echo "in the export list but not declared in $3: $(echo $undeclared)"
[ -z "$missing" ] || echo "not exported: $(echo $missing)"
[ -z "$hooks" ] || echo "test hooks exported: $(echo $hooks)"
[ "$(wc -l <<<"$own")" -eq 9 ] && [ -z "$missing$hooks$unlisted$undeclared" ] && echo "$(wc -l <<<"$listed") names exported, no test hook: PASS"
