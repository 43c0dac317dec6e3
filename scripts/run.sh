#!/usr/bin/env bash
# Builds the default preset and runs the game from the repository root, where its data/ folder is.
# Until the game exists it runs the framework's sample program instead.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install_dependencies.sh
cmake --preset default
cmake --build --preset default
for program in build/default/cinderpath2 build/default/samples/*/sample_*; do
  if [ -x "$program" ]; then
    exec "$program"
  fi
done
echo "Nothing to run yet." >&2
exit 1
