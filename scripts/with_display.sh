#!/usr/bin/env bash
# Runs a command with an X display: the caller's own, or a private Xvfb started for the run.
# Sound goes to OpenAL Soft's null backend unless the caller chose one.
set -euo pipefail

export ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$@"
fi

for number in $(seq 90 130); do
  if [ ! -e "/tmp/.X11-unix/X${number}" ] && [ ! -e "/tmp/.X${number}-lock" ]; then
    break
  fi
done
Xvfb ":${number}" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null || true' EXIT
export DISPLAY=":${number}"
for _ in $(seq 1 100); do
  xdpyinfo >/dev/null 2>&1 && break
  sleep 0.1
done
"$@"
