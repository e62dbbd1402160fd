#!/usr/bin/env bash
# Frame pacing benchmark: runs the built MAIN.exe with the stand-in core in its pacing report
# mode under Wine and prints the core's report (real and shown frame rates, frame period
# spread, CPU time). Builds nothing.
#
#   bench/pacing.sh [build folder (default: build/ beside bench/)] [seconds (default 10)]
#
# Uses $DISPLAY when it answers, else a virtual X display (:73, or $PACING_DISPLAY).
set -euo pipefail

build=$(cd "${1:-$(dirname "$0")/../build}" && pwd)
seconds=${2:-10}
bin="$build/win/bin"
for file in MAIN.exe KERNEL.dll; do
  [ -f "$bin/$file" ] || { echo "pacing: $bin/$file is missing; build first" >&2; exit 1; }
done

out="$build/pacing"
mkdir -p "$out"
report="$out/pace-report.txt"
log="$out/main-console.txt"
rm -f "$report"

. "$(dirname "$0")/wine_session.sh"
bench_wine_session pacing "$build/wineprefix-bench" ${PACING_DISPLAY:-73}

# The report is written by the core itself: Wine's piped stdout is fully buffered.
# A relative file name lands in the working directory.
export PACE_REPORT=pace-report.txt
echo "pacing: running MAIN.exe --pace $seconds on $DISPLAY..." >&2
status=0
(cd "$out" && timeout $((seconds + 60)) wine "$bin/MAIN.exe" --pace "$seconds") >"$log" 2>&1 ||
  status=$?

if [ ! -s "$report" ]; then
  echo "pacing: no report (exit status $status); console output in $log:" >&2
  tail -n 20 "$log" >&2
  exit 1
fi
cat "$report"
echo "(report: $report, console output: $log)"
