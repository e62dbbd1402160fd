#!/usr/bin/env bash
# The GDI conformance cases on Wine's GDI and on our native one, by hand while working on the
# native GDI (the scenarios check what the program draws): builds both drivers, runs the
# Windows one under Wine on a virtual X display (prefix build/wineprefix-gdi) and the native
# one, and prints every case whose digests differ, but for the cases where our GDI follows
# Windows instead (tests/data/gdi_windows_over_wine.tsv, when we give the digest listed there).
# Exit status 1 if any does. tests/data/gdi_wine_digests.tsv records Wine's digests
# (build/gdi/wine.txt) for the unit test that checks them natively in every run. It also runs
# the conformance table (tests/data/gdi_conformance.tsv) under Wine and says where Wine's
# answers are not those measured on Windows. Where 32-bit programs cannot run, the drivers are
# built with x86_64-w64-mingw32-g++ and run under wine64: they give the same digests.
#
#   scripts/gdi/compare.sh [build folder (default: build/ beside scripts/)]
#
# GDI_VALUES=<part of a case name>: also prints, for the differing cases whose names contain
# it, the first values (pixels, then results) that differ. GDI_DISPLAY: the X display number
# (default 43).
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(mkdir -p "${1:-$root/build}" && cd "${1:-$root/build}" && pwd)
out="$build/gdi"
mkdir -p "$out"

echo "compare: building the native driver..." >&2
[ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" >/dev/null
cmake --build "$build" --target native_gdi -j2 >/dev/null
g++ -O2 -Wall -Wextra -I"$root" "$root/scripts/gdi/gdi_cases.cpp" "$root/scripts/gdi/gdi_driver.cpp" \
  "$root/scripts/gdi/gdi_cases_native.cpp" "$build/libnative_gdi.a" -o "$build/gdi_cases_native"
# The Windows drivers: 32-bit, or 64-bit where the kernel runs no 32-bit programs (Debian's
# wine wrapper would pick the 32-bit loader and fail).
cross=i686-w64-mingw32-g++ wine=wine arch=win32
if ! /usr/lib/wine/wine --version >/dev/null 2>&1 && [ -x /usr/lib/wine/wine64 ]; then
  cross=x86_64-w64-mingw32-g++ wine=/usr/lib/wine/wine64 arch=win64
  export WINELOADER=$wine
  echo "compare: this machine runs no 32-bit programs: 64-bit drivers under wine64" >&2
fi
echo "compare: building the Windows driver..." >&2
"$cross" -O2 -Wall -Wextra -I"$root" -static-libgcc -static-libstdc++ \
  "$root/scripts/gdi/gdi_cases.cpp" "$root/scripts/gdi/gdi_driver.cpp" \
  "$root/scripts/gdi/gdi_cases_win.cpp" -o "$out/gdi_cases_win.exe" -lgdi32 -luser32
"$cross" -O2 -Wall -Wextra -I"$root" -static-libgcc -static-libstdc++ \
  "$root/scripts/gdi/gdi_table.cpp" "$root/scripts/gdi/gdi_table_main.cpp" \
  -o "$out/gdi_table_win.exe" -lgdi32

export WINEPREFIX="$build/wineprefix-gdi-$arch" WINEARCH=$arch WINEDEBUG=-all
# Without winedbg disabled a crash would hang in Wine's debugger.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
export DISPLAY=":${GDI_DISPLAY:-43}"
xvfb=
trap 'wineserver -k >/dev/null 2>&1 || true; [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true' EXIT
Xvfb "$DISPLAY" -screen 0 1600x1200x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo >/dev/null 2>&1 || { echo "compare: Xvfb on $DISPLAY did not start" >&2; exit 2; }
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "compare: creating the Wine prefix $WINEPREFIX (once)..." >&2
  "$wine" wineboot -i >/dev/null 2>&1 || true
  wineserver -w || true
fi

rm -f "$out"/wine*.txt "$out"/native*.txt
part=${GDI_VALUES:-}
echo "compare: running the cases under Wine and natively..." >&2
(cd "$out" && timeout 600 "$wine" gdi_cases_win.exe "Z:$out/wine.txt" \
  ${part:+"Z:$out/wine_values.txt" "$part"}) >"$out/wine.log" 2>&1 ||
  { echo "compare: the Windows driver failed; see $out/wine.log" >&2; exit 2; }
"$build/gdi_cases_native" "$out/native.txt" ${part:+"$out/native_values.txt" "$part"} \
  >"$out/native.log" 2>&1 ||
  { echo "compare: the native driver failed; see $out/native.log" >&2; exit 2; }

# The conformance table under Wine, for the record: where Wine's answers are not Windows'.
(cd "$out" && timeout 600 "$wine" gdi_table_win.exe "Z:$root/tests/data/gdi_conformance.tsv") \
  >"$out/table_wine.txt" 2>&1 || true
echo "compare: the conformance table under Wine: $(tail -n 1 "$out/table_wine.txt" | tr -d '\r')" \
  "(each: $out/table_wine.txt)" >&2

# Cases in Wine's order; a case missing on one side differs too.
awk -F'\t' '
  { sub(/\r$/, "") }
  FILENAME ~ /windows_over_wine/ { if ($1 !~ /^#/) windows[$1] = $2; next }
  FILENAME ~ /native.txt$/ { native[$1] = $2; next }
  { total++; if (native[$1] != $2 && native[$1] != windows[$1]) { bad++; print "differs: " $1 } }
  END {
    printf "compare: %d cases, %d differ\n", total, bad > "/dev/stderr"
    exit bad > 0
  }' "$root/tests/data/gdi_windows_over_wine.tsv" "$out/native.txt" "$out/wine.txt" || status=$?
if [ -n "$part" ] && [ -f "$out/wine_values.txt" ]; then
  awk -F'\t' '
    { sub(/\r$/, "") }
    NR == FNR { native[$1] = $2; next }
    native[$1] != $2 {
      n = split($2, w, " "); split(native[$1], m, " "); shown = 0
      for (i = 1; i <= n && shown < 4; i++)
        if (w[i] != m[i]) { printf "  %s: value %d: Wine %s, native %s\n", $1, i - 1, w[i], m[i]; shown++ }
    }' "$out/native_values.txt" "$out/wine_values.txt"
fi
exit "${status:-0}"
