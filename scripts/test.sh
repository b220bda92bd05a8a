#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite. Tests that
# need a display each start and stop a private Xvfb of their own.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/scripts/build.sh"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" "$@"
