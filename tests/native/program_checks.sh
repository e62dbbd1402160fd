#!/bin/bash
# Checks the native program as a user meets it, on a virtual X display: the window and its
# picture, Alt+Enter into the scaled fullscreen and back, keys and mouse, the close button
# ending it with code 0; the offscreen driver; and the one-line errors.
# Usage: program_checks.sh BIN_DIR CLOSE_WINDOW_TOOL
set -u
BIN=$1
CLOSE=$2
for tool in Xvfb xdotool xte import convert; do
    command -v $tool >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
WORK=$(mktemp -d)
failures=0
check() { # check WHAT CONDITION...
    local what=$1
    shift
    if "$@"; then echo "ok $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}
geometry() { xdotool getwindowgeometry "$1" | tr -d ' ' | sed -n 's/^Position:\([0-9]*\),\([0-9]*\).*/\1 \2/p; s/^Geometry:\(.*\)x\(.*\)/\1 \2/p' | tr '\n' ' '; }

exec 3>"$WORK/displayfd"
Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp >/dev/null 2>&1 &
XVFB=$!
trap 'kill $XVFB $PROGRAM 2>/dev/null; rm -rf "$WORK"' EXIT
PROGRAM=
for _ in $(seq 100); do [ -s "$WORK/displayfd" ] && break; sleep 0.05; done
export DISPLAY=":$(head -1 "$WORK/displayfd")"
unset WAYLAND_DISPLAY SDL_VIDEODRIVER

"$BIN/video-out" first "second one" >"$WORK/out" 2>"$WORK/err" &
PROGRAM=$!
for _ in $(seq 100); do
    WINDOW=$(xdotool search --name '^Video Out' 2>/dev/null | head -1)
    [ -n "$WINDOW" ] && break
    sleep 0.05
done
check "the window appears" test -n "$WINDOW"
sleep 1
check "a 640 x 400 client at (650, 150)" test "$(geometry "$WINDOW")" = "650 150 640 400 "
check "the title shows the frame rate" bash -c "xdotool getwindowname $WINDOW | grep -q '^Video Out FPS: [0-9]'"
import -window "$WINDOW" "$WORK/window.png"
check "the picture has colours" test "$(convert "$WORK/window.png" -format %k info:)" -gt 4
# Without a window manager keys go to the window under the pointer.
xdotool mousemove 900 300 click 1
xte 'key a' 'keydown Shift_L' 'key b' 'keyup Shift_L'
xte 'keydown Alt_L' 'key Return' 'keyup Alt_L'
sleep 0.5
WINDOW=$(xdotool search --name '^Video Out' | head -1)
check "Alt+Enter covers the desktop" test "$(geometry "$WINDOW")" = "0 0 1600 1200 "
xte 'keydown Alt_L' 'key Return' 'keyup Alt_L'
sleep 0.5
WINDOW=$(xdotool search --name '^Video Out' | head -1)
check "Alt+Enter again gives the window back" test "$(geometry "$WINDOW")" = "650 150 640 400 "
"$CLOSE" "$WINDOW"
wait $PROGRAM
check "the close button ends it with code 0" test $? -eq 0
PROGRAM=
check "it logged its start" grep -q '^Initializing window...$' "$WORK/out"

SDL_VIDEODRIVER=offscreen "$BIN/video-out" >/dev/null 2>&1 &
PROGRAM=$!
sleep 1
check "it runs on the offscreen driver" kill -0 $PROGRAM
kill $PROGRAM 2>/dev/null
PROGRAM=

error_case() { # error_case WHAT EXPECTED-TEXT COMMAND...
    local what=$1 text=$2
    shift 2
    "$@" >/dev/null 2>"$WORK/err"
    local code=$?
    check "$what: one line, non-zero exit" test $code -ne 0 -a "$(wc -l <"$WORK/err")" -eq 1
    check "$what: says so" grep -q "$text" "$WORK/err"
}
error_case "no display" "no display" env -u DISPLAY "$BIN/video-out"
error_case "a display that is not there" "cannot open the display" env DISPLAY=:4711 "$BIN/video-out"
mkdir "$WORK/alone"
cp "$BIN/video-out" "$WORK/alone/"
error_case "no core library" "libkernel.so" "$WORK/alone/video-out"

echo "$failures failed"
[ $failures -eq 0 ]
