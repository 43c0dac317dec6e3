#!/usr/bin/env bash
# SPDX-License-Identifier: Zlib
# Records the game's replay fixtures (tests/replays/*.replay) on a private Xvfb: the real game with
# --record, the pointer and keys driven by xdotool, the sound captured by OpenAL Soft's wave
# backend so that the collisions can be heard. Each recording is then replayed once, headless, to
# show it replays identical and how much faster than it was played.
#   collisions      under a window manager (openbox): the cursor sits in the middle, where the
#                   circles meet, then circles it; closed with Alt+F4 after about 20 seconds
#   cursor_outside  under a window manager: the cursor leaves the window on every side and comes
#                   back; closed with Alt+F4
#   escape          no window manager: Escape pressed, held until the keyboard repeats, released
#   windows_collisions  the Windows build under Wine, no window manager: the cursor in the middle,
#                   where the circles meet, then around it; closed with Alt+F4 (which Wine turns
#                   into the system's close request), so the Linux tests replay a Windows session
# Usage: scripts/record_replay_fixture.sh [collisions|cursor_outside|escape|windows_collisions]...
#        (default: all; windows_collisions needs the windows preset built)
set -euo pipefail
cd "$(dirname "$0")/.."

game=build/default/cinderpath2
windows_game=("$PWD/scripts/run_under_wine.sh" --alone "$PWD/build/windows/wine" "$PWD/build/windows/cinderpath2.exe")
cmake --build --preset default --target cinderpath2 >/dev/null
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The window is at (50, 50) on the screen; these are screen positions of client points.
client() { echo "$((50 + $1)) $((50 + $2))"; }

scenario_collisions() {
  xdotool mousemove $(client 640 360)
  sleep 6
  for point in "700 300" "580 420" "640 360" "760 360" "520 360" "640 360"; do
    xdotool mousemove $(client $point)
    sleep 2
  done
  xdotool key alt+F4
}

scenario_cursor_outside() {
  xdotool mousemove $(client 640 360)
  sleep 1.5
  for point in "-40 360" "640 -45" "1330 360" "640 790" "-45 -45" "1400 800" "640 360"; do
    xdotool mousemove $(client $point)
    sleep 1
  done
  xdotool key alt+F4
}

scenario_windows_collisions() {
  xdotool mousemove $(client 640 360)
  sleep 8
  for point in "700 300" "580 420" "640 360"; do
    xdotool mousemove $(client $point)
    sleep 2
  done
  xdotool key alt+F4
}

scenario_escape() {
  xdotool mousemove $(client 600 330)
  sleep 2.5
  xdotool keydown Escape
  sleep 0.8
  xdotool keyup Escape
}

# Runs on the private display: the game recording, the scenario driving it.
record() {
  local name="$1" manager_pid=""
  if [ "$name" != escape ] && [ "$name" != windows_collisions ]; then
    openbox >/dev/null 2>&1 &
    manager_pid=$!
    sleep 1
  fi
  printf '[general]\nsample-type = int16\n[wave]\nfile = %s/%s.wav\n' "$work" "$name" > "$work/alsoft.conf"
  local started=$SECONDS
  local command=("$game")
  [ "$name" != windows_collisions ] || read -ra command <<< "$windows_game_line"
  ALSOFT_DRIVERS=wave ALSOFT_CONF="$work/alsoft.conf" \
    "${command[@]}" --record "tests/replays/$name.replay" > "$work/$name.log" &
  local game_pid=$!
  sleep 2
  [ "$name" != windows_collisions ] || sleep 4
  "scenario_$name"
  wait "$game_pid"
  echo "$name: played for $((SECONDS - started)) s"
  if [ -n "$manager_pid" ]; then kill "$manager_pid"; wait "$manager_pid" 2>/dev/null || true; fi
}

# The loudest sample of the captured sound, 0 to 32768: silence is 0.
loudness() {
  python3 -c 'import sys, array
data = open(sys.argv[1], "rb").read(); at = data.find(b"data") + 8
samples = array.array("h", data[at:at + (len(data) - at) // 2 * 2])
print(max((abs(s) for s in samples), default=0))' "$1"
}

export -f client record "scenario_collisions" "scenario_cursor_outside" "scenario_escape" \
  "scenario_windows_collisions"
export game work
export windows_game_line="${windows_game[*]}"
names=("$@")
[ ${#names[@]} -gt 0 ] || names=(collisions cursor_outside escape windows_collisions)
for name in "${names[@]}"; do
  env -u DISPLAY scripts/with_display.sh bash -c "record $name"
  if [ "$name" = windows_collisions ]; then
    echo "$name: $(wc -l < "tests/replays/$name.replay") lines, $(stat -c %s "tests/replays/$name.replay") bytes (silent: Wine has no OpenAL)"
  else
    echo "$name: $(wc -l < "tests/replays/$name.replay") lines, $(stat -c %s "tests/replays/$name.replay") bytes, loudest sample $(loudness "$work/$name.wav")"
  fi
  start=$(date +%s%N)
  "$game" --replay "tests/replays/$name.replay"
  echo "$name: replayed headless in $((($(date +%s%N) - start) / 1000000)) ms"
done
