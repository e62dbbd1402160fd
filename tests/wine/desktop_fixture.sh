#!/bin/bash
# Prepares (setup) or stops (cleanup) a second Wine prefix whose programs run in Wine's virtual
# desktop of 1600 x 1200, which lists display modes down to 320 x 200 and can change them, on
# the display of the main fixture. Usage: desktop_fixture.sh setup|cleanup STATE_DIR WINEPREFIX
set -u
ACTION=$1
STATE_DIR=$2
WINEPREFIX=$3
. "$(dirname "$0")/wine_env.sh"

setup() {
    if [ ! -f "$STATE_DIR/display" ]; then
        echo "no virtual display: the setup fixture did not run"
        return 1
    fi
    wineserver -k >/dev/null 2>&1
    mkdir -p "$WINEPREFIX"
    if ! wineboot -i </dev/null >"$STATE_DIR/wineboot-desktop.out" 2>&1; then
        echo "wineboot failed"
        cat "$STATE_DIR/wineboot-desktop.out"
        return 1
    fi
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 &&
        wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1600x1200 /f \
            >/dev/null 2>&1
    local result=$?
    wineserver -w
    if [ $result -ne 0 ]; then
        echo "the virtual desktop could not be set up"
        return 1
    fi
    echo "Wine prefix with a 1600 x 1200 virtual desktop ready in $WINEPREFIX"
}

case "$ACTION" in
setup) setup ;;
cleanup) wineserver -k >/dev/null 2>&1; exit 0 ;;
*)
    echo "usage: $0 setup|cleanup STATE_DIR WINEPREFIX"
    exit 2
    ;;
esac
