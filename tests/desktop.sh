#!/bin/bash
# The native program on a real desktop: under openbox, i3 or weston (its X11 backend) on a
# 1920 x 1080 Xvfb of its own, the scripted core's desktop scenario driven from outside with
# XTest, judged by the screen's pixels, the window's geometry and the calls the core logged.
# Usage: desktop.sh openbox|i3|weston STATE_DIR PROGRAM_DIR
set -u
WM=$1 STATE=$2/$1 PROGRAM=$3
HERE=$(cd "$(dirname "$0")" && pwd)
. "$HERE/common.sh"
FULL="96 0 1728 1080 1866240" # 640 x 400 scaled to 1080 rows, centred, black bands beside
mkdir -p "$STATE" && rm -rf "${STATE:?}"/* && STATE=$(cd "$STATE" && pwd)
LOG=$STATE/core.log failures=0 pids=()
trap 'kill "${pids[@]}" $(cat "$STATE/xvfb.pid" 2>/dev/null) 2>/dev/null' EXIT

fail() {
    failures=$((failures + 1))
    echo "FAIL $WM: $* (screen: $STATE/fail$failures.png)"
    convert -size 1920x1080 -depth 8 "rgb:$STATE/shot.rgb" "$STATE/fail$failures.png" 2>/dev/null
}
# Runs a command in the background, its output kept; its pid in $!.
spawn() { setsid "$@" </dev/null >>"$STATE/${1##*/}.out" 2>&1 & pids+=($!); }
# Clicks there, then parks the pointer in the top right corner, off the picture.
click_at() { xdotool mousemove "$1" "$2" && sleep 0.3 && xdotool click 1 && xdotool mousemove 1919 0; }
alt_enter() { xte 'keydown Alt_L' 'key Return' 'keyup Alt_L'; }
# The picture on screen (see desktop_shot.py) in a region, the whole screen by default.
picture() {
    import -window root -depth 8 "rgb:$STATE/shot.rgb" 2>/dev/null &&
        python3 "$HERE/desktop_shot.py" "$STATE/shot.rgb" ${@:-0 0 1920 1080}
}
# The client area "x y w h": X's answer, or under weston (no X window) the picture's.
client() {
    if [ "$WM" = weston ]; then picture | cut -d' ' -f1-4; return; fi
    xwininfo -id "$ID" 2>/dev/null | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4}
        /Width:/{w=$2} /Height:/{h=$2} END{print x, y, w, h}'
}
# The picture fills the client area exactly (stretched when the client is not 640 x 400):
# prints the client area when it does (one screen shot).
fills() {
    local area shown
    if [ "$WM" = weston ]; then shown=$(picture) && area=${shown% *}
    else area=$(client) && shown=$(picture $area); fi
    set -- $area && [ "${3:-0}" -gt 0 ] && [ "$shown" = "$area $(($3 * $4))" ] && echo "$area"
}
fullscreen() { [ "$WM" = weston ] || [ "$(client)" = "0 0 1920 1080" ] && [ "$(picture)" = "$FULL" ]; }
at() { [ "$(fills)" = "$1" ]; }
logged() { grep -c -- "$1" "$LOG"; }

# ---- the display, the manager, the program
start_xvfb "$STATE" 1920x1080 || exit 1
case $WM in
openbox) spawn openbox ;;
i3) spawn i3 -c "$HERE/data/i3.config" ;;
weston)
    export XDG_RUNTIME_DIR=$STATE/xdg WAYLAND_DISPLAY=desktop-test
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    spawn weston --backend=x11-backend.so --use-pixman --width=1920 --height=1080 \
        --socket=$WAYLAND_DISPLAY --config="$HERE/data/weston.ini"
    until_ok test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" || { echo "weston did not start"; exit 1; }
    xdotool mousemove 1919 0 # weston draws the pointer: kept off the picture
    ;;
esac
sleep 1 # the manager takes the screen
driver=x11 && [ "$WM" = weston ] && driver=wayland
cd "$PROGRAM" && SDL_VIDEODRIVER=$driver TESTCORE_LOG=$LOG spawn ./video-out desktop
PROGRAM_PID=$!
if [ "$WM" = weston ]; then
    until_ok fills >/dev/null || { echo "no window with the picture under weston"; exit 1; }
else
    found() { ID=$(xdotool search --onlyvisible --name '^Video Out' | head -1) && [ -n "$ID" ]; }
    until_ok found || { echo "no window under $WM"; exit 1; }
fi

# ---- the window shows the picture; a move at once is kept
until_ok fills >/dev/null || fail "the picture does not fill the client area ($(client): $(picture $(client)))"
if [ "$WM" = openbox ]; then
    wmctrl -i -r "$ID" -e 0,300,200,-1,-1
    moved() { [ "$(client | cut -d' ' -f1)" -lt 400 ]; }
    until_ok moved || fail "the manager did not move the window"
