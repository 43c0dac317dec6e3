#!/usr/bin/env bash
# SPDX-License-Identifier: Zlib
# Fails when a tracked C or C++ file is not as clang-format (the repository's .clang-format) writes
# it. To mend: git ls-files '*.cpp' '*.h' '*.c' | xargs clang-format -i
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z '*.cpp' '*.h' '*.c' | xargs -0 clang-format --dry-run --Werror
echo "check_format.sh: every tracked C and C++ file is formatted."
