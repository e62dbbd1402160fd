#!/usr/bin/env bash
# Frame pacing benchmark: the program with the scripted core's "pacebench" for some seconds,
# natively and under Wine, with the window painted and minimized: the real and shown frame
# rates, the frame period's spread and the process's CPU time. Builds nothing.
#
#   bench/pacing.sh [build folder (default: build/ beside bench/)] [seconds (default 10)]
#
# The native runs use the X display ($DISPLAY when it answers, else Xvfb on :73 or
# $PACING_DISPLAY, which Wine uses too).
set -euo pipefail
build=$(cd "${1:-$(dirname "$0")/../build}" && pwd)
seconds=${2:-10}
out="$build/pacing"
mkdir -p "$out"

. "$(dirname "$0")/wine_session.sh"
bench_windows_build "$build"
bench_wine_session pacing "$build/wineprefix-bench" ${PACING_DISPLAY:-73}

for platform in native wine; do
  for how in painted minimized; do
    report="$out/$platform-$how.txt"
    rm -f "$report"
    status=0
    if [ $platform = native ]; then
      [ -x "$build/native/testbin/video-out" ] || continue
      (cd "$build/native/testbin" && PACE_REPORT="$report" TESTCORE_LOG="$out/$platform-$how.log" \
        SDL_VIDEODRIVER=x11 timeout $((seconds + 60)) ./video-out pacebench "$seconds" "$how") \
        >"$out/$platform-$how.out" 2>&1 || status=$?
    else
      [ -f "$win/testbin/MAIN.exe" ] || continue
      (cd "$win/testbin" && PACE_REPORT="Z:$report" TESTCORE_LOG="Z:$out/$platform-$how.log" \
        timeout $((seconds + 60)) "$wine" MAIN.exe pacebench "$seconds" "$how") \
        >"$out/$platform-$how.out" 2>&1 || status=$?
    fi
    echo "== $platform, window $how"
    if [ -s "$report" ]; then cat "$report"; else echo "pacing: no report (exit status $status)"; fi
  done
done
