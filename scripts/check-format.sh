#!/usr/bin/env bash
# Checks that every tracked C++ source matches the repository's .clang-format;
# lists each difference and fails if there is one. Changes nothing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
cd "$root"
mapfile -t sources < <(git ls-files -- '*.cpp' '*.h')
[ ${#sources[@]} -gt 0 ] || { echo "check-format.sh: no C++ sources found" >&2; exit 2; }
if ! clang-format --dry-run -Werror "${sources[@]}"; then
  echo "check-format.sh: the files above differ from .clang-format (clang-format -i FILE formats one)" >&2
  exit 1
fi
