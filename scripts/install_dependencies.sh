#!/usr/bin/env bash
# Installs every build, test, benchmark and fuzzing dependency from Debian 12's packages.
# Idempotent: when everything is already installed it changes nothing and needs no network.
set -euo pipefail

packages=(
  build-essential cmake pkg-config git
  libsdl2-dev libopenal-dev libgl-dev libstb-dev
  libgtest-dev libbenchmark-dev nlohmann-json3-dev rapidjson-dev libsimdjson-dev
  clang libclang-rt-14-dev
  xvfb xdotool x11-utils
)

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
