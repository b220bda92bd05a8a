#!/usr/bin/env bash
# Runs one command under a private Xvfb display, optionally split into RandR
# monitors and managed by openbox, and stops everything it started, by PID.
#
#   with-x.sh [--screen WxH] [--monitor W/mmxH/mm+X+Y ...] [--wm] -- command ...
#
# The command's exit status is the script's. DISPLAY is set for the command.
set -u

screen=1920x1080
monitors=()
wm=0
while [ $# -gt 0 ]; do
  case "$1" in
    --screen) screen=$2; shift 2 ;;
    --monitor) monitors+=("$2"); shift 2 ;;
    --wm) wm=1; shift ;;
    --) shift; break ;;
    *) echo "with-x.sh: unknown option $1" >&2; exit 2 ;;
  esac
done
[ $# -gt 0 ] || { echo "with-x.sh: no command given" >&2; exit 2; }

for tool in Xvfb xrandr xprop; do
  command -v "$tool" >/dev/null || { echo "with-x.sh: $tool is not installed (run scripts/install-deps.sh)" >&2; exit 2; }
done

work=$(mktemp -d /tmp/quill-x.XXXXXX)
xvfb_pid=
wm_pid=
cleanup() {
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null && wait "$wm_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# -noreset keeps the RandR monitors alive when xrandr disconnects;
# -displayfd lets Xvfb pick a free display number and tells us when it is ready.
# The waits below allow 30 s: a busy machine can be slow to start a server.
Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 "${screen}x24" 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 1 600); do
  [ -s "$work/display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || { echo "with-x.sh: Xvfb failed to start:" >&2; cat "$work/xvfb.log" >&2; exit 2; }
  sleep 0.05
done
[ -s "$work/display" ] || { echo "with-x.sh: Xvfb did not become ready" >&2; exit 2; }
export DISPLAY=":$(tr -dc 0-9 <"$work/display")"

if [ ${#monitors[@]} -gt 0 ]; then
  i=0
  for m in "${monitors[@]}"; do
    output=none
    [ $i -eq 0 ] && output=screen
    xrandr --setmonitor "quill$i" "$m" "$output" >/dev/null || { echo "with-x.sh: xrandr --setmonitor $m failed" >&2; exit 2; }
    i=$((i + 1))
  done
fi

if [ $wm -eq 1 ]; then
  command -v openbox >/dev/null || { echo "with-x.sh: openbox is not installed" >&2; exit 2; }
  openbox --sm-disable >"$work/openbox.log" 2>&1 &
  wm_pid=$!
  wm_ready=0
  for _ in $(seq 1 600); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && { wm_ready=1; break; }
    sleep 0.05
  done
  [ $wm_ready -eq 1 ] || { echo "with-x.sh: openbox did not start:" >&2; cat "$work/openbox.log" >&2; exit 2; }
fi

export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=xcb
"$@"
status=$?
exit $status
