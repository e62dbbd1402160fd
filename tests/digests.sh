#!/bin/bash
# The differential check: the digests that one scenario's run logged natively and under Wine
# (pictures, and the calls the core received for the same input) must be the same.
# Usage: digests.sh NATIVE_LOG WINE_LOG
set -u
[ -s "$1" ] && [ -s "$2" ] || { echo "missing log: $1 or $2 (did both runs happen?)"; exit 1; }
native=$(grep '^digest ' "$1" | sort)
wine=$(grep '^digest ' "$2" | sort)
if [ "$native" = "$wine" ]; then
    echo "$(printf '%s\n' "$native" | grep -c .) digests identical"
    exit 0
fi
echo "digests differ between the native run (<) and the run under Wine (>):"
diff <(printf '%s\n' "$native") <(printf '%s\n' "$wine")
exit 1
