#!/usr/bin/env bash
# Soak: the program for a number of minutes, under Wine or natively, with a core that hands over
# a new frame every few steps and changes its palette now and then, and with input throughout
# (keys, the mouse, Alt+Enter twice a minute); once a minute the process says what it holds:
# resident memory, heap in use, open handles, the GDI objects the platform counts (where it
# answers) and the GDI objects made less deleted since the start. Flat after the first minute
# is the goal. Builds nothing.
#
#   bench/soak.sh [minutes (default 60)] [wine|native (default wine)] [build folder]
#
# Under Wine: $DISPLAY when it answers, else a virtual X display (:77, or $SOAK_DISPLAY);
# natively: SDL's offscreen driver.
set -euo pipefail
minutes=${1:-60}
platform=${2:-wine}
build=$(cd "${3:-$(dirname "$0")/../build}" && pwd)
out="$build/soak-$platform"
mkdir -p "$out/bin"
rm -f "$out/report.txt" "$out/soak.log"
# A copy of its own: a rebuild during the soak must not change the running program.
if [ "$platform" = native ]; then
  cp "$build/native/testbin/video-out" "$build/native/testbin/libkernel.so" "$out/bin/"
  export SOAK_REPORT="$out/report.txt" TESTCORE_LOG="$out/soak.log" SDL_VIDEODRIVER=offscreen
  run=(./video-out soak "$minutes")
else
  . "$(dirname "$0")/wine_session.sh"
  bench_windows_build "$build"
  cp "$win/testbin/MAIN.exe" "$win/testbin/KERNEL.dll" "$out/bin/"
  export SOAK_REPORT="Z:$out/report.txt" TESTCORE_LOG="Z:$out/soak.log"
  bench_wine_session soak "$build/wineprefix-soak" ${SOAK_DISPLAY:-77} desktop
  run=("$wine" MAIN.exe soak "$minutes")
fi

echo "soak: $minutes minutes, $platform; a line a minute" >&2
(cd "$out/bin" && timeout $((minutes * 60 + 300)) "${run[@]}") >"$out/stdout" 2>&1 &
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
