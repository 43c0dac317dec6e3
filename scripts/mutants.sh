#!/usr/bin/env bash
# SPDX-License-Identifier: Zlib
# Plants each fault listed in tests/mutants.txt in a copy of the project, one at a time, and tells
# which ones the tests catch (../shared/tools/mutation_check). Slow: one full build, then per
# fault a rebuild of its targets and a run of its tests; CI does not run it. Extra arguments go
# to the tool, e.g. `scripts/mutants.sh --only rotation-sign,rotation-pivot`; QM_MUTATION_CHECK
# names the tool when the shared folder is elsewhere.
set -euo pipefail
cd "$(dirname "$0")/.."
tool="${QM_MUTATION_CHECK:-../shared/tools/mutation_check}"
if [ ! -x "$tool" ]; then
  echo "mutants.sh: $tool is not here, so no fault can be planted." >&2
  exit 2
fi

# A test selection that the shell cannot parse would fail every run and so count as caught, and
# one that selects nothing counts as missed: check each against the default build if there is one.
if [ -d build/default ]; then
  while IFS= read -r selection; do
    if ! eval "ctest --test-dir build/default -N $selection" 2>/dev/null |
        grep -q "Total Tests: [1-9]"; then
      echo "mutants.sh: the selection \"$selection\" picks no test of build/default." >&2
      exit 2
    fi
  done < <(sed -n 's/^tests: //p' tests/mutants.txt | sort -u)
fi
exec "$tool" tests/mutants.txt "$@"
