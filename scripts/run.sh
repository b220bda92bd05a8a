#!/usr/bin/env bash
# Installs what the program needs, builds it (without the tests, so
# GoogleTest is not needed), and starts the live desktop on the current X
# display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "${DISPLAY:-}" ]; then
  echo "There is no X display to run on: set DISPLAY (for example DISPLAY=:0) and run this again." >&2
  exit 1
fi
BUILD_TESTING=OFF BUILD_TARGETS=quillamere "$root/scripts/build.sh"
exec "${BUILD_DIR:-$root/build}/bin/quillamere"
