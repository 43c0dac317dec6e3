#!/usr/bin/env bash
# SPDX-License-Identifier: Zlib
# Fails unless LICENSE (the zlib licence) is at the root and every tracked source file names it in
# its first line: C and C++, Windows resource scripts, CMake, shell, Python, JavaScript, CSS and
# HTML, including templates (*.in) and extension-less scripts that start with #!. The line goes
# after a #! line, a Python encoding line or an HTML/XML declaration, which must stay first.
#   scripts/check_licence.sh        check; lists each file that lacks the line
#   scripts/check_licence.sh --fix  also adds the missing lines, changing nothing else in a file
# --fix never touches a file that already names a licence in its first lines (another licence or a
# misplaced line is listed for a person to look at), keeps each file's mode and line endings, and
# changes nothing on a second run. Symbolic links are skipped (their targets are checked).
set -euo pipefail
cd "$(dirname "$0")/.."

readonly identifier="SPDX-License-Identifier: Zlib"
fix=false
case "${1:-}" in
  "") ;;
  --fix) fix=true ;;
  *) echo "usage: $0 [--fix]" >&2; exit 2 ;;
esac

# The comment that carries the identifier in a file of this name, or nothing when the file is not
# code (data, documents, pictures, JSON, which has no comments).
licence_line() {
  local path="$1" name="${1##*/}"
  # A template (*.in) is code of the kind it becomes.
  case "${name%.in}" in
    *.c | *.cc | *.cpp | *.cxx | *.h | *.hh | *.hpp | *.inl | *.rc | *.js | *.mjs | *.cjs | *.ts)
      echo "// $identifier" ;;
    *.css) echo "/* $identifier */" ;;
    *.html | *.htm) echo "<!-- $identifier -->" ;;
    CMakeLists.txt | *.cmake | *.sh | *.bash | *.py)
      echo "# $identifier" ;;
    *.*) ;;
    *)
      # An extension-less file is code when it starts as a script does (.ci/run, say).
      if head -c 2 "$path" | grep -q '^#!'; then
        echo "# $identifier"
      fi ;;
  esac
}

# How many lines must stay above the identifier: a #! line, then a Python encoding line; or an
# HTML document type or XML declaration.
prologue_length() {
  local path="$1" length=0 first second
  first=$(sed -n '1p' "$path" | tr -d '\r')
  second=$(sed -n '2p' "$path" | tr -d '\r')
  case "$first" in
    '#!'*)
      length=1
      if [[ "$second" =~ ^#.*coding[:=] ]]; then
        length=2
      fi ;;
    '<!DOCTYPE'* | '<!doctype'* | '<?xml'*) length=1 ;;
    *)
      if [[ "$first" =~ ^#.*coding[:=] ]]; then
        length=1
      fi ;;
  esac
  echo "$length"
}

# Writes the file again with the line inserted after its prologue; the file keeps its inode, so
# its mode and ownership stay as they were. A file with Windows line ends gets one too.
insert_licence_line() {
  local path="$1" line="$2" after="$3"
  local ending="" temporary
  if awk 'NR == 1 { crlf = /\r$/; exit } END { exit !crlf }' "$path"; then
    ending=$'\r'
  fi
  temporary=$(mktemp)
  {
    head -n "$after" "$path"
    # A prologue that ends the file without a line break gets one before the new line.
    if [ "$(head -n "$after" "$path" | wc -l)" -lt "$after" ]; then
      printf '%s\n' "$ending"
    fi
    printf '%s\n' "$line$ending"
    tail -n +"$((after + 1))" "$path"
  } > "$temporary"
  cat "$temporary" > "$path"
  rm -f "$temporary"
}

missing=()
fixed=()
other=()
while IFS= read -r -d '' path; do
  [ -f "$path" ] && [ ! -L "$path" ] || continue
  line=$(licence_line "$path")
  [ -n "$line" ] || continue
  after=$(prologue_length "$path")
  actual=$(sed -n "$((after + 1))p" "$path" | tr -d '\r')
  if [ "$actual" = "$line" ]; then
    continue
  fi
  if awk 'NR > 10 { exit } /SPDX-License-Identifier/ { found = 1; exit } END { exit !found }' \
       "$path"; then
    other+=("$path")
  elif $fix; then
    insert_licence_line "$path" "$line" "$after"
    fixed+=("$path")
  else
    missing+=("$path")
  fi
done < <(git ls-files -z)

status=0
if [ ! -f LICENSE ] || ! grep -q "This software is provided 'as-is'" LICENSE; then
  echo "check_licence.sh: LICENSE, the zlib licence, is missing at the root." >&2
  status=1
fi
if [ ${#fixed[@]} -gt 0 ]; then
  echo "check_licence.sh: added \"$identifier\" to ${#fixed[@]} files:"
  printf '  %s\n' "${fixed[@]}"
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "check_licence.sh: ${#missing[@]} files lack \"$identifier\" on their first line" \
       "(scripts/check_licence.sh --fix adds it):" >&2
  printf '  %s\n' "${missing[@]}" >&2
  status=1
fi
if [ ${#other[@]} -gt 0 ]; then
  echo "check_licence.sh: ${#other[@]} files name a licence, but not as \"$identifier\" on" \
       "their first line; left for a person to mend:" >&2
  printf '  %s\n' "${other[@]}" >&2
  status=1
fi
if [ "$status" -eq 0 ]; then
  echo "check_licence.sh: LICENSE is there and every tracked source file names it."
fi
exit "$status"
