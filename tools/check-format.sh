#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what .clang-format makes of it. The major version is
# pinned: another clang-format may lay out the same code differently and fail a tree that is clean.
# Usage: tools/check-format.sh [--fix]
set -euo pipefail
cd "$(dirname "$0")/.."
tool=clang-format-14
command -v "$tool" >/dev/null || { echo "$tool is missing (Debian package clang-format-14)" >&2; exit 1; }
mapfile -t files < <(git ls-files '*.cpp' '*.h' '*.c' | grep -v -E '/corpus/')
if [ "${1:-}" = "--fix" ]; then
  "$tool" -i "${files[@]}"
  exit 0
fi
bad=()
for f in "${files[@]}"; do
  "$tool" --dry-run --Werror "$f" >/dev/null 2>&1 || bad+=("$f")
done
if [ ${#bad[@]} -gt 0 ]; then
  printf 'not formatted (tools/check-format.sh --fix):\n' >&2
  printf '  %s\n' "${bad[@]}" >&2
  exit 1
fi
echo "format: ${#files[@]} files clean"
