#!/usr/bin/env bash
# Rendering benchmark: for every render mode 0-9, Render_Step with its paint, call by call,
# natively and under Wine, at 640 x 400 and stretched to 800 x 600: median and 90th percentile
# in milliseconds, then one summary row per mode (medians at 640 x 400). Then the floor: the same
# frame composed from its planes into 32-bit pixels through plain lookup tables (the median of
# the native runs' medians), and each mode's native median at 640 x 400 over it. Builds nothing.
#
#   bench/render.sh [build folder (default: build/ beside bench/)] [modes (default "0 ... 9")]
#
# Wine uses $DISPLAY when it answers, else a virtual X display (:75, or $RENDER_DISPLAY); the
# native runs use SDL's offscreen driver.
set -euo pipefail
build=$(cd "${1:-$(dirname "$0")/../build}" && pwd)
modes=${2:-"0 1 2 3 4 5 6 7 8 9"}
out="$build/renderbench"
mkdir -p "$out"
report="$out/report.txt"
rm -f "$report"

run() { # PLATFORM MODE: one run, its figures appended to the report
  local platform=$1 mode=$2 dir status=0
  export BENCH_PLATFORM=$platform
  if [ "$platform" = wine ]; then
    dir="$win/modes/$mode"
    export RENDERBENCH_REPORT="Z:$report" TESTCORE_LOG="Z:$out/wine$mode.log"
    (cd "$dir" && timeout 300 "$wine" MAIN.exe renderbench "$mode") >"$out/wine$mode.out" 2>&1 ||
      status=$?
  else
    dir="$build/native/modes/$mode"
    export RENDERBENCH_REPORT="$report" TESTCORE_LOG="$out/native$mode.log"
    (cd "$dir" && SDL_VIDEODRIVER=offscreen timeout 300 ./video-out renderbench "$mode") \
      >"$out/native$mode.out" 2>&1 || status=$?
  fi
  grep -q "platform=$platform mode=$mode " "$report" 2>/dev/null ||
    echo "render: $platform mode $mode gave no figures (exit status $status)" >&2
}

for mode in $modes; do
  [ -x "$build/native/modes/$mode/video-out" ] && run native "$mode"
done
. "$(dirname "$0")/wine_session.sh"
bench_windows_build "$build"
if [ -f "$win/modes/0/MAIN.exe" ]; then
  bench_wine_session render "$build/wineprefix-render" ${RENDER_DISPLAY:-75}
  for mode in $modes; do run wine "$mode"; done
fi

[ -s "$report" ] || { echo "render: no figures at all" >&2; exit 1; }
awk '
  { split("", v); for (i = 1; i <= NF; i++) { split($i, kv, "="); v[kv[1]] = kv[2] }
    if ("floor" in v) { if (v["platform"] == "native") floors[++nf] = v["floor"] + 0; next }
    key = v["mode"] " " v["platform"] " " v["size"]
    median[key] = v["median"]; p90[key] = v["p90"]; modes[v["mode"]] = 1 }
  END {
    printf "%-4s  %-9s  %-21s  %-21s\n", "mode", "platform", "640x400 med / p90", "800x600 med / p90"
    for (m = 0; m <= 9; m++) if (m in modes) for (p = 0; p < 2; p++) {
      pl = p ? "wine" : "native"; a = m " " pl " 640x400"; b = m " " pl " 800x600"
      if (a in median) printf "%-4s  %-9s  %8.2f / %8.2f    %8.2f / %8.2f\n", m, pl, median[a], p90[a], median[b], p90[b]
    }
    print "(ms per Render_Step, with the paint it causes)"
    for (m = 0; m <= 9; m++) if (m in modes) {
      n = m " native 640x400"; w = m " wine 640x400"
      printf "mode %s: native %s, wine %s\n", m, (n in median) ? sprintf("%.2f ms", median[n]) : "-",
             (w in median) ? sprintf("%.2f ms", median[w]) : "-"
    }
    if (!nf) exit
    for (i = 2; i <= nf; i++) for (j = i; j > 1 && floors[j - 1] > floors[j]; j--) {
      t = floors[j]; floors[j] = floors[j - 1]; floors[j - 1] = t
    }
    floor = (floors[int((nf + 1) / 2)] + floors[int(nf / 2) + 1]) / 2
    printf "floor: %.2f ms\n", floor
    for (m = 0; m <= 9; m++) if ((m " native 640x400") in median)
      printf "mode %s to floor: x%.1f\n", m, median[m " native 640x400"] / floor
  }' "$report"
