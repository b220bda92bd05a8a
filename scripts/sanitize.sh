#!/usr/bin/env bash
# Builds the whole project with AddressSanitizer and UndefinedBehaviorSanitizer
# into build-asan/, warnings as errors, and runs the whole test suite against it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$root/build-asan}
export BUILD_TYPE=Debug
# Qt and Mesa keep some allocations for the process's lifetime; leaks are
# not what this run looks for.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
"$root/scripts/build.sh" -DQUILL_SANITIZE=ON -DQUILL_WERROR=ON
ctest --test-dir "$BUILD_DIR" --output-on-failure -j"$(nproc)" "$@"
