# Settings of the scripts that run the Windows program under Wine; sourced with STATE_DIR set.
# shellcheck shell=bash
# The loader and the prefixes' architecture the fixture was given; where the kernel runs no 32-bit
# programs, Debian's wine wrapper would pick the 32-bit loader and fail: wine64 is named itself.
WINE=wine WINEARCH=win32
[ -f "$STATE_DIR/wine.env" ] && . "$STATE_DIR/wine.env"
[ "$WINEARCH" = win64 ] && export WINELOADER=$WINE
export WINE WINEARCH WINEDEBUG=-all
# No Mono/Gecko prompts, no debugger (a crash must end the process), and a test's own overrides.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d${WINE_EXTRA_DLLOVERRIDES:+;$WINE_EXTRA_DLLOVERRIDES}"
[ -f "$STATE_DIR/display" ] && DISPLAY=":$(cat "$STATE_DIR/display")" && export DISPLAY
