#!/usr/bin/env bash
# Soak: the program under Wine for a number of minutes with a core that hands over a new frame
# every few steps and changes its palette now and then, and with input throughout (keys, the
# mouse, Alt+Enter twice a minute); once a minute the process says what it holds: resident
# memory, open handles, the GDI objects Wine counts (where it answers) and the renderer's own
# creations less deletions. Flat after the first minute is the goal. Builds nothing.
#
#   bench/soak.sh [minutes (default 60)] [build folder (default build/ beside bench/)]
#
# Uses $DISPLAY when it answers, else a virtual X display (:77, or $SOAK_DISPLAY).
set -euo pipefail
minutes=${1:-60}
build=$(cd "${2:-$(dirname "$0")/../build}" && pwd)
bin="$build/win/testbin"
[ -f "$bin/MAIN.exe" ] && [ -f "$bin/KERNEL.dll" ] || { echo "soak: $bin is not built" >&2; exit 1; }
out="$build/soak"
mkdir -p "$out/bin"
# A copy of its own: a rebuild during the soak must not change the running program.
cp "$bin/MAIN.exe" "$bin/KERNEL.dll" "$out/bin/"
bin="$out/bin"
export SOAK_REPORT="Z:$out/report.txt" TESTCORE_LOG="Z:$out/soak.log"
rm -f "$out/report.txt" "$out/soak.log"

. "$(dirname "$0")/wine_session.sh"
bench_wine_session soak "$build/wineprefix-soak" ${SOAK_DISPLAY:-77} desktop

echo "soak: $minutes minutes on $DISPLAY; a line a minute" >&2
(cd "$bin" && timeout $((minutes * 60 + 300)) wine MAIN.exe soak "$minutes") >"$out/stdout" 2>&1 &
program=$!
lines=0
while kill -0 $program 2>/dev/null; do
  if [ -f "$out/report.txt" ] && [ "$(wc -l <"$out/report.txt")" -gt $lines ]; then
    tail -n +$((lines + 1)) "$out/report.txt"
    lines=$(wc -l <"$out/report.txt")
  fi
  sleep 5
done
[ -f "$out/report.txt" ] && tail -n +$((lines + 1)) "$out/report.txt"
echo "(report: $out/report.txt)"
