#!/usr/bin/env bash
# Runs a Windows program under Wine with the Japanese code page, quietly.
# The caller provides DISPLAY (an X server must exist before the first Wine start).
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEDEBUG=${WINEDEBUG:--all}
export WINEPREFIX=${WINEPREFIX:-$HOME/.wine-velumo}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
exec wine "$@"
