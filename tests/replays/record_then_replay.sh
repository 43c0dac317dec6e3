#!/usr/bin/env bash
# Records a short session of the real game on a private X server (the pointer moved by xdotool,
# Escape to end it), then replays it headless: whatever the recorder writes must replay identical.
# A server that fails under the game is the machine's trouble, not the recorder's: the game is
# held to X11 (so it cannot carry on windowless), and the recording is tried again on a new server.
# Usage: record_then_replay.sh <game program> <folder for the recording>
set -euo pipefail
game="$1"
recording="$2/record_then_replay.replay"

play() {
  SDL_VIDEODRIVER=x11 "$game" --record "$recording" &
  local pid=$!
  local shown=1
  for _ in $(seq 1 200); do
    shown=0
    xdotool search --name '^Cinderpath2$' >/dev/null 2>&1 && break
    shown=1
    sleep 0.1
  done
  if [ "$shown" -ne 0 ]; then
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    return 1
  fi
  for point in "690 410" "600 380" "900 200" "-5 300" "690 410"; do
    xdotool mousemove -- $point
    sleep 0.4
  done
  # Pressed long enough to span frames even on a loaded machine, and again if it was missed.
  for _ in $(seq 1 20); do
    xdotool keydown Escape
    sleep 0.3
    xdotool keyup Escape
    sleep 1
    kill -0 "$pid" 2>/dev/null || break
  done
  wait "$pid"
}

export -f play
export game recording
for attempt in 1 2 3; do
  if env -u DISPLAY "$(dirname "$0")/../../scripts/with_display.sh" bash -c play; then
    exec "$game" --replay "$recording"
  fi
  echo "record_then_replay.sh: no game window on try $attempt" >&2
done
exit 1
