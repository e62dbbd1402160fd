#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds, and runs the program with the stand-in core: natively
# (build/native/bin/video-out), or MAIN.exe under Wine with --wine (built for 64-bit Windows,
# under wine64, where 32-bit programs cannot run). With a working X display
# the window opens there; without one it runs on a virtual display for a few seconds and
# saves a screenshot of the window. Other arguments go to the program.
#   ./run.sh [--wine] [arguments...]
set -euo pipefail
cd "$(dirname "$0")"
root=$(pwd)
wine=0
[ "${1:-}" = --wine ] && { wine=1; shift; }
scripts/setup-debian.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 >/dev/null

if [ $wine = 1 ]; then
  export WINEPREFIX="$root/build/wineprefix-run" WINEARCH=win32 WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
  cd build/win/bin
  program=(wine MAIN.exe)
  # Where the kernel runs no 32-bit programs, the same program built for 64-bit Windows runs
  # under wine64 (Debian's wine wrapper would pick the 32-bit loader and fail).
  if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    if [ -x /usr/lib/wine/wine64 ] && [ -f "$root/build/win64/bin/MAIN.exe" ]; then
      echo "run: this machine runs no 32-bit programs: MAIN.exe built for 64-bit Windows, under wine64" >&2
      export WINEPREFIX="$root/build/wineprefix-run64" WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64
      cd "$root/build/win64/bin"
      program=(/usr/lib/wine/wine64 MAIN.exe)
    else
      echo "run: this machine runs no 32-bit programs, and there is no 64-bit build to run under wine64" >&2
      exit 1
    fi
  fi
  files=(MAIN.exe KERNEL.dll)
else
  cd build/native/bin
  program=(./video-out)
  files=(video-out libkernel.so)
fi
for file in "${files[@]}"; do
  [ -f "$file" ] || { echo "run: $(pwd)/$file is missing: the build did not finish" >&2; exit 1; }
done

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  status=0
  "${program[@]}" "$@" || status=$?
  # Wine is silent when the program cannot start (WINEDEBUG=-all): say so here.
  [ $status -eq 0 ] || echo "run: the program ended with exit code $status" >&2
  exit $status
fi

# No display: a virtual one, a few seconds of frames, then a picture of the window.
display=:${RUN_DISPLAY:-71}
Xvfb "$display" -screen 0 1600x1200x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap '[ $wine = 0 ] || wineserver -k >/dev/null 2>&1 || true; kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
"${program[@]}" "$@" &
program_pid=$!
for _ in $(seq 600); do
  window=$(xdotool search --name '^Video Out' 2>/dev/null | head -1) && [ -n "$window" ] && break
  kill -0 $program_pid 2>/dev/null || break
  sleep 0.1
done
[ -n "${window:-}" ] || { echo "run: the window did not appear" >&2; exit 1; }
sleep "${RUN_SECONDS:-4}"
shot="$root/build/screenshot.png"
import -window "$window" "$shot"
kill $program_pid 2>/dev/null || true
echo "run: no display, so the program ran on a virtual one; screenshot of the window: $shot"
