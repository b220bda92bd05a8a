#!/usr/bin/env bash
# Runs one program for warm-up + measured seconds on the current X display and
# prints its CPU use over the measured part (% of one core) and its resident
# memory at the end, then everything the program printed.
#   measure.sh WARMUP SECONDS program args...
set -eu
warmup=$1 seconds=$2
shift 2
out=$(mktemp)
"$@" >"$out" 2>&1 &
pid=$!
ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
hz=$(getconf CLK_TCK)
sleep "$warmup"
t0=$(ticks)
sleep "$seconds"
t1=$(ticks)
rss=$(awk '/VmRSS/ { print $2 }' "/proc/$pid/status")
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
echo "cpu-percent $(awk -v a="$t0" -v b="$t1" -v s="$seconds" -v hz="$hz" 'BEGIN { printf "%.1f", (b - a) * 100 / (hz * s) }')"
echo "rss-kb $rss"
cat "$out"
rm -f "$out"
