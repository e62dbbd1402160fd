# Sourced by the benchmarks: the Windows build to run, and a Wine prefix of their own and a
# display, both cleaned up at exit.

# bench_windows_build BUILD: sets win (the Windows build's folder) and wine (its loader):
# BUILD/win under wine, or where the kernel runs no 32-bit programs BUILD/win64 under wine64
# (Debian's wine wrapper would pick the 32-bit loader and fail).
bench_windows_build() {
  win=$1/win wine=wine
  export WINEARCH=win32
  if ! /usr/lib/wine/wine --version >/dev/null 2>&1 && [ -x /usr/lib/wine/wine64 ] &&
    [ -d "$1/win64/bin" ]; then
    win=$1/win64 wine=/usr/lib/wine/wine64
    export WINEARCH=win64 WINELOADER=$wine
    echo "bench: this machine runs no 32-bit programs: Windows runs use $win under wine64" >&2
  fi
}

#   bench_wine_session NAME PREFIX DISPLAY_NUMBER [desktop]   (after bench_windows_build)
# Uses $DISPLAY when it answers, else starts Xvfb on :DISPLAY_NUMBER. With "desktop" the
# prefix runs its programs in Wine's virtual desktop of 1600 x 1200, which can switch modes.
# The prefix's name ends in its architecture: one prefix cannot serve both.
bench_wine_session() {
  local name=$1
  export WINEPREFIX=$2-$WINEARCH WINEDEBUG=-all
  # Without winedbg disabled a crash would hang in Wine's debugger.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"

  bench_xvfb=
  trap 'wineserver -k >/dev/null 2>&1 || true; [ -z "$bench_xvfb" ] || kill "$bench_xvfb" 2>/dev/null || true' EXIT

  if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    export DISPLAY=:$3
    Xvfb "$DISPLAY" -screen 0 1600x1200x24 -nolisten tcp -noreset >/dev/null 2>&1 &
    bench_xvfb=$!
    for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    xdpyinfo >/dev/null 2>&1 || { echo "$name: Xvfb on $DISPLAY did not start" >&2; exit 1; }
  fi

  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "$name: creating the Wine prefix $WINEPREFIX (once)..." >&2
    "$wine" wineboot -i >/dev/null 2>&1 || true
    wineserver -w || true
    if [ "${4:-}" = desktop ]; then
      "$wine" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
      "$wine" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1600x1200 /f >/dev/null 2>&1
      wineserver -w || true
    fi
  fi
}
