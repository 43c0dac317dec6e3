#!/usr/bin/env bash
# SPDX-License-Identifier: Zlib
# Builds the libFuzzer targets (clang, ASan + UBSan) and runs each for a bounded time, as CI does:
# each starts from its committed corpus (fuzz/corpus/<target>/ and the folders
# fuzz/corpus/extra_seeds.txt adds) and grows a scratch copy under build/fuzz/corpus/, leaving the
# persistent corpus that scripts/fuzz_campaign.sh grows untouched.
# Usage: scripts/fuzz.sh [seconds-per-target]   (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"
source scripts/fuzz_targets.sh

seconds="${1:-60}"
scripts/install_dependencies.sh
cmake --preset fuzz
cmake --build --preset fuzz

export ALSOFT_DRIVERS=null
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
mkdir -p build/fuzz/artifacts
status=0
while read -r target; do
  name="$(basename "$target")"
  corpus="build/fuzz/corpus/$name"
  mkdir -p "$corpus" "fuzz/corpus/$name"
  mapfile -t seeds < <(qm_fuzz_extra_seeds "$name")
  echo "== $name for ${seconds}s"
  if ! "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
      -artifact_prefix=build/fuzz/artifacts/ "$corpus" "fuzz/corpus/$name" "${seeds[@]}" \
      > "build/fuzz/$name.log" 2>&1 < /dev/null; then
    tail -n 60 "build/fuzz/$name.log"
    status=1
  else
    tail -n 3 "build/fuzz/$name.log"
  fi
done < <(qm_fuzz_targets)
exit $status
