#!/bin/bash
# A release archive as a user meets it: made by scripts/package.sh, unpacked into an empty folder
# (for win32 run in an empty Wine prefix), started there on the fixture's display. Passes when the
# window appears and shows the stand-in core's test card (its eight fixed colours, read back).
# Usage: package.sh win32|linux STATE_DIR BUILD_DIR
set -u
KIND=$1 STATE_DIR=$2 BUILD_DIR=$3
ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$(dirname "$0")/wine_env.sh"
[ -n "${DISPLAY:-}" ] || { echo "no display: the setup fixture did not run"; exit 1; }
work="$STATE_DIR/package-$KIND"
rm -rf "$work" && mkdir -p "$work/dist" "$work/unpacked"
"$ROOT/scripts/package.sh" --no-build "$BUILD_DIR" "$work/dist" || exit 1
archive=$(ls "$work"/dist/*-"$KIND".* 2>/dev/null | head -1)
[ -n "$archive" ] || { echo "no $KIND archive was made"; exit 1; }
(cd "$work/unpacked" && cmake -E tar xf "$archive") || { echo "cannot unpack $archive"; exit 1; }
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
stop() {
    kill "$program" 2>/dev/null
    [ "$KIND" = win32 ] && wineserver -k >/dev/null 2>&1
    wait "$program" 2>/dev/null
}
window=
for _ in $(seq 900); do
    window=$(xdotool search --name '^Video Out' 2>/dev/null | head -1)
    [ -n "$window" ] && break
    kill -0 "$program" 2>/dev/null || break
    sleep 0.1
done
if [ -z "$window" ]; then
    echo "the window did not appear"
    echo "---- stderr" && tail -n 20 "$work/stderr"
    stop
    exit 1
fi
sleep 2 # a few frames
import -window "$window" "$work/window.png" 2>/dev/null
stop
# The test card's fixed graphics colours: dark blue, red, magenta, green, cyan, brown, greys.
missing=()
colours=$(convert "$work/window.png" -unique-colors txt:- 2>/dev/null)
for c in 000088 880000 880088 008800 008888 888800 AAAAAA 555555; do
    grep -qi "#$c" <<<"$colours" || missing+=("#$c")
done
if [ ${#missing[@]} -eq 0 ]; then
    echo "the window shows the test card: PASS"
    exit 0
fi
echo "the window does not show the test card: colours ${missing[*]} missing (see $work/window.png)"
exit 1
