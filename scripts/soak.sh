#!/usr/bin/env bash
# Runs the live desktop for a long while on a private two-monitor Xvfb and
# checks that it stays healthy: resident memory flat after the first minute
# (growth under 5 MB), nothing printed on stderr, two desktop windows, and
# still alive at the end. It is too long for CI and is run by hand:
#
#   scripts/soak.sh [path/to/quillamere]      (SOAK_MINUTES, default 10)
#
# It samples VmRSS every 10 s, prints each sample, and ends with a summary.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)

if [ "${1:-}" != "--inside" ]; then
  program=${1:-${BUILD_DIR:-$root/build}/bin/quillamere}
  [ -x "$program" ] || { echo "soak.sh: no program at $program (build it first)" >&2; exit 2; }
  program=$(realpath "$program")
  exec "$root/scripts/with-x.sh" --screen 3840x1080 \
    --monitor 1920/508x1080/286+0+0 --monitor 1920/508x1080/286+1920+0 \
    -- "$root/scripts/soak.sh" --inside "$program"
fi

program=$2
minutes=${SOAK_MINUTES:-10}
case "$minutes" in ''|*[!0-9]*) echo "soak.sh: SOAK_MINUTES must be a whole number" >&2; exit 2 ;; esac
[ "$minutes" -ge 2 ] || { echo "soak.sh: SOAK_MINUTES must be at least 2" >&2; exit 2; }
work=$(mktemp -d /tmp/quill-soak.XXXXXX)
pid=
cleanup() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  fi
  rm -rf "$work"
}
trap cleanup EXIT

rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status" 2>/dev/null; }
# Mapped top-level windows of the program titled as its desktop windows.
desktop_windows() {
  local tops count=0 id
  tops=$(xwininfo -root -children | awk '/^ +0x/ { print $1 }')
  for id in $(xdotool search --all --onlyvisible --pid "$1" --name '^Quillamere Live Desktop$' 2>/dev/null); do
    printf '%s\n' "$tops" | grep -qix "$(printf '0x%x' "$id")" && count=$((count + 1))
  done
  echo "$count"
}

"$program" >"$work/stdout" 2>"$work/stderr" &
pid=$!
started=$(date +%s)
end=$((started + minutes * 60))
failures=()
rss_start= rss_minute= rss_max_after_minute=0 rss_last= samples=0

echo "soak: $program, $minutes minutes, PID $pid, display $DISPLAY"
sleep 3
rss_start=$(rss_kb "$pid")
while :; do
  now=$(date +%s)
  elapsed=$((now - started))
  if ! kill -0 "$pid" 2>/dev/null; then
    wait "$pid"; status=$?
    failures+=("the program ended after ${elapsed} s with status $status")
    pid=
    break
  fi
  rss=$(rss_kb "$pid")
  windows=$(desktop_windows "$pid")
  samples=$((samples + 1))
  printf 'soak: %4d s  RSS %6d kB  desktop windows %s\n' "$elapsed" "$rss" "$windows"
  [ "$windows" = 2 ] || failures+=("$windows desktop windows at ${elapsed} s")
  if [ "$elapsed" -ge 60 ]; then
    [ -z "$rss_minute" ] && rss_minute=$rss
    [ "$rss" -gt "$rss_max_after_minute" ] && rss_max_after_minute=$rss
  fi
  rss_last=$rss
  [ "$now" -ge "$end" ] && break
  sleep $((end - now < 10 ? end - now : 10))
done

if [ -n "$rss_minute" ]; then
  growth=$((rss_max_after_minute - rss_minute))
  [ "$growth" -lt 5120 ] || failures+=("RSS grew by $growth kB after the first minute")
else
  growth=
fi
if [ -s "$work/stderr" ]; then
  failures+=("the program printed on stderr:")
  failures+=("$(head -20 "$work/stderr")")
fi

echo "soak: samples $samples; RSS at start ${rss_start:-?} kB, at 1 min ${rss_minute:-?} kB," \
  "highest after 1 min ${rss_max_after_minute} kB, at the end ${rss_last:-?} kB; growth after 1 min ${growth:-?} kB"
if [ ${#failures[@]} -gt 0 ]; then
  printf 'soak: FAILED: %s\n' "${failures[@]}"
  exit 1
fi
echo "soak: passed"
