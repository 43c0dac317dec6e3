#!/usr/bin/env bash
# Builds everything with the given preset (default: "default") and runs every test suite.
# Extra arguments go to ctest, e.g. `scripts/test.sh default -L unit`.
set -euo pipefail
cd "$(dirname "$0")/.."

preset="${1:-default}"
shift || true

scripts/install_dependencies.sh
cmake --preset "$preset"
cmake --build --preset "$preset"
scripts/with_display.sh ctest --preset "$preset" "$@"
