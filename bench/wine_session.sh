# Sourced by the benchmarks: a Wine prefix of their own and a display, both cleaned up at exit.
#   bench_wine_session NAME PREFIX DISPLAY_NUMBER [desktop]
# Uses $DISPLAY when it answers, else starts Xvfb on :DISPLAY_NUMBER. With "desktop" the
# prefix runs its programs in Wine's virtual desktop of 1600 x 1200, which can switch modes.
bench_wine_session() {
  local name=$1
  export WINEPREFIX=$2 WINEARCH=win32 WINEDEBUG=-all
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
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w || true
    if [ "${4:-}" = desktop ]; then
      wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
      wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1600x1200 /f >/dev/null 2>&1
      wineserver -w || true
    fi
  fi
}
