#!/usr/bin/env bash
# SPDX-License-Identifier: Zlib
# Builds the game for Windows (the windows preset) and packs it for players:
# build/windows/cinderpath2-windows.zip holds Cinderpath2/ with cinderpath2.exe (the game's icon
# is in it), its data/ folder, a README.txt saying where OpenAL32.dll goes, and copyright.txt with
# licences/: the program is linked statically, so the licences of the MinGW-w64 runtime and of
# GCC's run-time libraries in it come along, as Debian ships them. Nothing but Debian's packages
# is used.
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
cp build/windows/copyright.txt "$stage/Cinderpath2/"
mkdir -p "$stage/Cinderpath2/licences"
cp /usr/share/doc/mingw-w64-common/copyright "$stage/Cinderpath2/licences/mingw-w64.txt"
cp /usr/share/doc/gcc-mingw-w64-base/copyright "$stage/Cinderpath2/licences/gcc.txt"
cat > "$stage/Cinderpath2/README.txt" <<'TEXT'
Cinderpath2 for Windows (64-bit)

Start cinderpath2.exe in this folder: it reads its pictures and sounds from the data folder
beside it. Steer the azure circle with the mouse; release Escape or close the window to quit.
The console window beside the game shows its reports, if any.

Sound: the game plays through OpenAL Soft, which is not part of Windows. Put OpenAL Soft's
64-bit OpenAL32.dll (or its soft_oal.dll) in this folder, beside cinderpath2.exe; one on the
system's search path is found too. Without it the game reports once that it could not open an
audio device, and plays on in silence.

Cinderpath2 is under the zlib licence; copyright.txt says so, and names the licences of the
parts compiled into cinderpath2.exe, whose full texts are in the licences folder.
TEXT

archive="$PWD/build/windows/cinderpath2-windows.zip"
rm -f "$archive"
(cd "$stage" && cmake -E tar cf "$archive" --format=zip Cinderpath2)
echo "package_windows.sh: made $archive"
