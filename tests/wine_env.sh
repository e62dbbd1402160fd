# Settings of the scripts that run the Windows program under Wine; sourced with STATE_DIR set.
# shellcheck shell=bash
export WINEARCH=win32 WINEDEBUG=-all
# No Mono/Gecko install prompts, and no debugger: a crash must end the process, not hang it.
# A test may add its own (WINE_EXTRA_DLLOVERRIDES, e.g. winmm=n for the fake WinMM).
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d${WINE_EXTRA_DLLOVERRIDES:+;$WINE_EXTRA_DLLOVERRIDES}"
if [ -f "$STATE_DIR/display" ]; then
    DISPLAY=":$(cat "$STATE_DIR/display")"
    export DISPLAY
fi
