#!/usr/bin/env bash
# Installs what is missing, builds, and starts the live desktop on the
# current X display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
program=${BUILD_DIR:-$root/build}/bin/quillamere
if [ -z "${DISPLAY:-}" ]; then
  echo "There is no X display to run on: set DISPLAY (for example DISPLAY=:0) and run this again." >&2
  exit 1
fi
if [ ! -x "$program" ]; then
  echo "Built; the live desktop program itself is not part of the build yet, so nothing runs."
  exit 0
fi
exec "$program"
