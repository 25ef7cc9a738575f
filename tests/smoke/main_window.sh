#!/usr/bin/env bash
# Real-window smoke test: starts the built program on an X server of its own,
# finds the main window by its title, saves a screenshot of it, opens and
# closes the About box with the keyboard and ends the program with Ctrl+Q.
#
#   main_window.sh <lotwise> <grabwindow> <screenshot.png>
#
# No window manager runs, so nothing hands out the keyboard focus: the test
# gives it to each window itself before pressing keys.
set -euo pipefail

if [ $# -ne 3 ]; then
  echo "usage: $0 <lotwise> <grabwindow> <screenshot.png>" >&2
  exit 2
fi
program=$1
grabwindow=$2
screenshot=$3

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
step() { echo "-- $*"; }

for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/lib/install-deps installs it)"
done
[ -x "$program" ] || fail "no program at $program (build it first)"
[ -x "$grabwindow" ] || fail "no screenshot tool at $grabwindow (build it first)"

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
  local rc=$?
  # Reap both, so that the server has removed its lock file when we return.
  if [ -n "$app_pid" ]; then
    kill "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  if [ $rc -ne 0 ] && [ -s "$work/program.log" ]; then
    echo "program output:" >&2
    sed 's/^/  /' "$work/program.log" >&2
  fi
  rm -rf "$work"
}
trap cleanup EXIT

# wait_for <seconds> <what> <command...>: polls the command until it succeeds,
# and gives up early when the program has died.
wait_for() {
  local seconds=$1 what=$2
  shift 2
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    if [ -n "$app_pid" ] && ! kill -0 "$app_pid" 2>/dev/null; then
      fail "the program ended while waiting for $what"
    fi
    [ $SECONDS -lt $deadline ] || fail "no $what after ${seconds} s"
    sleep 0.1
  done
}

# The visible top-level windows of the program titled "Lotwise", one id a line.
lotwise_windows() {
  xdotool search --all --onlyvisible --pid "$app_pid" --name '^Lotwise$' 2>/dev/null || true
}
window_count_is() { [ "$(lotwise_windows | wc -l)" -eq "$1" ]; }
display_known() { [ -s "$work/display" ]; }
program_ended() { ! kill -0 "$app_pid" 2>/dev/null; }
focus_on() {
  timeout 5 xdotool windowfocus --sync "$1" || fail "could not give the keyboard focus to window $1"
}

step "starting Xvfb"
# -displayfd lets the server pick a free display itself, so tests running side
# by side never race for the same number.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
wait_for 10 "X server" display_known
export DISPLAY=":$(tr -d '[:space:]' <"$work/display")"
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 0700 "$XDG_RUNTIME_DIR"
echo "   display $DISPLAY"

step "starting $program"
"$program" >"$work/program.log" 2>&1 &
app_pid=$!
wait_for 15 "window titled \"Lotwise\"" window_count_is 1
main=$(lotwise_windows)
echo "   main window $main"

step "screenshot of the main window"
mkdir -p "$(dirname "$screenshot")"
# The window's fill colours: black window, grey question bar, blue button bar,
# orange button frames, green column headers, grey grid rows.
"$grabwindow" "$main" "$screenshot" --timeout-ms 10000 \
  '#000000' '#C0C0C0' '#8080FF' '#FF8000' '#80FF80' '#E0E0E0' ||
  fail "the screenshot of the main window did not show the design"

step "F1 shows the About box"
focus_on "$main"
xdotool key --clearmodifiers F1
wait_for 10 "About box (a second window titled \"Lotwise\")" window_count_is 2
about=$(lotwise_windows | grep -vx "$main") || fail "the second window is not a new one"
echo "   About box $about"

step "Return closes the About box"
focus_on "$about"
xdotool key --clearmodifiers Return
wait_for 10 "closing of the About box" window_count_is 1
[ "$(lotwise_windows)" = "$main" ] || fail "the main window is gone after closing the About box"

step "Ctrl+Q ends the program"
focus_on "$main"
xdotool key --clearmodifiers ctrl+q
wait_for 5 "end of the program after Ctrl+Q" program_ended
rc=0
wait "$app_pid" || rc=$?
app_pid=""
[ $rc -eq 0 ] || fail "the program ended with exit code $rc after Ctrl+Q"

echo "PASS: window found, About box opened and closed, Ctrl+Q ended the program with code 0; screenshot $screenshot"
