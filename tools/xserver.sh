# Sourced: starts an X server for Wine unless one is usable, and a wineserver
# whose output goes nowhere (it lingers and would hold a caller's pipes open).
# Sets DISPLAY and WINEPREFIX; velumo_stop_xserver ends what was started.
velumo_started_xvfb=""
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  for n in $(seq 90 120); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    velumo_started_xvfb=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    break
  done
fi
export WINEPREFIX=${WINEPREFIX:-$HOME/.wine-velumo}
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot --init </dev/null >/dev/null 2>&1 || true
fi
wineserver -p </dev/null >/dev/null 2>&1 || true

velumo_stop_xserver() {
  wineserver -k </dev/null >/dev/null 2>&1 || true
  [ -n "$velumo_started_xvfb" ] && kill "$velumo_started_xvfb" 2>/dev/null || true
}
