#!/usr/bin/env bash
# SPDX-License-Identifier: Zlib
# Runs a Windows program under Debian's Wine: run_under_wine.sh [--alone] <prefix> <program> [args]
# The prefix folder is made on first use (once, even when several programs start together), with
# Wine's crash dialog turned off: a program that crashes ends at once instead of waiting for a
# click.
# --alone first waits until nothing else runs in the prefix, so the Wine session (its desktop
# process among them) starts anew on the current X display, not on the display of a program
# before it. Wine's own diagnostics stay quiet, and it never offers to download its .NET and
# HTML engines. The Wine session's server never holds the caller's output open (see below).
set -euo pipefail
alone=0
if [ "${1:-}" = "--alone" ]; then
  alone=1
  shift
fi
export WINEPREFIX="$1"
shift
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver

# Marked ready only once complete: a program started meanwhile waits for the lock.
ready="$WINEPREFIX/quillmark-prefix-ready"
if [ ! -f "$ready" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$ready" ]; then
      "$wine" wineboot --init >/dev/null 2>&1
      "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
        >/dev/null 2>&1
      "$wineserver" --wait
      touch "$ready"
    fi
  ) 9>"$WINEPREFIX.lock"
fi
if [ "$alone" -eq 1 ]; then
  "$wineserver" --wait
fi
# The first program of a Wine session starts the session's server and services, which outlive it
# and keep whatever output it had open: a caller reading its output (CTest) would wait for them
# too. So a session is started by a program of nothing, its output going nowhere, first (and
# without the lock, which the server would otherwise hold for as long as it runs).
# Starting it can fail now and then (a server that is just shutting down); the program then starts
# the session itself, so that is said and the program run all the same, never silently skipped.
session=0
(flock 9; "$wine" cmd /c exit </dev/null >/dev/null 2>&1 9>&-) 9>"$WINEPREFIX.session.lock" ||
  session=$?
if [ "$session" -ne 0 ]; then
  echo "run_under_wine: starting the Wine session ended with code $session" >&2
fi

# A game (--alone) runs as it is. A test program always writes before it can fail, yet now and
# then, on a loaded machine, Wine ends one with a failure before it has written a byte: that is
# Wine, not the test, so it is said and the program run once more. Its output goes through a file
# to tell the case apart.
if [ "$alone" -eq 1 ]; then
  exec "$wine" "$@"
fi
output="$(mktemp)"
trap 'rm -f "$output"' EXIT
for attempt in 1 2; do
  status=0
  "$wine" "$@" >"$output" 2>&1 || status=$?
  if [ "$status" -eq 0 ] || [ -s "$output" ] || [ "$attempt" -eq 2 ]; then
    break
  fi
  echo "run_under_wine: $1 ended with code $status before writing anything; running it again" >&2
done
cat "$output"
if [ "$status" -ne 0 ] && [ ! -s "$output" ]; then
  echo "run_under_wine: $1 ended with code $status without writing anything" >&2
fi
exit "$status"