fi
sleep 0.5
HOME_AT=$(client)

# ---- Alt+Enter there and back, five times
echo "$WM: at $HOME_AT; Alt+Enter"
for round in 1 2 3 4 5; do
    alt_enter
    until_ok fullscreen || fail "round $round: not covering the screen ($(client): $(picture))"
    alt_enter
    until_ok at "$HOME_AT" || fail "round $round: back at $(client), not $HOME_AT"
done

# ---- maximize and back: WM_SIZE with the client size, the picture stretched over it
# WM_SIZE of a kind (0x0 restored, 0x2 maximized) for the client area X Y W H was logged.
size_logged() { [ "$(logged "message 0x5 ($1, 0x$(printf %x $(($5 << 16 | $4))))")" -gt 0 ]; }
maximized() { local area && area=$(fills) && set -- $area && [ "$3" -gt 1800 ] && size_logged 0x2 $area; }
case $WM in
openbox) wmctrl -i -r "$ID" -b add,maximized_vert,maximized_horz ;;
weston) set -- $HOME_AT && click_at $(($1 + 640 - 48)) $(($2 - 14)) ;; # libdecor's button
esac
if [ "$WM" != i3 ]; then
    until_ok maximized || fail "maximized: $(client) with $(picture)"
    [ "$WM" = openbox ] && wmctrl -i -r "$ID" -b remove,maximized_vert,maximized_horz
    [ "$WM" = weston ] && click_at $((1920 - 48)) 10
    until_ok at "$HOME_AT" || fail "restored at $(client), not $HOME_AT"
fi

# ---- another window: i3 tiles the two side by side, and it takes the focus
spawn xmessage -geometry +1500+900 other
OTHER=$!
until_ok xdotool search --onlyvisible --class Xmessage >/dev/null || fail "no other window"
if [ "$WM" = i3 ]; then
    until_ok test "$(client | cut -d' ' -f3)" -lt 1900 || fail "not tiled beside the other"
    until_ok fills >/dev/null || fail "tiled at $(client): $(picture $(client))"
    size_logged 0x0 $(client) || fail "no WM_SIZE of the tiled size $(client)"
fi

# ---- a right button released outside the window gives the release and nothing after
[ "$WM" = weston ] || xdotool windowactivate "$ID"
set -- $(client)
xdotool mousemove $(($1 + 100)) $(($2 + 100)) && sleep 0.3 # inside the core's 640 x 400
xte 'mousedown 3' && sleep 0.2
outside_x=$(($1 + $3 + 30)) && [ $outside_x -ge 1920 ] && outside_x=$(($1 - 30))
xdotool mousemove $outside_x $(($2 + 100)) && sleep 0.2 && xte 'mouseup 3'
for step in 1 2 3; do sleep 0.1 && xdotool mousemove $outside_x $(($2 + 100 + 10 * step)); done
sleep 0.5
after=$(sed -n '/Mouse_KeyRelease(0x2/,$p' "$LOG" | tail -n +2 | grep -c Mouse_)
[ "$(logged 'Mouse_KeyRelease(0x2')" = 1 ] && [ "$after" = 0 ] ||
    fail "a release outside: $(logged 'Mouse_KeyRelease(0x2') releases, $after calls after"

# ---- a key held while the focus goes: released once
xte 'keydown a' && sleep 0.3
if [ "$WM" = weston ]; then xdotool windowfocus "$(xdotool search --class Xmessage | head -1)"
else xdotool windowactivate "$(xdotool search --onlyvisible --class Xmessage | head -1)"; fi
sleep 0.5 && xte 'keyup a' && sleep 0.5
[ "$(logged 'Keyboard_Press(0x41')" = 1 ] && [ "$(logged 'Keyboard_Release(0x41')" = 1 ] ||
    fail "a key held on focus loss: $(logged 'Keyboard_Press(0x41') presses, $(logged 'Keyboard_Release(0x41') releases"
kill $OTHER

# ---- closed by the manager: exit code 0 and the scripted core's verdict
case $WM in
openbox) wmctrl -i -c "$ID" ;;
i3) i3-msg "[id=$ID] kill" >/dev/null ;;
weston) set -- $(client) && click_at $(($1 + 640 - 16)) $(($2 - 14)) ;;
esac
until_ok bash -c "! kill -0 $PROGRAM_PID 2>/dev/null" || fail "the program did not end when closed"
wait $PROGRAM_PID
code=$?
[ $code = 0 ] && [ "$(tail -n 1 "$LOG")" = PASS ] || fail "closed: exit code $code, log ends \"$(tail -n 1 "$LOG")\""

[ $failures = 0 ] && echo "desktop under $WM: PASS" && exit 0
echo "---- core log" && grep -v '^  #' "$LOG" && echo "---- program" && tail -n 20 "$STATE/video-out.out"
exit 1
