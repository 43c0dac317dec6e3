#!/usr/bin/env bash
# Installs what the project needs from Debian 12's packages, by purpose:
#   scripts/install_dependencies.sh game   building and playing the game (scripts/run.sh)
#   scripts/install_dependencies.sh all    also the tests, benchmarks, fuzzers and their display
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
tests=(
  git clang-format
  libgtest-dev libbenchmark-dev nlohmann-json3-dev
  clang libclang-rt-14-dev
  xvfb xauth xdotool x11-utils openbox
)

case "${1:-all}" in
  game) packages=("${game[@]}") ;;
  all) packages=("${game[@]}" "${tests[@]}") ;;
  *) echo "usage: $0 [game|all]" >&2; exit 2 ;;
esac

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
