#!/usr/bin/env bash
# The whole journey in a real window, as a user makes it: type a question
# (the hint goes), press F5, read the meaning of the first word pair, click
# the third pair of the list, open and close the About box, resize the
# window, and end with Ctrl+Q.
#
#   journey.sh <lotwise> <grabwindow> <shotcheck> <data-dir> <screenshot-dir>
#
# The program runs from a folder of its own (a copy of the executable and
# the two data files), so that its meanings page lands there. The grid the
# window shows is read from its screenshot; the page must then hold the
# entry that the shipped data files in <data-dir> give for that grid.
set -euo pipefail

if [ $# -ne 5 ]; then
  echo "usage: $0 <lotwise> <grabwindow> <shotcheck> <data-dir> <screenshot-dir>" >&2
  exit 2
fi
program=$1
grabwindow=$2
shotcheck=$3
data=$4
shots=$5

# shellcheck source=xsession.sh
source "$(dirname "$0")/xsession.sh"
for tool in "$program" "$grabwindow" "$shotcheck"; do
  [ -x "$tool" ] || fail "no executable at $tool (build it first)"
done
for file in words.wdb dictionary.wdb; do
  [ -f "$data/$file" ] || fail "no $file in $data"
done
mkdir -p "$shots"

copy_program "$program" "$data"

# grab <name>: a screenshot of the main window, once it shows the colours
# given after the name.
grab() {
  local name=$1
  shift
  "$grabwindow" "$main" "$work/$name.png" --timeout-ms 60000 "$@" >/dev/null
}

start_xvfb
start_program "$app/lotwise"

step "screenshot before the run"
grab before '#000000' '#C0C0C0' '#8080FF' '#FF8000' '#80FF80' '#E0E0E0' ||
  fail "the main window did not show its design"
cp "$work/before.png" "$shots/journey-before.png"
top=$("$shotcheck" top "$work/before.png") || fail "cannot find the client area in the screenshot"

step "typing a question hides the hint"
focus_on "$main"
xdotool type --delay 30 "Shall I travel?"
# The question ends left of x 300; the rest of the hint's area must be bare.
hint_gone() { grab typed '#C0C0C0' && "$shotcheck" hint "$work/before.png" "$work/typed.png" 300 >"$work/hint.log" 2>&1; }
if ! wait_for_quietly 60 hint_gone; then
  cat "$work/hint.log" >&2
  fail "the hint did not disappear when the question was typed"
fi
cat "$work/hint.log"
[ -s "$page" ] && fail "a meanings page exists before the first run"

step "F5 runs Tell Me"
xdotool key --clearmodifiers F5
wait_for 60 "meanings page after the run" page_written

step "the page holds the entry of the first pair, DA, of the grid on show"
# Repainting may trail the page by a moment: read the picture until the
# bit report's red is there and the grid it shows gives the page's entry.
first_pair_shown() {
  grab after '#C00000' &&
    grid=$("$shotcheck" grid "$work/before.png" "$work/after.png" 2>"$work/grid.log") &&
    "$shotcheck" page "$data" "$grid" DA "$page" >"$work/page.log" 2>&1
}
if ! wait_for_quietly 60 first_pair_shown; then
  cat "$work/grid.log" "$work/page.log" >&2
  fail "the page does not hold the entry of the first pair of the grid on show"
fi
echo "   grid $grid"
cat "$work/page.log"
cp "$work/after.png" "$shots/journey-after.png"

step "clicking the third line of the word-pair list shows the pair CB"
# The height of a line comes from the selection that a click on the first
# line paints; the list's first line starts at y 281 of the client area.
focus_on "$main"
xdotool mousemove --window "$main" 100 $((top + 292)) click 1
first_line_selected() {
  grab selected &&
    read -r line_top line_height < <("$shotcheck" band "$work/selected.png" 12 292) &&
    [ "$line_height" -ge 12 ] && [ "$line_height" -le 60 ]
}
wait_for 60 "selection of the first line" first_line_selected
echo "   list lines are $line_height pixels high, the first at y $line_top"
"$shotcheck" page "$data" "$grid" DA "$page" >/dev/null || fail "a click on the first line did not show the pair DA"
before_click=$(md5sum <"$page")
third_y=$((line_top + 2 * line_height + line_height / 2))
xdotool mousemove --window "$main" 100 $((top + third_y)) click 1
third_pair_shown() { "$shotcheck" page "$data" "$grid" CB "$page" >"$work/page.log" 2>&1; }
if ! wait_for_quietly 60 third_pair_shown; then
  cat "$work/page.log" >&2
  fail "the page does not hold the entry of the third pair, CB, after a click on the third line"
fi
cat "$work/page.log"
if [ "$(md5sum <"$page")" = "$before_click" ]; then
  echo "   (columns A and B and columns C and D hold the same codes: DA and CB share their entry)"
fi

step "F1 shows the About box, Return closes it"
focus_on "$main"
xdotool key --clearmodifiers F1
wait_for 60 "About box (a second window titled \"Lotwise\")" window_count_is 2
about=$(lotwise_windows | grep -vx "$main") || fail "the second window is not a new one"
focus_on "$about"
xdotool key --clearmodifiers Return
wait_for 60 "closing of the About box" window_count_is 1
[ "$(lotwise_windows)" = "$main" ] || fail "the main window is gone after closing the About box"

step "resizing the window moves the right-hand column's edge with it"
# The word box (pale yellow, y 280..312) ends a fixed margin from the
# window's right edge.
read -r _ word_right < <("$shotcheck" span "$work/after.png" 295 '#FFFFC0') || fail "no word box in the picture"
width_before=$(xwininfo -id "$main" | awk '/Width:/ {print $2}')
xdotool windowsize "$main" $((width_before + 166)) 720
edge_followed() {
  grab resized '#FFFFC0' &&
    read -r _ right < <("$shotcheck" span "$work/resized.png" 295 '#FFFFC0') &&
    [ "$right" -eq $((word_right + 166)) ]
}
wait_for 60 "word box's right edge at x $((word_right + 166))" edge_followed
echo "   the word box's right edge moved from x $word_right to x $right"
cp "$work/resized.png" "$shots/journey-resized.png"

end_with_ctrl_q

echo "PASS: hint hidden by typing, run read back from the page (grid $grid), third pair shown on a click," \
  "About box opened and closed, layout followed the resize, Ctrl+Q ended the program with code 0;" \
  "screenshots in $shots"
