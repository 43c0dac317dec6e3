#!/usr/bin/env bash
# Builds the game for Windows (the windows preset) and packs it for players:
# build/windows/cinderpath2-windows.zip holds Cinderpath2/ with cinderpath2.exe, its data/ folder
# and a README.txt saying where OpenAL32.dll goes. Nothing but Debian's packages is used.
set -euo pipefail
cd "$(dirname "$0")/.."
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"

scripts/install_dependencies.sh windows
cmake --preset windows
cmake --build --preset windows --target cinderpath2

stage="build/windows/package"
rm -rf "$stage"
mkdir -p "$stage/Cinderpath2"
cp build/windows/cinderpath2.exe "$stage/Cinderpath2/"
cp -r data "$stage/Cinderpath2/"
cat > "$stage/Cinderpath2/README.txt" <<'TEXT'
Cinderpath2 for Windows (64-bit)

Start cinderpath2.exe in this folder: it reads its pictures and sounds from the data folder
beside it. Steer the azure circle with the mouse; release Escape or close the window to quit.
The console window beside the game shows its reports, if any.

Sound: the game plays through OpenAL Soft, which is not part of Windows. Put OpenAL Soft's
64-bit OpenAL32.dll (or its soft_oal.dll) in this folder, beside cinderpath2.exe; one on the
system's search path is found too. Without it the game reports once that it could not open an
audio device, and plays on in silence.
TEXT

archive="$PWD/build/windows/cinderpath2-windows.zip"
rm -f "$archive"
(cd "$stage" && cmake -E tar cf "$archive" --format=zip Cinderpath2)
echo "package_windows.sh: made $archive"
