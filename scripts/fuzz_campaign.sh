#!/usr/bin/env bash
# SPDX-License-Identifier: Zlib
# A fuzzing campaign anyone can repeat: every target the fuzz build makes runs for MINUTES minutes,
# two at a time (one per core), on its persistent corpus fuzz/corpus/<target>/ (the committed seed_*
# files, the folders fuzz/corpus/extra_seeds.txt adds, and whatever earlier campaigns grew there,
# which git ignores), so campaigns add up from one run to the next. A target that finds something
# is started again for the time left (up to 5 findings). Prints one line per target: runs,
# coverage, peak memory (and the highest memory in each quarter of the run, to show whether it
# creeps), findings. Logs, memory samples and the inputs found go to build/fuzz/campaign/<start>/.
# Usage: scripts/fuzz_campaign.sh MINUTES [TARGET...]   (TARGETs: names such as fuzz_wav_reader, to
# run only those)
set -euo pipefail
cd "$(dirname "$0")/.."
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"
source scripts/fuzz_targets.sh

minutes="${1:-}"
if ! [[ "$minutes" =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: $0 MINUTES [TARGET...]   (whole minutes per target)" >&2
  exit 2
fi
shift
scripts/install_dependencies.sh
cmake --preset fuzz
cmake --build --preset fuzz

out="build/fuzz/campaign/$(date +%Y%m%d-%H%M%S)"
mkdir -p "$out"
export ALSOFT_DRIVERS=null
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
readonly kMaximumFindings=5 kSampleSeconds=10

# Appends "<seconds since start> <resident MB>" for process $1 to file $2 every few seconds while
# it lives; $3 is the campaign time already spent by earlier starts of the same target.
sample_memory()
{
  local pid="$1" file="$2" offset="$3" start="$SECONDS" rss
  while kill -0 "$pid" 2> /dev/null; do
    rss="$(awk '/^VmRSS:/ { print int($2 / 1024) }' "/proc/$pid/status" 2> /dev/null || true)"
    [ -n "$rss" ] && echo "$((offset + SECONDS - start)) $rss" >> "$file"
    sleep "$kSampleSeconds"
  done
}

# The summary line of target $1 from its log, memory samples and findings folder.
summarise()
{
  local name="$1" log="$out/$1.log" samples="$out/$1.memory" findings="$out/findings/$1"
  local runs coverage features peak quarters count
  runs="$(awk '/^stat::number_of_executed_units:/ { n += $2 } END { print n + 0 }' "$log")"
  coverage="$(grep -o 'cov: [0-9]*' "$log" | awk '$2 > m { m = $2 } END { print m + 0 }')"
  features="$(grep -o 'ft: [0-9]*' "$log" | awk '$2 > m { m = $2 } END { print m + 0 }')"
  peak="$( (awk '/^stat::peak_rss_mb:/ { print $2 }' "$log"; awk '{ print $2 }' "$samples") |
    sort -n | tail -n 1)"
  # The highest sample in each quarter of the samples taken.
  quarters="$(awk '{ rss[NR] = $2 } END {
      for (q = 1; q <= 4; ++q) {
        m = 0
        for (i = int((q - 1) * NR / 4) + 1; i <= int(q * NR / 4); ++i) if (rss[i] > m) m = rss[i]
        printf "%s%d", (q > 1 ? "/" : ""), m
      } }' "$samples")"
  count="$(find "$findings" -type f | wc -l)"
  printf '%-24s %12s runs, coverage %s (features %s), peak memory %s MB (by quarter %s), findings %s\n' \
    "$name:" "$runs" "$coverage" "$features" "$peak" "$quarters" "$count"
}

# Fuzzes target $1 for the whole time, starting it again after each finding.
run_target()
{
  local target="$1" name findings corpus seeds end before pid sampler status
  name="$(basename "$target")"
  findings="$out/findings/$name"
  corpus="fuzz/corpus/$name"
  mkdir -p "$findings" "$corpus"
  : > "$out/$name.memory"
  mapfile -t seeds < <(qm_fuzz_extra_seeds "$name")
  end=$((SECONDS + minutes * 60))
  while [ $((end - SECONDS)) -gt 5 ]; do
    before="$(find "$findings" -type f | wc -l)"
    [ "$before" -lt "$kMaximumFindings" ] || break
    status=0
    nice -n 10 "$target" -max_total_time=$((end - SECONDS)) -rss_limit_mb=2048 -timeout=10 \
      -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" "${seeds[@]}" \
      >> "$out/$name.log" 2>&1 < /dev/null &
    pid=$!
    sample_memory "$pid" "$out/$name.memory" $((minutes * 60 - (end - SECONDS))) &
    sampler=$!
    wait "$pid" || status=$?
    kill "$sampler" 2> /dev/null || true
    wait "$sampler" || true
    # Time up, or it stopped without leaving an input behind (it could not start): no restart.
    if [ "$status" -eq 0 ] || [ "$(find "$findings" -type f | wc -l)" -eq "$before" ]; then
      [ "$status" -eq 0 ] || echo "$name: stopped with status $status and no finding" >> "$out/failed"
      break
    fi
  done
  summarise "$name" > "$out/$name.summary"
}

echo "== fuzz campaign: $minutes min per target, two at a time; logs in $out"
mapfile -t targets < <(qm_fuzz_targets | grep -E "/($(IFS='|'; echo "${*:-[^/]*}"))\$")
if [ ${#targets[@]} -eq 0 ]; then
  echo "no fuzz target called $*" >&2
  exit 2
fi
for target in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge 2 ]; do
    wait -n || true
  done
  echo "   $(date +%H:%M:%S) $(basename "$target")"
  run_target "$target" &
done
wait

for target in "${targets[@]}"; do
  cat "$out/$(basename "$target").summary"
done | tee "$out/summary.txt"
status=0
if [ -f "$out/failed" ]; then
  cat "$out/failed" >&2
  status=1
fi
if [ -n "$(find "$out/findings" -type f)" ]; then
  echo "findings (reproduce with: build/fuzz/fuzz/<folder>/<target> <file>):" >&2
  find "$out/findings" -type f >&2
  status=1
fi
exit $status
