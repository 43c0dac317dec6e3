#!/usr/bin/env bash
# SPDX-License-Identifier: Zlib
# Records a short session of the real game on a private X server (the pointer moved by xdotool,
# Escape to end it), then replays it headless: whatever the recorder writes must replay identical,
# also on another platform's build (the Windows game under Wine records, the Linux one replays,
# or the other way round).
# A server that fails under the game is the machine's trouble, not the recorder's: the game is
# held to X11 (so it cannot carry on windowless), and the recording is tried again on a new server.
# Usage: record_then_replay.sh <folder for the recording> <recording game> [<replaying game>]
# where a game is a command line, such as the program's path (the replaying game defaults to the
# recording one).
set -euo pipefail
recording="$1/record_then_replay.replay"
record_game="$2"
replay_game="${3:-$2}"

play() {
  SDL_VIDEODRIVER=x11 bash -c "exec $record_game --record '$recording'" &
  local pid=$!
  local shown=1
  for _ in $(seq 1 300); do
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
export record_game recording
for attempt in 1 2 3; do
  if env -u DISPLAY "$(dirname "$0")/../../scripts/with_display.sh" bash -c play; then
    exec bash -c "exec $replay_game --replay '$recording'"
  fi
  echo "record_then_replay.sh: no game window on try $attempt" >&2
done
exit 1
