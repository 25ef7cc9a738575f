#!/usr/bin/env bash
# A warning at start-up is seen: under a real window manager (openbox), an
# empty word list brings up a box over the middle of the main window (its
# middle within a tenth of the window's width of the window's), and the box
# has the keys: Return, pressed with no window given the focus by the test,
# closes it. The screenshot shows the screen with the box on it.
#
#   startup_warning.sh <lotwise> <grabwindow> <data-dir> <screenshot.png>
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
: >"$app/words.wdb"

start_xvfb 1280x1024x24
start_openbox
step "starting the program with an empty word list"
"$app/lotwise" >"$work/program.log" 2>&1 &
app_pid=$!
wait_for 60 "main window and warning (two windows titled \"Lotwise\")" window_count_is 2
# The warning is the one that stands for another (WM_TRANSIENT_FOR).
main="" box=""
for id in $(lotwise_windows); do
  if xprop -id "$id" WM_TRANSIENT_FOR | grep -q 'window id'; then box=$id; else main=$id; fi
done
[ -n "$main" ] && [ -n "$box" ] || fail "no main window and warning among $(lotwise_windows | tr '\n' ' ')"
echo "   main window $main, warning $box"

step "the warning opens over the middle of the window"
middle() {
  local x y w h
  read -r x y w h < <(frame_of "$1") || return 1
  echo $((x + w / 2)) $((y + h / 2)) "$w"
}
offset=""
centred() {
  local mx my mw bx by
  read -r mx my mw < <(middle "$main") || return 1
  read -r bx by _ < <(middle "$box") || return 1
  offset="($((bx - mx)), $((by - my))) from the middle of a window $mw wide"
  local dx=$((bx - mx)) dy=$((by - my))
  [ $((dx * dx + dy * dy)) -le $((mw * mw / 100)) ]
}
wait_for_quietly 60 centred || fail "the warning's middle lies ${offset:-nowhere}"
echo "   the warning's middle lies $offset"
root=$(xwininfo -root | awk '/Window id/ {print $4}')
mkdir -p "$(dirname "$screenshot")"
"$grabwindow" "$root" "$screenshot" --timeout-ms 2000 >/dev/null || true

step "the warning has the keys: Return closes it"
has_keys() { [ "$(xdotool getwindowfocus)" = "$box" ]; }
wait_for 60 "keyboard focus on the warning" has_keys
xdotool key --clearmodifiers Return
wait_for 60 "closing of the warning" window_count_is 1
[ "$(lotwise_windows)" = "$main" ] || fail "the main window is gone after closing the warning"

end_with_ctrl_q

echo "PASS: the start-up warning opened over the window's middle, $offset, and Return closed it"
