#!/usr/bin/env bash
# Uses the demo as a person would, under a virtual X server with real X input events:
# clicks a check box, then selects a range with a click and a Shift+click, and checks
# what the demo reports. Saves a screenshot of the screen beside the build's demo folder
# (demo-driven.png, or .xwd without ImageMagick).
#   scripts/drive-demo.sh [DEMO]     (after ./run demo or ./run test has built the demo;
#                                     DEMO names another build of it)
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
DEMO=${1:-$ROOT/build/demo/lxTreeViewDemo}
SHOT_DIR=$(dirname "$(dirname "$DEMO")")
[ -x "$DEMO" ] || { echo "build the demo first: ./run demo" >&2; exit 2; }
for tool in Xvfb xdotool xwd; do
  command -v $tool >/dev/null || { echo "needs $tool (xvfb, xdotool, x11-apps)" >&2; exit 2; }
done

SCREEN=:$((90 + RANDOM % 100))
LOG=$(mktemp)
Xvfb "$SCREEN" -screen 0 800x700x24 -nolisten tcp >/dev/null 2>&1 &
XVFB=$!
trap 'kill $DEMO_PID $XVFB 2>/dev/null || true; rm -f "$LOG"' EXIT
export DISPLAY=$SCREEN
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

QT_QPA_PLATFORM=xcb "$DEMO" --trace >"$LOG" 2>/dev/null &
DEMO_PID=$!
for _ in $(seq 100); do grep -q '^label' "$LOG" && break; sleep 0.1; done

# The screen point that the demo reported for a node's label or glyph.
where() { grep "^$1 $2: " "$LOG" | head -1 | sed 's/.*: //'; }
expect() { # what the demo must have said, within a few seconds
  for _ in $(seq 50); do grep -q "$1" "$LOG" && { echo "ok: $1"; return; }; sleep 0.1; done
  echo "FAILED: the demo did not report '$1'" >&2; cat "$LOG" >&2; exit 1
}
click() { xdotool mousemove $1 $2 sleep 0.2 click 1 sleep 0.2; }

read -r x y <<<"$(where glyph 'Fonts option 1')"
click "$x" "$y"
expect 'checked Fonts option 1: on'

read -r x y <<<"$(where label 'Accounts Forms 2')"
click "$x" "$y"
read -r x y <<<"$(where label 'Accounts Forms 5')"
xdotool keydown shift; click "$x" "$y"; xdotool keyup shift
expect 'selected 4'

xwd -root -silent >"$SHOT_DIR/demo-driven.xwd"
if command -v convert >/dev/null && convert xwd:"$SHOT_DIR/demo-driven.xwd" "$SHOT_DIR/demo-driven.png" 2>/dev/null; then
  rm -f "$SHOT_DIR/demo-driven.xwd"
  echo "screenshot: $SHOT_DIR/demo-driven.png"
fi
echo "the demo took a check box click and a Shift+click range under real X input"
