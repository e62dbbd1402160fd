#!/bin/bash
# Starts (setup) or stops (cleanup) what the scenarios under Wine share: a virtual X display, a
# Wine prefix, and one whose programs run in Wine's virtual desktop of 1600 x 1200, which lists
# modes down to 320 x 200 and can change them; without a Wine loader, the display alone.
# Usage: fixture.sh setup|cleanup STATE_DIR [WINE_LOADER win32|win64]
set -u
ACTION=$1 STATE_DIR=$2
mkdir -p "$STATE_DIR"
rm -f "$STATE_DIR/wine.env"
[ $# -ge 4 ] && [ "$ACTION" = setup ] && echo "WINE=$3 WINEARCH=$4" >"$STATE_DIR/wine.env"
. "$(dirname "$0")/common.sh"
wine_env

stop_all() {
    for prefix in "$STATE_DIR/prefix" "$STATE_DIR/prefix-desktop"; do WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1; done
    pid=$(cat "$STATE_DIR/xvfb.pid" 2>/dev/null)
    # A stale pid file may name a process that reused the number.
    [ -n "$pid" ] && tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -q '^Xvfb ' && kill "$pid"
    rm -f "$STATE_DIR/xvfb.pid" "$STATE_DIR/display"
}

setup() {
    stop_all # leftovers of an aborted run would hold a desktop on a display that is gone
    start_xvfb "$STATE_DIR" 1600x1200 || { stop_all; return 1; }
    [ -f "$STATE_DIR/wine.env" ] || { echo "Xvfb on $DISPLAY"; return 0; }
    # The second prefix a copy of the first: making one is the slow part (some 20 s).
    rm -rf "$STATE_DIR/prefix-desktop"
    export WINEPREFIX=$STATE_DIR/prefix
    "$WINE" wineboot -i </dev/null >"$STATE_DIR/wineboot.out" 2>&1 && wineserver -w ||
        { echo "wineboot failed"; cat "$STATE_DIR/wineboot.out"; return 1; }
    cp -a "$STATE_DIR/prefix" "$STATE_DIR/prefix-desktop" || return 1
    export WINEPREFIX=$STATE_DIR/prefix-desktop
    "$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 &&
        "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1600x1200 /f \
            >/dev/null 2>&1 && wineserver -w ||
        { echo "the virtual desktop could not be set up"; return 1; }
    echo "Xvfb on $DISPLAY, $WINEARCH Wine prefixes ready in $STATE_DIR"
}

case "$ACTION" in
setup) setup ;;
cleanup) stop_all ;;
*) echo "usage: $0 setup|cleanup STATE_DIR"; exit 2 ;;
esac
