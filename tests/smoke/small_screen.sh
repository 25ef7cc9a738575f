#!/usr/bin/env bash
# The main window on a screen smaller than its design: started on an X
# server of its own at the given size and scale, under a real window manager
# (openbox), the whole window, frame included, must lie in the screen's work
# area, F5 must run Tell Me, and the buttons must be reachable: scrolled
# into view with the mouse wheel where they are not in view, then clicked
# ("Tell Me" runs again, "About" shows its box, which takes the keys, and
# "Close Application" ends the program with exit code 0). The scale may be
# fractional.
#
#   small_screen.sh <lotwise> <grabwindow> <shotcheck> <data-dir> <WxHxD> <scale> <screenshot.png>
set -euo pipefail

if [ $# -ne 7 ]; then
  echo "usage: $0 <lotwise> <grabwindow> <shotcheck> <data-dir> <WxHxD> <scale> <screenshot.png>" >&2
  exit 2
fi
program=$1
grabwindow=$2
shotcheck=$3
data=$4
screen=$5
scale=$6
screenshot=$7

# shellcheck source=xsession.sh
source "$(dirname "$0")/xsession.sh"
for tool in "$program" "$grabwindow" "$shotcheck"; do
  [ -x "$tool" ] || fail "no executable at $tool (build it first)"
done

copy_program "$program" "$data"

# A length of the design's pixels in the screen's, at the scale.
px() { awk -v v="$1" -v s="$scale" 'BEGIN { printf "%d", v * s + 0.5 }'; }

start_xvfb "$screen"
start_openbox
QT_SCALE_FACTOR=$scale start_program "$app/lotwise"

step "the whole window, frame included, lies in the work area of the $screen screen at scale $scale"
read -r area_x area_y area_w area_h < <(work_area)
frame=""
frame_inside() {
  frame=$(frame_of "$main") || return 1
  local x y w h
  read -r x y w h <<<"$frame"
  [ "$x" -ge "$area_x" ] && [ "$y" -ge "$area_y" ] &&
    [ $((x + w)) -le $((area_x + area_w)) ] && [ $((y + h)) -le $((area_y + area_h)) ]
}
wait_for_quietly 60 frame_inside ||
  fail "the framed window (left top width height: ${frame:-no frame yet}) is not inside the work area $area_x $area_y $area_w $area_h"
echo "   framed window (left top width height) $frame in the work area $area_x $area_y $area_w $area_h"

step "a question and F5"
focus_on "$main"
xdotool type --delay 30 "Shall I travel?"
xdotool key --clearmodifiers F5
wait_for 60 "meanings page after the run" page_written

step "the buttons, scrolled into view"
# The orange frames around the buttons span 497 x 65 pixels of the design
# (12..509 across, from the frame of "Tell Me" to that of "About"); all of
# them must show before a click. Between tries the wheel scrolls the
# window's content down, over the black between the grid's first two
# columns.
shot="$work/shot.png"
near() { [ $(($1 - $2)) -le 2 ] && [ $(($2 - $1)) -le 2 ]; }
frames_whole() {
  "$grabwindow" "$main" "$shot" --timeout-ms 1000 '#FF8000' >/dev/null 2>&1 &&
    read -r frames_x frames_y frames_w frames_h < <("$shotcheck" box "$shot" '#FF8000') &&
    near "$frames_w" "$(px 497)" && near "$frames_h" "$(px 65)"
}
scrolls=0
until frames_whole; do
  [ $scrolls -lt 40 ] || fail "the buttons did not come into view after $scrolls turns of the wheel"
  xdotool mousemove --window "$main" "$(px 84)" "$(px 130)" click 5
  scrolls=$((scrolls + 1))
done
echo "   frames at ($frames_x, $frames_y) after $scrolls turns of the wheel"
mkdir -p "$(dirname "$screenshot")"
cp "$shot" "$screenshot"
# Button centres from the frames' top left corner, in the design's pixels:
# "Tell Me" 16..153, "Close Application" 184..329, "About" 360..505 across,
# 16..73 down, each frame reaching 4 pixels outside its button.
button_y=$((frames_y + $(px $((44 - 12)))))
click_button() { xdotool mousemove --window "$main" $((frames_x + $(px $(($1 - 12))))) "$button_y" click 1; }

step "a click on \"Tell Me\" runs again"
rm -f "$page"
click_button 84
wait_for 60 "meanings page after the click" page_written

step "a click on \"About\" shows the About box, which takes the keys: Return closes it"
click_button 432
wait_for 60 "About box (a second window titled \"Lotwise\")" window_count_is 2
about=$(lotwise_windows | grep -vx "$main") || fail "the second window is not a new one"
has_keys() { [ "$(xdotool getwindowfocus)" = "$1" ]; }
wait_for 60 "keyboard focus on the About box" has_keys "$about"
xdotool key --clearmodifiers Return
wait_for 60 "closing of the About box" window_count_is 1

step "a click on \"Close Application\" ends the program"
click_button 256
wait_for 60 "end of the program after \"Close Application\"" program_ended
rc=0
wait "$app_pid" || rc=$?
app_pid=""
[ $rc -eq 0 ] || fail "the program ended with exit code $rc"

echo "PASS: on $screen at scale $scale under openbox the framed window lay in the work area, ran, and its buttons were reached with $scrolls turns of the wheel"
