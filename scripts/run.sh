#!/usr/bin/env bash
# SPDX-License-Identifier: Zlib
# Builds the game alone (release, no tests) and plays it from the repository root, where its data/
# folder is. Installs only what building and playing need. Without a display it also installs a
# virtual one (xvfb-run), so the command it then suggests works on this machine as it stands.
set -euo pipefail
cd "$(dirname "$0")/.."
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"

has_display=true
groups=(game)
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  has_display=false
  groups+=(xvfb)
fi

scripts/install_dependencies.sh "${groups[@]}"
cmake --preset game
cmake --build --preset game --target cinderpath2

if ! $has_display; then
  # A machine without a screen seldom has a sound card, and nobody hears a virtual display:
  # OpenAL Soft's null output keeps the game from reporting a missing audio device in error boxes
  # nobody could close.
  echo "run.sh: the game is built (build/game/cinderpath2), but there is no display to show its" \
       "window on: neither DISPLAY nor WAYLAND_DISPLAY is set. Run it from a desktop session," \
       "or in a virtual display (xvfb-run, installed just now), where it plays unseen and" \
       "silent until you stop it with Ctrl+C:" >&2
  echo "  ALSOFT_DRIVERS=null xvfb-run -a -s '-screen 0 1920x1080x24' scripts/run.sh" >&2
  exit 1
fi
exec build/game/cinderpath2
