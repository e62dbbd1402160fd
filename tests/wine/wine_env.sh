# Shared settings of the Wine test scripts; sourced with STATE_DIR and WINEPREFIX set.
# shellcheck shell=bash

export WINEARCH=win32
export WINEDEBUG=-all
# No Mono/Gecko install prompts, and no debugger: a crash must end the process, not hang it.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
export WINEPREFIX

# The display chosen by the setup fixture, if any.
if [ -f "$STATE_DIR/display" ]; then
    DISPLAY=":$(cat "$STATE_DIR/display")"
    export DISPLAY
fi
