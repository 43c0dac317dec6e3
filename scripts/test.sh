#!/usr/bin/env bash
# SPDX-License-Identifier: Zlib
# Builds everything with the given preset (default: "default") and runs every test suite.
# Extra arguments go to ctest, e.g. `scripts/test.sh default -L unit`.
set -euo pipefail
cd "$(dirname "$0")/.."
export CTEST_PARALLEL_LEVEL="${CTEST_PARALLEL_LEVEL:-$(nproc)}"
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"

# Test discovery runs the test programs at build time, and the audio device opens during their
# static initialisation: keep it on OpenAL Soft's null backend there as well.
export ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}"

preset="${1:-default}"
shift || true

scripts/install_dependencies.sh
cmake --preset "$preset"
cmake --build --preset "$preset"
scripts/with_display.sh ctest --preset "$preset" "$@"
