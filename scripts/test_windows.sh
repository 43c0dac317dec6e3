#!/usr/bin/env bash
# Builds the Windows preset (MinGW-w64) and passes the Windows tests under Wine, with a private
# Xvfb when there is no display: the suites through CTest, then the game's end-to-end test (a
# Linux program of the default preset) driving cinderpath2.exe from outside, one game at a time.
# Extra arguments go to the suites' ctest, e.g. `scripts/test_windows.sh -L unit`.
set -euo pipefail
cd "$(dirname "$0")/.."
export CTEST_PARALLEL_LEVEL="${CTEST_PARALLEL_LEVEL:-$(nproc)}"
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"
export ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}"

scripts/install_dependencies.sh all windows
cmake --preset windows
cmake --build --preset windows
cmake --preset default
cmake --build --preset default --target cinderpath2_e2e_tests

# Nothing of Wine's is left running afterwards.
prefix="$PWD/build/windows/wine"
trap 'WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT

scripts/with_display.sh ctest --preset windows "$@"
QM_GAME_COMMAND="'$PWD/scripts/run_under_wine.sh' --alone '$prefix' '$PWD/build/windows/cinderpath2.exe'" \
  QM_GAME_WITHOUT_OPENAL=1 scripts/with_display.sh ctest --preset default -L e2e -E '^Replay[.]' --parallel 1
