#!/usr/bin/env bash
# Installs what is missing, then configures and builds into build/ (or
# $BUILD_DIR): everything, or only the targets named in $BUILD_TARGETS.
# BUILD_TESTING=OFF builds the program alone, without the tests, the
# benchmarks and the packages they need. QUILL_WERROR=ON makes every warning
# an error (CI builds so). Further arguments go to cmake.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
testing=${BUILD_TESTING:-ON}
case "$testing" in
  ON) "$root/scripts/install-deps.sh" ;;
  OFF) "$root/scripts/install-deps.sh" --program ;;
  *) echo "build.sh: BUILD_TESTING must be ON or OFF, not $testing" >&2; exit 2 ;;
esac
options=(-DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" -DBUILD_TESTING="$testing")
[ -n "${QUILL_WERROR:-}" ] && options+=(-DQUILL_WERROR="$QUILL_WERROR")
cmake -S "$root" -B "$build" "${options[@]}" "$@" >/dev/null
targets=()
for t in ${BUILD_TARGETS:-}; do targets+=(--target "$t"); done
cmake --build "$build" -j"$(nproc)" "${targets[@]}"
