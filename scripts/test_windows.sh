#!/usr/bin/env bash
# SPDX-License-Identifier: Zlib
# Builds the Windows preset (MinGW-w64) and passes the Windows tests under Wine, with a private
# Xvfb when there is no display: the suites through CTest, then the game's end-to-end test (a
# Linux program of the default preset) driving cinderpath2.exe from outside, one game at a time,
# then sessions across the two platforms: the Linux recordings replay identical on Windows, and a
# session recorded on each replays identical on the other.
# Extra arguments go to the suites' ctest, e.g. `scripts/test_windows.sh -L unit`.
set -euo pipefail
cd "$(dirname "$0")/.."
export CTEST_PARALLEL_LEVEL="${CTEST_PARALLEL_LEVEL:-$(nproc)}"
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"

scripts/install_dependencies.sh all windows
cmake --preset windows
cmake --build --preset windows
cmake --preset default
cmake --build --preset default --target cinderpath2_e2e_tests cinderpath2

# Nothing of Wine's is left running afterwards.
prefix="$PWD/build/windows/wine"
work="$(mktemp -d)"
trap 'WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT

scripts/with_display.sh ctest --preset windows "$@"
windows_game="'$PWD/scripts/run_under_wine.sh' --alone '$prefix' '$PWD/build/windows/cinderpath2.exe'"
QM_GAME_COMMAND="$windows_game" QM_GAME_WITHOUT_OPENAL=1 \
  scripts/with_display.sh ctest --preset default -L e2e -E '^Replay[.]' --parallel 1

echo "== cinderpath2.exe --version"
scripts/with_display.sh bash -c "$windows_game --version" | tee -a /dev/stderr |
  grep -E $'^Cinderpath2 [0-9]+[.][0-9]+[.][0-9]+ [(]Quillmark [0-9]+[.][0-9]+[.][0-9]+[)]\r?$' >/dev/null

# The verdict line, as the game prints it (with the line end a Windows console adds).
identical() { tee -a /dev/stderr | grep -E $'^replay: [0-9]+ frames, identical\r?$' >/dev/null; }
for recording in tests/replays/*.replay; do
  echo "== $recording, replayed on Windows"
  scripts/with_display.sh bash -c "$windows_game --replay '$recording'" | identical
done
echo "== recorded on Windows, replayed on Linux"
scripts/with_display.sh tests/replays/record_then_replay.sh "$work" "$windows_game" \
  "$PWD/build/default/cinderpath2" | identical
echo "== recorded on Linux, replayed on Windows"
scripts/with_display.sh tests/replays/record_then_replay.sh "$work" \
  "$PWD/build/default/cinderpath2" "$windows_game" | identical
