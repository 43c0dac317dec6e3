#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan + UBSan) and runs each for a bounded time.
# Usage: scripts/fuzz.sh [seconds-per-target]   (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"

seconds="${1:-60}"
scripts/install_dependencies.sh
cmake --preset fuzz
cmake --build --preset fuzz

export ALSOFT_DRIVERS=null
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
mkdir -p build/fuzz/artifacts
status=0
for target in build/fuzz/fuzz/*/fuzz_*; do
  [ -x "$target" ] || continue
  name="$(basename "$target")"
  corpus="build/fuzz/corpus/$name"
  mkdir -p "$corpus"
  # fuzz/seeds/<name>.txt lists seed folders, one a line, relative to the repository root;
  # folders that are absent (the shared corpora on a bare clone) are skipped.
  seeds=()
  if [ -f "fuzz/seeds/$name.txt" ]; then
    while IFS= read -r seed; do
      if [ -n "$seed" ] && [ -d "$seed" ]; then seeds+=("$seed"); fi
    done < "fuzz/seeds/$name.txt"
  fi
  echo "== $name for ${seconds}s"
  if ! "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
      -artifact_prefix=build/fuzz/artifacts/ "$corpus" "${seeds[@]}" > "build/fuzz/$name.log" 2>&1; then
    tail -n 60 "build/fuzz/$name.log"
    status=1
  else
    tail -n 3 "build/fuzz/$name.log"
  fi
done
exit $status
