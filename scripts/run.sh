#!/usr/bin/env bash
# Builds the game alone (release, no tests) and plays it from the repository root, where its data/
# folder is. Installs only what building and playing need.
set -euo pipefail
cd "$(dirname "$0")/.."
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"

scripts/install_dependencies.sh game
cmake --preset game
cmake --build --preset game --target cinderpath2

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run.sh: the game is built (build/game/cinderpath2), but there is no display to show its" \
       "window on: neither DISPLAY nor WAYLAND_DISPLAY is set. Run it from a desktop session," \
       "or under a virtual one: xvfb-run -s '-screen 0 1920x1080x24' scripts/run.sh" >&2
  exit 1
fi
exec build/game/cinderpath2
