#!/usr/bin/env bash
# The animation benchmarks, each under a private 1920 x 1080 Xvfb with Mesa's
# software renderer. Build first (scripts/build.sh). Usage: bench/run.sh [SECONDS]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
bin=${BUILD_DIR:-$root/build}/bin
seconds=${1:-20}
x() { "$root/scripts/with-x.sh" --screen 1920x1080 -- "$@"; }
median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }

echo "== first frame (163 textures) beside the bare decode, median of 5 runs"
decode=$(for _ in 1 2 3 4 5; do x "$bin/quill-window-bench" --decode | awk '/decode-ms/ { print $2 }'; done | median)
first=$(for _ in 1 2 3 4 5; do x "$bin/quill-window-bench" --seconds 2 | awk '/first-frame-ms/ { print $2 }'; done | median)
echo "bare decode ms: $decode"
echo "first frame ms: $first  (ratio $(awk -v a="$first" -v b="$decode" 'BEGIN { printf "%.2f", a / b }'))"

echo "== steady CPU over ${seconds}s after 5s of warm-up, % of one core"
for program in "quill-window-bench --seconds $((seconds + 10))" "quill-reference-renderer" "quill-reference-renderer --empty"; do
  result=$(x "$root/bench/measure.sh" 5 "$seconds" $bin/$program)
  cpu=$(echo "$result" | awk '/cpu-percent/ { print $2 }')
  fps=$(echo "$result" | awk '/^fps/ { f = $2 } END { print f }')
  sprites=$(echo "$result" | awk '/sprites/ { for (i = 1; i < NF; i++) if ($i == "sprites") s = $(i + 1) } END { print s }')
  echo "$program: cpu ${cpu}%  last fps ${fps:-n/a}  sprites ${sprites:-n/a}"
done
