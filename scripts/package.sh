#!/usr/bin/env bash
# SPDX-License-Identifier: Zlib
# Makes the two Debian packages in build/game/packages/: quillmark-dev (the framework: headers,
# static libraries, CMake package, pkg-config file) and cinderpath2 (the game, its data and its
# launcher). Installs only what building the game and packaging need; neither tests nor benchmarks
# are built.
# Install one with: apt-get install ./build/game/packages/cinderpath2_<version>_<arch>.deb
set -euo pipefail
cd "$(dirname "$0")/.."
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"

scripts/install_dependencies.sh package
cmake --preset game
cmake --build --preset game
(cd build/game && cpack)
ls -1 build/game/packages/*.deb
