#!/usr/bin/env bash
# SPDX-License-Identifier: Zlib
# Runs a command with an X display: the caller's own, or a private Xvfb started for the run.
# Xvfb picks a free display itself (-displayfd), so a server already holding a number (whose
# socket may be abstract, with no lock file to see) is never shared by mistake.
# Sound goes to OpenAL Soft's null backend unless the caller chose one.
set -euo pipefail

export ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$@"
fi

display_file="$(mktemp)"
exec {display_fd}>"$display_file"
# -noreset: the server would otherwise reset (refusing connections meanwhile) whenever its last
# client leaves, which happens between every two test programs.
Xvfb -displayfd "$display_fd" -screen 0 1920x1080x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb_pid=$!
exec {display_fd}>&-
trap 'kill "$xvfb_pid" 2>/dev/null || true; rm -f "$display_file"' EXIT

# Xvfb writes its display number once it accepts clients.
for _ in $(seq 1 200); do
  if [ -s "$display_file" ] || ! kill -0 "$xvfb_pid" 2>/dev/null; then
    break
  fi
  sleep 0.1
done
number="$(tr -dc '0-9' < "$display_file")"
if [ -z "$number" ] || ! DISPLAY=":$number" xdpyinfo >/dev/null 2>&1; then
  echo "with_display.sh: Xvfb did not start, so there is no display to run on." >&2
  exit 1
fi
export DISPLAY=":$number"
"$@"
