#!/usr/bin/env bash
# SPDX-License-Identifier: Zlib
# Checks the framework as someone outside this repository gets it: builds it (the game preset,
# release), installs it to a temporary prefix, compiles every installed header on its own, links
# a program through quillmark-platform.pc (whose version must be the library's own), then builds
# examples/first_game against the prefix with find_package and plays it for a few hundred frames
# (under a private Xvfb when there is no display; sound on OpenAL Soft's null backend unless one
# is chosen), records those frames and replays them.
set -euo pipefail
cd "$(dirname "$0")/.."
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"
frames="${1:-300}"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"

cmake --preset game >/dev/null
cmake --build --preset game --target quillmark quillmark_platform
cmake --install build/game --prefix "$prefix" --component framework >/dev/null

# Each header must compile with nothing but the prefix and the standard library.
(cd "$prefix/include" && find quill_mark -name '*.h' | sort) | while read -r header; do
  echo "#include \"$header\"" |
    g++ -std=c++17 -Wall -Wextra -Wpedantic -Werror -fsyntax-only -I"$prefix/include" -x c++ - ||
    { echo "check_example.sh: the installed header $header does not compile on its own" >&2; exit 1; }
done
echo "check_example.sh: every installed header compiles on its own."

# A program that runs through RunSession and prints the framework's version: the link, the
# layer choice, and the version the library carries.
printf '%s\n' '#include <cstdio>' '#include "quill_mark/core/qm_version.h"' \
  '#include "quill_mark/session/qm_session.h"' \
  'int Play() { return std::puts(Quillmark::GetVersion()) >= 0 ? 0 : 1; }' \
  'int main(int argc, char** argv) { return Quillmark::Session::RunSession(argc, argv, "Check", Play); }' \
  > "$work/pc_check.cpp"
# shellcheck disable=SC2046
g++ -std=c++17 "$work/pc_check.cpp" -o "$work/pc_check" \
  $(PKG_CONFIG_PATH="$prefix/lib/pkgconfig" pkg-config --cflags --libs quillmark-platform)
# The library linked in and the .pc files that found it carry the project's one version. It is
# run as the game is, below: the sound device opens before main, and on a machine without one the
# default output's failure reports would land in the version it prints.
library_version="$(scripts/with_display.sh "$work/pc_check")"
for pc in quillmark quillmark-platform; do
  pc_version="$(PKG_CONFIG_PATH="$prefix/lib/pkgconfig" pkg-config --modversion "$pc")"
  if [ "$library_version" != "$pc_version" ]; then
    echo "check_example.sh: the library says it is $library_version, $pc.pc says $pc_version" >&2
    exit 1
  fi
done
echo "check_example.sh: a program links and runs through quillmark-platform.pc (version" \
  "$pc_version), and the library names the same version."

cmake -S examples/first_game -B "$work/first_game" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/first_game"
cd examples/first_game
FIRST_GAME_FRAMES="$frames" timeout 120 ../../scripts/with_display.sh "$work/first_game/first_game" \
  --record "$work/first_game.replay"
echo "check_example.sh: examples/first_game built against the installed framework and ran $frames frames."
FIRST_GAME_FRAMES="$frames" "$work/first_game/first_game" --replay "$work/first_game.replay" | grep -E '^replay: [0-9]+ frames, identical$'
echo "check_example.sh: and they replay identical."
