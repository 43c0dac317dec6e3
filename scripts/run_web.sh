#!/usr/bin/env bash
# SPDX-License-Identifier: Zlib
# Builds the browser pages (the `web` preset, with Debian's Emscripten) and serves them on
# 127.0.0.1 with the static server of Debian's Python, printing the addresses to open. Ctrl+C
# stops the server.
#   scripts/run_web.sh [PORT]     (default 8080)
set -euo pipefail
cd "$(dirname "$0")/.."
port="${1:-8080}"

scripts/install_dependencies.sh web
# Emscripten's optimiser needs Debian's JavaScript modules, also where another node comes first.
export NODE_PATH=/usr/share/nodejs
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"
cmake --preset web
cmake --build --preset web

echo "Cinderpath2:    http://127.0.0.1:${port}/cinderpath2/"
echo "The first game: http://127.0.0.1:${port}/first_game/"
echo "(add ?nodata to an address to start a game without its data files)"
exec /usr/bin/python3 -m http.server "$port" --bind 127.0.0.1 --directory build/web/pages
