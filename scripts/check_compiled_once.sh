#!/usr/bin/env bash
# SPDX-License-Identifier: Zlib
# Checks that every source file of the repository is compiled once in a build: no layer or module
# is built a second time under other names. Reads the build's compile_commands.json.
# Usage: scripts/check_compiled_once.sh [build folder]   (default: build/default)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/default}"
python3 - "$build/compile_commands.json" "$PWD" <<'PYTHON'
import collections, json, os, sys
commands = json.load(open(sys.argv[1]))
root = sys.argv[2]
counts = collections.Counter(os.path.relpath(os.path.join(entry["directory"], entry["file"]), root)
                             for entry in commands)
twice = sorted(name for name, count in counts.items()
               if count > 1 and name.startswith("source/"))
for name in twice:
    print(f"check_compiled_once.sh: {name} is compiled {counts[name]} times")
layers = sum(1 for name in counts if name.startswith("source/quill_mark/platform/"))
print(f"check_compiled_once.sh: {len(counts)} files, {layers} of the platform module, "
      f"{len(twice)} compiled more than once")
sys.exit(1 if twice else 0)
PYTHON
