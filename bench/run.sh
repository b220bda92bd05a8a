#!/usr/bin/env bash
# The animation benchmarks, each under a private Xvfb (Mesa's software
# renderer) of one or two 1920 x 1080 monitors. Build first (scripts/build.sh).
#   bench/run.sh [SECONDS]      SECONDS of steady animation per CPU figure (default 20)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
bin=${BUILD_DIR:-$root/build}/bin
seconds=${1:-20}
one() { "$root/scripts/with-x.sh" --screen 1920x1080 -- "$@"; }
two() {
  "$root/scripts/with-x.sh" --screen 3840x1080 --monitor 1920/508x1080/286+0+0 \
    --monitor 1920/508x1080/286+1920+0 -- "$@"
}
median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
field() { awk -v k="$1" '{ for (i = 1; i < NF; i++) if ($i == k) v = $(i + 1) } END { print v }'; }

echo "== First frame of a window (its 163-texture load) beside the bare decode, median of 5 runs"
decode=$(for _ in 1 2 3 4 5; do one "$bin/quill-window-bench" --decode | field decode-ms; done | median)
first=$(for _ in 1 2 3 4 5; do one "$bin/quill-window-bench" --seconds 2 | field first-frame-ms; done | median)
launch=$(for _ in 1 2 3 4 5; do one "$bin/quill-window-bench" --seconds 2 | field launch-to-first-frame-ms; done | median)
echo "bare decode of the 163 files: $decode ms"
echo "first frame: $first ms ($(awk -v a="$first" -v b="$decode" 'BEGIN { printf "%.2f", a / b }') x the decode); launch to first frame: $launch ms"

echo "== Steady CPU over ${seconds} s after 5 s of warm-up (% of one core), resident memory"
run() {
  local monitors=$1 label=$2
  shift 2
  local result
  if [ "$monitors" = 1 ]; then result=$(one "$root/bench/measure.sh" 5 "$seconds" "$@"); else result=$(two "$root/bench/measure.sh" 5 "$seconds" "$@"); fi
  local fps
  # The last tick rate that each window measured.
  fps=$(echo "$result" | awk '/ fps / { for (i = 1; i < NF; i++) if ($i == "fps") last[$2] = $(i + 1) }
    END { for (s in last) { printf "%s%s", sep, last[s]; sep = " " } }')
  echo "$monitors monitor(s), $label: cpu $(echo "$result" | field cpu-percent)%, rss $(echo "$result" | field rss-kb) kB${fps:+, last fps $fps}"
}
for monitors in 1 2; do
  run $monitors "live desktop (quillamere)" "$bin/quillamere"
  run $monitors "framework window bench" "$bin/quill-window-bench" --all-screens --seconds $((seconds + 10))
  run $monitors "bare reference" "$bin/quill-reference-renderer" --windows $monitors
  run $monitors "empty clear-and-swap" "$bin/quill-reference-renderer" --empty --windows $monitors
done
echo "texture bytes per window: $((163 * 256 * 256 * 4)) (163 RGBA pictures of 256 x 256)"
