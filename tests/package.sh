#!/bin/bash
# A release archive unpacked into an empty folder (win32: an empty Wine prefix) and run: the test
# card shows; linux also: Alt+Enter covers the screen and gives the window back, a missing display
# or core ends it with one line, and it exports what a core may call and no test hook.
# Usage: package.sh win32|linux STATE_DIR BUILD_DIR
set -u
KIND=$1 STATE_DIR=$2 BUILD_DIR=$3
ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$(dirname "$0")/wine_env.sh"
[ -n "${DISPLAY:-}" ] || { echo "no display: the setup fixture did not run"; exit 1; }
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
    export WINEPREFIX="$work/prefix" # empty: Wine makes it on this first run
    wine MAIN.exe </dev/null >"$work/stdout" 2>"$work/stderr" &
else
    SDL_VIDEODRIVER=x11 ./video-out </dev/null >"$work/stdout" 2>"$work/stderr" &
fi
program=$!
stop() { kill "$program" 2>/dev/null; [ "$KIND" = win32 ] && wineserver -k >/dev/null 2>&1; wait "$program" 2>/dev/null; }
for _ in $(seq 900); do
    window=$(xdotool search --name '^Video Out' 2>/dev/null | head -1)
    [ -n "$window" ] || ! kill -0 "$program" 2>/dev/null && break
    sleep 0.1
done
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

# error_case WHAT TEXT COMMAND...: the program ends at once, non-zero, with one line saying TEXT.
error_case() {
    local what=$1 text=$2
    shift 2
    "$@" >/dev/null 2>"$work/error" </dev/null
    local code=$?
    [ $code -ne 0 ] && [ "$(wc -l <"$work/error")" -eq 1 ] && grep -q "$text" "$work/error" ||
        failures+=("$what: exit code $code, stderr \"$(head -c 300 "$work/error")\"")
}
if [ "$KIND" = linux ]; then
    error_case "no display" "no display" env -u DISPLAY -u WAYLAND_DISPLAY ./video-out
    error_case "a display that is not there" "cannot open the display" env DISPLAY=:4711 ./video-out
    mkdir "$work/alone" && cp video-out "$work/alone/"
    error_case "no core library" "libkernel.so" "$work/alone/video-out"
    "$ROOT/tests/exports.sh" video-out "$ROOT/platform/native/exports.list" >"$work/exports" ||
        failures+=("the program's exports: $(cat "$work/exports")")
fi
[ ${#failures[@]} -eq 0 ] && echo "the archive runs as it should: PASS" && exit 0
printf '%s\n' "${failures[@]}"
exit 1
