#!/usr/bin/env bash
# Runs a Windows program under Wine, quietly, in a scratch prefix of its own (made at the first run, in a
# few seconds): $WINEPREFIX where set, else one per user under the temporary folder. The program's exit
# status is passed on.
set -u
export WINEPREFIX=${WINEPREFIX:-${TMPDIR:-/tmp}/coilrun-wine-$(id -u)}
export WINEDEBUG=${WINEDEBUG:--all}
# No .NET or browser engine is wanted, nor asked to be installed.
# On a machine without a sound card, Wine's sound drivers are left out too, with their complaints; the game
# then plays silently after one line of its own.
overrides="mscoree,mshtml="
[ -e /dev/snd ] || overrides="$overrides;winealsa.drv,winepulse.drv,wineoss.drv=d"
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-$overrides}
wine=$(command -v wine64 || command -v wine)
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  # One maker at a time: tests started together share the prefix.
  (flock 9; [ -f "$WINEPREFIX/system.reg" ] || "$wine" wineboot --init >/dev/null 2>&1) 9>"$WINEPREFIX.lock"
fi
exec "$wine" "$@"
