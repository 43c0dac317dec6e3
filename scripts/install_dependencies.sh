#!/usr/bin/env bash
# Installs what the project needs from Debian 12's packages, by purpose (several may be given):
#   scripts/install_dependencies.sh game     building and playing the game (scripts/run.sh)
#   scripts/install_dependencies.sh package  also making the Debian packages (scripts/package.sh)
#   scripts/install_dependencies.sh all      also the tests, benchmarks, fuzzers and their display
#   scripts/install_dependencies.sh windows  building for Windows and running that build under
#                                            Wine (scripts/test_windows.sh, package_windows.sh)
# Packages are installed without their recommendations, so everything needed at run time is
# named here. Idempotent: when everything is installed it changes nothing and needs no network.
set -euo pipefail

game=(
  build-essential cmake pkg-config
  libsdl2-dev libopenal-dev libgl-dev libegl-dev libstb-dev
  # OpenAL Soft reaches the sound system through these, which it only recommends.
  libasound2 libpulse0
  # The X server's core fonts, which SDL's message boxes draw their text with.
  xfonts-base
)
package=(
  # CPack asks file which installed files are programs, whose libraries dpkg-shlibdeps (from
  # build-essential's dpkg-dev) turns into the game package's dependencies.
  file
)
tests=(
  git clang-format
  libgtest-dev libbenchmark-dev nlohmann-json3-dev rapidjson-dev libsimdjson-dev
  clang libclang-rt-14-dev
  xvfb xauth xdotool x11-utils openbox
)
windows=(
  cmake make libopenal-dev libstb-dev
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
    package) packages+=("${game[@]}" "${package[@]}") ;;
    all) packages+=("${game[@]}" "${package[@]}" "${tests[@]}") ;;
    windows) packages+=("${windows[@]}") ;;
    *) echo "usage: $0 [game|package|all|windows]..." >&2; exit 2 ;;
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
