#!/usr/bin/env bash
# Opens Qt Designer under a virtual X server with the build's designer plugin, places a
# tree view from the widget box's "Vornak" group on a new form with a real mouse drag,
# and saves a picture of the screen as <build>/designer.png. Then opens the placed tree's
# item editor with a double click and saves <build>/designer-editor.png.
#   scripts/designer-screenshot.sh [BUILD]     (after ./run demo or ./run test; BUILD is
#                                                the build folder, build by default)
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
BUILD=$(cd "${1:-$ROOT/build}" && pwd)
DESIGNER=/usr/lib/qt6/bin/designer
[ -f "$BUILD/designer/liblxTreeViewDesigner.so" ] || { echo "build the plugin first: ./run demo" >&2; exit 2; }
for tool in Xvfb xdotool xwd "$DESIGNER"; do
  command -v "$tool" >/dev/null || { echo "needs $tool (xvfb, xdotool, x11-apps, designer-qt6)" >&2; exit 2; }
done

SCREEN=:$((90 + RANDOM % 100))
HOME_DIR=$(mktemp -d) # Designer's settings of this run only: docked windows, no recent files
Xvfb "$SCREEN" -screen 0 1400x900x24 -nolisten tcp >/dev/null 2>&1 &
XVFB=$!
trap 'kill $DESIGNER_PID $XVFB 2>/dev/null || true; rm -rf "$HOME_DIR"' EXIT
export DISPLAY=$SCREEN
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

HOME=$HOME_DIR XDG_CONFIG_HOME=$HOME_DIR QT_PLUGIN_PATH=$BUILD QT_QPA_PLATFORM=xcb \
  "$DESIGNER" >"$HOME_DIR/designer.log" 2>&1 &
DESIGNER_PID=$!

window_of() { # the first window whose name matches, waited for
  for _ in $(seq 100); do
    local id; id=$(xdotool search --name "$1" 2>/dev/null | head -1 || true)
    [ -n "$id" ] && { echo "$id"; return; }
    sleep 0.1
  done
  echo "FAILED: no window '$1'" >&2; cat "$HOME_DIR/designer.log" >&2; exit 1
}
shot() {
  xwd -root -silent >"$HOME_DIR/shot.xwd"
  python3 "$ROOT/scripts/xwd-to-png.py" "$HOME_DIR/shot.xwd" "$1"
  echo "screenshot: $1"
}
click() { xdotool mousemove "$1" "$2" sleep 0.2 click 1 sleep 0.3; }
drag() { # from x y to x y, with the button held
  xdotool mousemove "$1" "$2" sleep 0.3 mousedown 1 sleep 0.3
  for step in 1 2 3 4 5 6 7 8; do
    xdotool mousemove $(($1 + ($3 - $1) * step / 8)) $(($2 + ($4 - $2) * step / 8)) sleep 0.1
  done
  xdotool mouseup 1 sleep 1
}

# The New Form dialog: Return takes its default template, a dialog with buttons.
window_of "New Form" >/dev/null
sleep 1
xdotool key Return
sleep 1
# Without a window manager Designer keeps its first size: make room for the form.
MAIN=$(window_of "Qt Designer")
xdotool windowsize "$MAIN" 1400 900 windowmove "$MAIN" 0 0
sleep 1

# The widget box's filter leaves the tree view alone in its group, on the first row;
# drag it onto the form, which opens at the top left of the form area.
click 110 90
xdotool type --delay 30 "TlxTreeView"
sleep 0.5
drag 62 137 420 220
xdotool search --name "Item Editor" >/dev/null 2>&1 && { echo "FAILED: an editor opened on the drop" >&2; exit 1; }

# A double click on the placed tree opens its item editor: four nodes typed in.
xdotool mousemove 510 290 click --repeat 2 --delay 80 1
EDITOR=$(window_of "lxTreeView Item Editor")
sleep 1
eval "$(xdotool getwindowgeometry --shell "$EDITOR")"
at() { click $((X + $1)) $((Y + $2)); } # a point of the dialog's layout
ADD_NEW_ITEM="422 26"; NEW_SUBITEM="422 56"; OK="614 516"
at $ADD_NEW_ITEM; xdotool type --delay 30 "Documents"
at $NEW_SUBITEM; xdotool type --delay 30 "Letters"
at $ADD_NEW_ITEM; xdotool type --delay 30 "Invoices"
at $ADD_NEW_ITEM; xdotool type --delay 30 "Reports"
sleep 0.5
shot "$BUILD/designer-editor.png"
at $OK
sleep 1
xdotool search --name "Item Editor" >/dev/null 2>&1 && { echo "FAILED: OK left the item editor open" >&2; exit 1; }
shot "$BUILD/designer.png"

# Saved, the form holds the nodes as the tree's Data property.
SAVED=$HOME_DIR/placed.ui
click 300 120 # the form, so that the keys go to Designer
xdotool key ctrl+s
window_of "Save Form As" >/dev/null
sleep 1
xdotool key ctrl+a; xdotool type --delay 20 "$SAVED"; xdotool key Return
for _ in $(seq 50); do [ -s "$SAVED" ] && break; sleep 0.1; done
grep -q '<property name="Data"' "$SAVED" || { echo "FAILED: the saved form has no Data" >&2; cat "$SAVED" >&2; exit 1; }
cp "$SAVED" "$BUILD/designer-placed.ui"
echo "saved form: $BUILD/designer-placed.ui"
echo "Qt Designer placed the tree from the Vornak group and took its nodes from the item editor"
