#!/usr/bin/env bash
# Real-window smoke test: starts the built program on an X server of its own,
# finds the main window by its title, checks its icon, saves a screenshot of
# it, opens and closes the About box with the keyboard and ends the program
# with Ctrl+Q.
#
#   main_window.sh <lotwise> <grabwindow> <screenshot.png>
set -euo pipefail

if [ $# -ne 3 ]; then
  echo "usage: $0 <lotwise> <grabwindow> <screenshot.png>" >&2
  exit 2
fi
program=$1
grabwindow=$2
screenshot=$3

# shellcheck source=xsession.sh
source "$(dirname "$0")/xsession.sh"
[ -x "$program" ] || fail "no program at $program (build it first)"
[ -x "$grabwindow" ] || fail "no screenshot tool at $grabwindow (build it first)"

start_xvfb
start_program "$program"

step "screenshot of the main window"
mkdir -p "$(dirname "$screenshot")"
# The window's fill colours: black window, grey question bar, blue button bar,
# orange button frames, green column headers, grey grid rows.
"$grabwindow" "$main" "$screenshot" --timeout-ms 60000 \
  '#000000' '#C0C0C0' '#8080FF' '#FF8000' '#80FF80' '#E0E0E0' ||
  fail "the screenshot of the main window did not show the design"

step "the window carries its icon, in both sizes"
icons=$(xprop -id "$main" _NET_WM_ICON 2>/dev/null | grep -o 'Icon ([0-9]* x [0-9]*)' | tr '\n' ' ')
[ "$icons" = "Icon (16 x 16) Icon (32 x 32) " ] || fail "the window's icons are \"$icons\", not 16 x 16 and 32 x 32"

step "F1 shows the About box"
focus_on "$main"
xdotool key --clearmodifiers F1
wait_for 60 "About box (a second window titled \"Lotwise\")" window_count_is 2
about=$(lotwise_windows | grep -vx "$main") || fail "the second window is not a new one"
echo "   About box $about"

step "Return closes the About box"
focus_on "$about"
xdotool key --clearmodifiers Return
wait_for 60 "closing of the About box" window_count_is 1
[ "$(lotwise_windows)" = "$main" ] || fail "the main window is gone after closing the About box"

end_with_ctrl_q

echo "PASS: window found with its icon, About box opened and closed, Ctrl+Q ended the program with code 0; screenshot $screenshot"
