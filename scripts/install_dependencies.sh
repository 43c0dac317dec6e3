#!/usr/bin/env bash
# SPDX-License-Identifier: Zlib
# Installs what the project needs from Debian 12's packages, by purpose (several may be given):
#   scripts/install_dependencies.sh game     building and playing the game (scripts/run.sh)
#   scripts/install_dependencies.sh xvfb     playing it without a screen, in a virtual X display
#                                            (xvfb-run; scripts/run.sh installs it when needed)
#   scripts/install_dependencies.sh package  also making the Debian packages (scripts/package.sh)
#   scripts/install_dependencies.sh all      also the tests, benchmarks, fuzzers and their display
#   scripts/install_dependencies.sh windows  building for Windows and running that build under
#                                            Wine (scripts/test_windows.sh, package_windows.sh)
#   scripts/install_dependencies.sh web      building the browser pages and serving them
#                                            (scripts/run_web.sh); `all` includes it, with the
#                                            browser and driver the browser tests use
# Packages are installed without their recommendations, so everything needed at run time is
# named here. Idempotent: when everything is installed it changes nothing and needs no network.
set -euo pipefail

game=(
  # Python draws the game's icon while the game builds (tools/data_generator).
  build-essential cmake pkg-config python3
  libsdl2-dev libopenal-dev libgl-dev libegl-dev libstb-dev
  # OpenAL Soft reaches the sound system through these, which it only recommends.
  libasound2 libpulse0
  # The X server's core fonts, which SDL's message boxes draw their text with.
  xfonts-base
)
xvfb=(
  # xvfb-run needs xauth for the display's key.
  xvfb xauth
)
package=(
  # CPack asks file which installed files are programs, whose libraries dpkg-shlibdeps (from
  # build-essential's dpkg-dev) turns into the game package's dependencies.
  file
)
web=(
  cmake make libstb-dev
  # Debian's Emscripten (its compilers, Binaryen and the node modules it runs come with it);
  # the pages are served by Python's static server.
  emscripten python3
  # The first game's page makes its data as its own project does: its music with oggenc, its
  # font copied from DejaVu Sans.
  fonts-dejavu-core vorbis-tools
)
tests=(
  git clang-format
  libgtest-dev libbenchmark-dev nlohmann-json3-dev rapidjson-dev libsimdjson-dev
  clang libclang-rt-14-dev
  xvfb xauth xdotool x11-utils openbox
  # Text tests draw in DejaVu Sans; music tests, the benchmark and the first game's data script
  # make their Ogg Vorbis tracks with oggenc (nothing of either is kept in the repository).
  fonts-dejavu-core vorbis-tools
  # desktop-file-validate checks the game's desktop menu entry.
  desktop-file-utils
  # The browser pages are built with the rest and tested in headless Chromium.
  "${web[@]}" chromium chromium-driver python3-selenium python3-pil
)
windows=(
  cmake make libopenal-dev libstb-dev python3
  # The compilers (POSIX threads, for std::thread), and GoogleTest's sources to build with them.
  g++-mingw-w64-x86-64-posix googletest
  wine64
  # What Wine only recommends but its windows need: fonts for message boxes, OpenGL through
  # Mesa on the X server, and the X extensions its display driver loads.
  fonts-wine libgl1 libgl1-mesa-dri
  libxrender1 libxrandr2 libxi6 libxcursor1 libxfixes3 libxcomposite1 libxinerama1 libxxf86vm1
)

packages=()
for group in "${@:-all}"; do
  case "$group" in
    game) packages+=("${game[@]}") ;;
    xvfb) packages+=("${xvfb[@]}") ;;
    package) packages+=("${game[@]}" "${package[@]}") ;;
    all) packages+=("${game[@]}" "${package[@]}" "${tests[@]}") ;;
    windows) packages+=("${windows[@]}") ;;
    web) packages+=("${web[@]}") ;;
    *) echo "usage: $0 [game|xvfb|package|all|windows|web]..." >&2; exit 2 ;;
  esac
done

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi

echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
