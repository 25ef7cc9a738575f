#!/usr/bin/env bash
# The main window at 200 %: the program started with QT_SCALE_FACTOR=2 on a
# large X server of its own, a question typed and F5 pressed; the window
# must come up at twice its size and finish the run, and its screenshot
# after the run is kept for the README.
#
#   scaled_run.sh <lotwise> <grabwindow> <data-dir> <screenshot.png>
set -euo pipefail

if [ $# -ne 4 ]; then
  echo "usage: $0 <lotwise> <grabwindow> <data-dir> <screenshot.png>" >&2
  exit 2
fi
program=$1
grabwindow=$2
data=$3
screenshot=$4

# shellcheck source=xsession.sh
source "$(dirname "$0")/xsession.sh"
for tool in "$program" "$grabwindow"; do
  [ -x "$tool" ] || fail "no executable at $tool (build it first)"
done

copy_program "$program" "$data"

start_xvfb 2560x1600x24
QT_SCALE_FACTOR=2 start_program "$app/lotwise"

step "the window is twice its design size"
width=$(xwininfo -id "$main" | awk '/Width:/ {print $2}')
# The design's client area is 934 pixels wide at 100 %.
[ "$width" -ge 1860 ] || fail "the window is $width pixels wide at 200 %"
echo "   $width pixels wide"

step "a question and F5"
focus_on "$main"
xdotool type --delay 30 "Shall I travel?"
xdotool key --clearmodifiers F5
wait_for 60 "meanings page after the run" page_written

step "screenshot after the run"
mkdir -p "$(dirname "$screenshot")"
# The bit report's red and the kings' yellow show that the run is painted.
"$grabwindow" "$main" "$screenshot" --timeout-ms 60000 '#000000' '#8080FF' '#C00000' '#FFFF00' ||
  fail "the window did not show the run's report and kings"

end_with_ctrl_q

echo "PASS: the window came up at 200 % ($width pixels wide), ran Tell Me and ended with Ctrl+Q; screenshot $screenshot"
