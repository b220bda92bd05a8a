#!/usr/bin/env bash
# Runs one program for warm-up + measured seconds on the current X display and
# prints, over the measured part, its own CPU use and the X server's (% of one
# core), its resident memory and shared-memory images at the end, the mean sprite count per window and
# the lowest and median tick rate from the lines it printed while measured (where it
# prints them), then everything the program printed.
#   measure.sh WARMUP SECONDS program args...
# The X server is the Xvfb that scripts/with-x.sh started, this script's sibling.
set -eu
warmup=$1 seconds=$2
shift 2
out=$(mktemp)
trap 'rm -f "$out"' EXIT
"$@" >"$out" 2>&1 &
pid=$!

# The Xvfb child of our parent (with-x.sh), found by parent PID, never by name alone.
xserver=
for stat in /proc/[0-9]*/stat; do
  read -r p comm _ ppid _ <"$stat" 2>/dev/null || continue
  if [ "$ppid" = "$PPID" ] && [ "$comm" = "(Xvfb)" ]; then xserver=$p; break; fi
done

ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
now() { awk '{ print $1 }' /proc/uptime; }
hz=$(getconf CLK_TCK)
sleep "$warmup"
kill -0 "$pid" 2>/dev/null || { echo "measure.sh: $1 ended during the warm-up:" >&2; cat "$out" >&2; exit 1; }
t0=$(now) p0=$(ticks "$pid") x0=${xserver:+$(ticks "$xserver")} l0=$(wc -l <"$out")
sleep "$seconds"
t1=$(now) p1=$(ticks "$pid") x1=${xserver:+$(ticks "$xserver")} l1=$(wc -l <"$out")
rss=$(awk '/VmRSS/ { print $2 }' "/proc/$pid/status")
# Shared-memory images: how Mesa presents a frame, and how Qt would flush a
# widget's raster backing store, each the size of its window.
shared=0
while read -r range perms _ _ _ path; do
  case "$perms:$path" in *s:/SYSV* | *s:/memfd:*) shared=$((shared + 0x${range#*-} - 0x${range%-*})) ;; esac
done <"/proc/$pid/maps"
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true

percent() { awk -v a="$1" -v b="$2" -v t0="$t0" -v t1="$t1" -v hz="$hz" 'BEGIN { printf "%.1f", (b - a) * 100 / (hz * (t1 - t0)) }'; }
echo "cpu-percent $(percent "$p0" "$p1")"
[ -n "$xserver" ] && echo "xserver-cpu-percent $(percent "$x0" "$x1")"
echo "rss-kb $rss"
echo "shared-image-kb $((shared / 1024))"
# Each report line is "screen N fps F sprites S"; the mean counts every line
# printed while measured, so it is per window whatever the number of windows.
sed -n "$((l0 + 1)),${l1}p" "$out" | awk '/ sprites / {
    for (i = 1; i < NF; i++) {
      if ($i == "sprites") { s += $(i + 1); n++ }
      if ($i == "fps") { f[++m] = $(i + 1) + 0; if (m == 1 || f[m] < low) low = f[m] }
    }
  }
  END {
    if (n) printf "sprites-mean %.1f\n", s / n
    if (m) { for (i = 2; i <= m; i++) for (j = i; j > 1 && f[j - 1] > f[j]; j--) { t = f[j]; f[j] = f[j - 1]; f[j - 1] = t }
      printf "fps-lowest %d\nfps-median %d\n", low, f[int((m + 1) / 2)] }
  }'
cat "$out"
