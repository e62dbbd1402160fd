# What the test scripts share: a bounded wait, a virtual X display, a program that must end with
# one line, and the settings that run the Windows program under Wine.
# shellcheck shell=bash

# Retries a command until it succeeds, for up to WAIT seconds (30 by default): a bound against
# hangs, not a speed test.
until_ok() {
    local end=$((SECONDS + ${WAIT:-30}))
    until "$@"; do [ $SECONDS -lt $end ] || return 1; sleep 0.1; done
}

# start_xvfb DIR WIDTHxHEIGHT: an Xvfb on a display it finds free itself (tests started together
# cannot take the same one), its number in DIR/display, its pid in DIR/xvfb.pid; DISPLAY set.
# setsid and redirected output: ctest waits for every holder of its pipes to exit.
start_xvfb() {
    setsid Xvfb -displayfd 3 -screen 0 "$2x24" -nolisten tcp -noreset 3>"$1/display" \
        </dev/null >"$1/xvfb.out" 2>&1 &
    echo $! >"$1/xvfb.pid"
    until_ok test -s "$1/display" && export DISPLAY=:$(cat "$1/display") &&
        until_ok xdpyinfo >/dev/null 2>&1 || { echo "Xvfb did not start" && cat "$1/xvfb.out"; return 1; }
}

# ends_with_line WHAT PATTERN COMMAND...: COMMAND must end by itself (within 30 s), non-zero,
# with one line on stderr matching PATTERN, else WHAT joins the array failures; output in $work.
ends_with_line() {
    timeout 30 "${@:3}" </dev/null >"$work/ended.out" 2>"$work/ended.err"
    local code=$?
    [ $code -ne 0 ] && [ $code -ne 124 ] && [ "$(wc -l <"$work/ended.err")" -eq 1 ] &&
        grep -q -- "$2" "$work/ended.err" ||
        failures+=("$1: exit code $code, stderr \"$(head -c 300 "$work/ended.err")\"")
}

# The Wine loader and the prefixes' architecture the fixture was given (STATE_DIR/wine.env); where
# the kernel runs no 32-bit programs, Debian's wine wrapper would pick the 32-bit loader and
# fail: wine64 is named itself. No Mono/Gecko prompts, no debugger (a crash must end the
# process), and a test's own overrides; DISPLAY the fixture's.
wine_env() {
    WINE=wine WINEARCH=win32
    [ -f "$STATE_DIR/wine.env" ] && . "$STATE_DIR/wine.env"
    [ "$WINEARCH" = win64 ] && export WINELOADER=$WINE
    export WINE WINEARCH WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d${WINE_EXTRA_DLLOVERRIDES:+;$WINE_EXTRA_DLLOVERRIDES}"
    [ -f "$STATE_DIR/display" ] && DISPLAY=":$(cat "$STATE_DIR/display")" && export DISPLAY
    return 0
}
