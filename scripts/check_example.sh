#!/usr/bin/env bash
# Checks the framework as someone outside this repository gets it: builds it (the game preset,
# release), installs it to a temporary prefix, compiles every installed header on its own, links
# a program through quillmark.pc, then builds examples/first_game against the prefix with
# find_package and plays it for a few hundred frames (under a private Xvfb when there is no
# display; sound on OpenAL Soft's null backend unless one is chosen).
set -euo pipefail
cd "$(dirname "$0")/.."
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"
frames="${1:-300}"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"

cmake --preset game >/dev/null
cmake --build --preset game --target quillmark quillmark_platform_sdl quillmark_platform_session
cmake --install build/game --prefix "$prefix" --component framework >/dev/null

# Each header must compile with nothing but the prefix and the standard library.
(cd "$prefix/include" && find quill_mark -name '*.h' | sort) | while read -r header; do
  echo "#include \"$header\"" |
    g++ -std=c++17 -Wall -Wextra -Wpedantic -Werror -fsyntax-only -I"$prefix/include" -x c++ - ||
    { echo "check_example.sh: the installed header $header does not compile on its own" >&2; exit 1; }
done
echo "check_example.sh: every installed header compiles on its own."

printf '%s\n' '#include "quill_mark/platform/qm_random.h"' \
  'int main() { return Quillmark::Platform::RandomFloat() < 1.0f ? 0 : 1; }' > "$work/pc_check.cpp"
# shellcheck disable=SC2046
g++ -std=c++17 "$work/pc_check.cpp" -o "$work/pc_check" \
  $(PKG_CONFIG_PATH="$prefix/lib/pkgconfig" pkg-config --cflags --libs quillmark)
"$work/pc_check"
echo "check_example.sh: a program links and runs through quillmark.pc."

cmake -S examples/first_game -B "$work/first_game" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/first_game"
cd examples/first_game
FIRST_GAME_FRAMES="$frames" timeout 120 ../../scripts/with_display.sh "$work/first_game/first_game"
echo "check_example.sh: examples/first_game built against the installed framework and ran $frames frames."
