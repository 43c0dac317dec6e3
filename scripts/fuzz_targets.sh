# SPDX-License-Identifier: Zlib
# Sourced by the fuzzing scripts: which fuzz targets the fuzz build made, and where each one's
# seeds are. Run from the repository root.

# Every libFuzzer target of build/fuzz, one path a line: whatever fuzz/ defines, nothing listed here.
qm_fuzz_targets()
{
  find build/fuzz/fuzz -type f -name 'fuzz_*' -perm -u+x | sort
}

# The seed folders of target $1 besides its own corpus, from fuzz/corpus/extra_seeds.txt; those
# absent here are left out.
qm_fuzz_extra_seeds()
{
  local target folder
  while read -r target folder; do
    if [ "$target" = "$1" ] && [ -d "$folder" ]; then
      echo "$folder"
    fi
  done < <(grep -v '^#' fuzz/corpus/extra_seeds.txt)
}
