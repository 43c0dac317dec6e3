#!/usr/bin/env bash
# Runs a Windows program under Debian's Wine: run_under_wine.sh <prefix folder> <program> [args].
# The prefix is made on first use (once, even when several programs start together). Wine's own
# diagnostics stay quiet, and it is kept from offering to download its .NET and HTML engines.
set -euo pipefail
export WINEPREFIX="$1"
shift
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
wine=/usr/lib/wine/wine64

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      "$wine" wineboot --init >/dev/null 2>&1
      /usr/lib/wine/wineserver --wait
    fi
  ) 9>"$WINEPREFIX.lock"
fi
exec "$wine" "$@"
