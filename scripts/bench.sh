#!/usr/bin/env bash
# SPDX-License-Identifier: Zlib
# Builds the default preset and runs every benchmark program (under a display for GL ones).
set -euo pipefail
cd "$(dirname "$0")/.."
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"

scripts/install_dependencies.sh
cmake --preset default
cmake --build --preset default
for program in build/default/bench/*/bench_*; do
  [ -x "$program" ] || continue
  echo "== $(basename "$program")"
  scripts/with_display.sh "$program" "$@"
done
