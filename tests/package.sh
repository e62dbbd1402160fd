#!/bin/bash
# A release archive as a user meets it: made by scripts/package.sh, unpacked into an empty folder
# (for win32 run in an empty Wine prefix), started on the fixture's display. Passes when the
# window shows the stand-in core's test card; for linux also when Alt+Enter covers the screen
# and gives the window back, a missing display or core library ends it with one line, and the
# program exports what a core may call and no test hook. The win32 programs must be 32-bit; with
# NOT_RUN set (why they cannot run here) that is all that is checked.
# Usage: package.sh win32|linux STATE_DIR BUILD_DIR
set -u
KIND=$1 STATE_DIR=$2 BUILD_DIR=$3
ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$(dirname "$0")/common.sh"
wine_env
[ -n "${DISPLAY:-}" ] || [ -n "${NOT_RUN:-}" ] || { echo "no display: the setup fixture did not run"; exit 1; }
work="$STATE_DIR/package-$KIND"
rm -rf "$work" && mkdir -p "$work/dist" "$work/unpacked"
"$ROOT/scripts/package.sh" --no-build "$BUILD_DIR" "$work/dist" || exit 1
archive=$(ls "$work"/dist/*-"$KIND"* 2>/dev/null | head -1)
[ -n "$archive" ] && (cd "$work/unpacked" && cmake -E tar xf "$archive") ||
    { echo "no $KIND archive was made, or it does not unpack"; exit 1; }
folder=$(ls -d "$work"/unpacked/*/ | head -1)
echo "unpacked $(basename "$archive"): $(cd "$folder" && ls | tr '\n' ' ')"

cd "$folder" || exit 1
if [ "$KIND" = win32 ]; then
    for file in MAIN.exe KERNEL.dll; do
        format=$(i686-w64-mingw32-objdump -f "$file" 2>&1 | sed -n 's/.*file format //p')
        [ "$format" = pei-i386 ] || { echo "$file is not 32-bit Windows but \"$format\""; exit 1; }
    done
    [ -z "${NOT_RUN:-}" ] || { echo "both are PE32 i386, not run here: $NOT_RUN: PASS"; exit 0; }
    export WINEPREFIX="$work/prefix" # empty: Wine makes it on this first run
    "$WINE" MAIN.exe </dev/null >"$work/stdout" 2>"$work/stderr" &
else
    SDL_VIDEODRIVER=x11 ./video-out </dev/null >"$work/stdout" 2>"$work/stderr" &
fi
program=$!
stop() { kill "$program" 2>/dev/null; [ "$KIND" = win32 ] && wineserver -k >/dev/null 2>&1; wait "$program" 2>/dev/null; }
# The window, or the program's end; Wine makes an empty prefix first, which takes a while.
shown() { window=$(xdotool search --name '^Video Out' 2>/dev/null | head -1); [ -n "$window" ] || ! kill -0 "$program" 2>/dev/null; }
WAIT=90 until_ok shown
[ -n "$window" ] || { echo "the window did not appear"; tail -n 20 "$work/stderr"; stop; exit 1; }
sleep 2 # a few frames
import -window "$window" "$work/window.png" 2>/dev/null
failures=()
geometry() { xdotool getwindowgeometry "$window" | tr -d ' \n' | sed 's/.*Position:\([0-9,]*\).*Geometry:\(.*\)/\1,\2/; s/x/,/'; }
if [ "$KIND" = linux ]; then
    # Without a window manager keys go to the window under the pointer.
    xdotool mousemove --window "$window" 300 200 click 1
    for want in 0,0,1600,1200 650,150,640,400; do
        xte 'keydown Alt_L' 'key Return' 'keyup Alt_L'
        sleep 1
        [ "$(geometry)" = "$want" ] || failures+=("Alt+Enter: the window at $(geometry), expected $want")
    done
fi
stop
# The test card's fixed graphics colours: dark blue, red, magenta, green, cyan, brown, greys.
colours=$(convert "$work/window.png" -unique-colors txt:- 2>/dev/null)
for c in 000088 880000 880088 008800 008888 888800 AAAAAA 555555; do
    grep -qi "#$c" <<<"$colours" || failures+=("the window lacks the test card's #$c (see $work/window.png)")
done

if [ "$KIND" = linux ]; then
    ends_with_line "no display" "no display" env -u DISPLAY -u WAYLAND_DISPLAY ./video-out
    ends_with_line "a display that is not there" "cannot open the display" env DISPLAY=:4711 ./video-out
    mkdir "$work/alone" && cp video-out "$work/alone/"
    ends_with_line "no core library" "libkernel.so" "$work/alone/video-out"
    "$ROOT/tests/exports.sh" video-out "$ROOT/platform/sdl/exports.list" \
        "$ROOT/platform/winapi.h" >"$work/exports" ||
        failures+=("the program's exports: $(cat "$work/exports")")
fi
[ ${#failures[@]} -eq 0 ] && echo "the $KIND archive runs as it should: PASS" && exit 0
printf 'FAIL %s\n' "${failures[@]}"
exit 1
