# Sourced: starts an X server for Wine unless one is usable, and a wineserver
# whose output goes nowhere (it lingers and would hold a caller's pipes open).
# Sets DISPLAY and WINEPREFIX; velumo_stop_xserver ends what was started.
velumo_started_xvfb=""
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  for n in $(seq 90 120); do
    # A lock whose X server is gone (ended by force) does not hold its number:
    # Xvfb takes such a number over.
    lock="/tmp/.X$n-lock"
    if [ -e "$lock" ]; then
      [ -d "/proc/$(tr -d ' ' <"$lock")" ] && continue
    elif [ -e "/tmp/.X11-unix/X$n" ]; then
      continue
    fi
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
# Wine draws the title bar's buttons with the symbol font Marlett; without it
# a text font of the Japanese code page shows the letters "0 1 r". Wine uses
# its own Marlett (package fonts-wine) from the prefix's Fonts folder, not
# from /usr/share/wine/fonts.
velumo_marlett=/usr/share/wine/fonts/marlett.ttf
if [ -f "$velumo_marlett" ] && [ ! -f "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf" ]; then
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp "$velumo_marlett" "$WINEPREFIX/drive_c/windows/Fonts/"
fi
# The wineserver and Wine's own services (started with the first program of a
# prefix) live on and keep the standard streams they were given: start both
# here with theirs sent nowhere, so that no caller waits on a pipe they hold.
wineserver -p </dev/null >/dev/null 2>&1 || true
wineboot </dev/null >/dev/null 2>&1 || true
# Once per prefix: with no window manager under Xvfb, Wine draws its own frames
# instead of waiting 2 s for one at every hidden window; and the program's
# font name maps to the proportional IPA Gothic.
if [ ! -f "$WINEPREFIX/.velumo-configured" ]; then
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$(printf '\xef\xbc\xad\xef\xbc\xb3 \xef\xbc\xb0\xe3\x82\xb4\xe3\x82\xb7\xe3\x83\x83\xe3\x82\xaf')" /d IPAPGothic /f </dev/null >/dev/null 2>&1
  touch "$WINEPREFIX/.velumo-configured"
fi

velumo_stop_xserver() {
  wineserver -k </dev/null >/dev/null 2>&1 || true
  [ -n "$velumo_started_xvfb" ] && kill "$velumo_started_xvfb" 2>/dev/null || true
}
