#!/bin/bash
# Starts (setup) or stops (cleanup) the virtual X display and the Wine prefix the scenarios share.
# Usage: wine_fixture.sh setup|cleanup STATE_DIR WINEPREFIX
set -u
ACTION=$1
STATE_DIR=$2
WINEPREFIX=$3
mkdir -p "$STATE_DIR"
. "$(dirname "$0")/wine_env.sh"

# Display numbers from a fixed base, away from the usual :0/:1 and :99 of other tools.
DISPLAY_BASE=87
DISPLAY_LAST=97

display_free() {
    [ ! -e "/tmp/.X$1-lock" ] && [ ! -e "/tmp/.X11-unix/X$1" ]
}

stop_all() {
    # Only our own prefix's server, and only the Xvfb this fixture started.
    wineserver -k >/dev/null 2>&1
    if [ -f "$STATE_DIR/xvfb.pid" ]; then
        local pid
        pid=$(cat "$STATE_DIR/xvfb.pid")
        # A stale pid file may name a process that reused the number.
        if tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -q '^Xvfb '; then
            kill "$pid"
        fi
        rm -f "$STATE_DIR/xvfb.pid"
    fi
    rm -f "$STATE_DIR/display"
}

setup() {
    # Leftovers of an aborted run would hold a desktop on a display that is gone.
    stop_all
    local n=$DISPLAY_BASE
    while ! display_free $n; do
        n=$((n + 1))
        if [ $n -gt $DISPLAY_LAST ]; then
            echo "no free X display in :$DISPLAY_BASE..:$DISPLAY_LAST"
            return 1
        fi
    done
    # setsid and redirected output: ctest waits for every holder of its pipes to exit.
    setsid Xvfb ":$n" -screen 0 1600x1200x24 -nolisten tcp \
        </dev/null >"$STATE_DIR/xvfb.out" 2>&1 &
    echo $! >"$STATE_DIR/xvfb.pid"
    local tries=0
    until xdpyinfo -display ":$n" >/dev/null 2>&1; do
        tries=$((tries + 1))
        if [ $tries -gt 100 ] || ! kill -0 "$(cat "$STATE_DIR/xvfb.pid")" 2>/dev/null; then
            echo "Xvfb :$n did not start"
            cat "$STATE_DIR/xvfb.out"
            stop_all
            return 1
        fi
        sleep 0.1
    done
    echo $n >"$STATE_DIR/display"
    export DISPLAY=":$n"
    echo "Xvfb on :$n"

    mkdir -p "$WINEPREFIX"
    if ! wineboot -i </dev/null >"$STATE_DIR/wineboot.out" 2>&1; then
        echo "wineboot failed"
        cat "$STATE_DIR/wineboot.out"
        stop_all
        return 1
    fi
    wineserver -w
    echo "Wine prefix ready in $WINEPREFIX"
}

case "$ACTION" in
setup) setup ;;
cleanup) stop_all ;;
*)
    echo "usage: $0 setup|cleanup STATE_DIR WINEPREFIX"
    exit 2
    ;;
esac
