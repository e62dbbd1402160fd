#!/usr/bin/env bash
# Rendering benchmark: runs the scripted test core's "renderbench" scenario under Wine in each
# render mode's folder (build/win/modes/N) and prints a table of milliseconds per Render_Step and
# per Render_Paint (median and 90th percentile, at client 640 x 400 and 800 x 600) beside the same
# work done with the bare GDI calls by the core itself, and what the front-end adds to them.
# Builds nothing.
#
#   bench/render.sh [build folder (default: build/ beside bench/)] [modes (default "0 1 2 3 4 5 6 7 8 9")]
#
# Uses $DISPLAY when it answers, else a virtual X display (:75, or $RENDER_DISPLAY).
set -euo pipefail

build=$(cd "${1:-$(dirname "$0")/../build}" && pwd)
modes=${2:-"0 1 2 3 4 5 6 7 8 9"}
for mode in $modes; do
  for file in MAIN.exe KERNEL.dll; do
    [ -f "$build/win/modes/$mode/$file" ] ||
      { echo "render: $build/win/modes/$mode/$file is missing; build first" >&2; exit 1; }
  done
done

out="$build/renderbench"
mkdir -p "$out"
report="$out/report.txt"
rm -f "$report"

. "$(dirname "$0")/wine_session.sh"
bench_wine_session render "$build/wineprefix-render" ${RENDER_DISPLAY:-75}

# The core appends its figures to the report itself: Wine's piped stdout is fully buffered.
export RENDERBENCH_REPORT="Z:$report"
for mode in $modes; do
  echo "render: mode $mode on $DISPLAY..." >&2
  export TESTCORE_LOG="Z:$out/mode$mode.log"
  rm -f "$out/mode$mode.log"
  status=0
  (cd "$build/win/modes/$mode" && timeout 300 wine MAIN.exe renderbench "$mode") \
    >"$out/mode$mode.stdout" 2>&1 || status=$?
  if [ $status -ne 0 ] || ! grep -q "^mode=$mode " "$report" 2>/dev/null; then
    echo "render: mode $mode gave no figures (exit status $status); see $out/mode$mode.log" >&2
  fi
done

[ -s "$report" ] || { echo "render: no figures at all" >&2; exit 1; }
awk '
  BEGIN {
    printf "%-4s  %-7s  %-19s  %-19s  %-7s  %-19s  %-19s  %-7s  %s\n", "mode", "client",
           "Render_Step med/p90", "bare step med/p90", "adds", "Render_Paint med/p90",
           "bare paint med/p90", "adds", "picture"
  }
  function adds(front, bare) { return bare > 0 ? (front - bare) * 100 / bare : 0 }
  {
    for (i = 1; i <= NF; i++) { split($i, kv, "="); v[kv[1]] = kv[2] }
    printf "%-4s  %-7s  %7.2f / %7.2f    %7.2f / %7.2f    %+5.1f%%   %7.2f / %7.2f    %7.2f / %7.2f    %+5.1f%%   %s\n",
           v["mode"], v["size"], v["step_median"], v["step_p90"], v["bare_step_median"],
           v["bare_step_p90"], adds(v["step_median"], v["bare_step_median"]), v["paint_median"],
           v["paint_p90"], v["bare_paint_median"], v["bare_paint_p90"],
           adds(v["paint_median"], v["bare_paint_median"]), v["picture"]
  }' "$report"
cat <<'EOF'
(ms per call. Render_Step: the exported step with palette query, fetch, RedrawWindow and the
 paint through WM_PAINT; bare step: the same fetch and GDI calls made by the core inside its own
 BeginPaint/EndPaint. Render_Paint: the exported paint called directly after InvalidateRect;
 bare paint: the bare composition alone, likewise. All four are taken in turn, call by call.
 picture: whether the bare calls paint the front-end's picture.)
EOF
echo "(report: $report)"
