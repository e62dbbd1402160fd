# Settings of the scripts that run the Windows program under Wine; sourced with STATE_DIR set.
# shellcheck shell=bash
export WINEARCH=win32 WINEDEBUG=-all
# No Mono/Gecko prompts, no debugger (a crash must end the process), and a test's own overrides.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d${WINE_EXTRA_DLLOVERRIDES:+;$WINE_EXTRA_DLLOVERRIDES}"
[ -f "$STATE_DIR/display" ] && DISPLAY=":$(cat "$STATE_DIR/display")" && export DISPLAY
