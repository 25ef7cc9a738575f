# Shared by the real-window tests (sourced, not run): an X server of the
# test's own, the program started on it, and small waiting helpers.
#
# No window manager runs unless a test starts one (start_openbox), so
# nothing hands out the keyboard focus: a test gives it to each window
# itself (focus_on) before pressing keys.
#
# After sourcing: call start_xvfb, optionally start_openbox, then
# start_program <executable> (it waits for the main window and sets app_pid
# and main). Everything ends with the test: the program, the window manager,
# the server and the scratch folder $work.

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
step() { echo "-- $*"; }

for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/lib/install-deps installs it)"
done

work=$(mktemp -d)
xvfb_pid=""
wm_pid=""
app_pid=""
main=""
extra_cleanup=""
cleanup() {
  local rc=$?
  # Reap both, so that the server has removed its lock file when we return.
  if [ -n "$app_pid" ]; then
    kill "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
  fi
  if [ -n "$wm_pid" ]; then
    kill "$wm_pid" 2>/dev/null || true
    wait "$wm_pid" 2>/dev/null || true
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  if [ $rc -ne 0 ] && [ -s "$work/program.log" ]; then
    echo "program output:" >&2
    sed 's/^/  /' "$work/program.log" >&2
  fi
  if [ $rc -ne 0 ] && [ -s "$work/xvfb.log" ]; then
    echo "X server output:" >&2
    sed 's/^/  /' "$work/xvfb.log" >&2
  fi
  [ -z "$extra_cleanup" ] || $extra_cleanup
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

# wait_for_quietly <seconds> <command...>: as wait_for, but returns 1 on
# timeout, so that the caller can show why the last try failed.
wait_for_quietly() {
  local seconds=$1
  shift
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    if [ -n "$app_pid" ] && ! kill -0 "$app_pid" 2>/dev/null; then
      fail "the program ended while waiting"
    fi
    [ $SECONDS -lt $deadline ] || return 1
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

# copy_program <executable> <data-dir>: the program and whole data files in
# a folder of its own, $app, so that no warning opens over the window and
# the meanings page, $page, lands there.
app=""
page=""
copy_program() {
  app="$work/app"
  mkdir "$app"
  cp "$1" "$2/words.wdb" "$2/dictionary.wdb" "$app/"
  page="$app/meanings_tmp.htm"
}
# The page is complete once its last entry has ended.
page_written() { [ -s "$page" ] && [ "$(tail -c 10 "$page" | od -An -c | tr -d ' \n')" = '<br><br>\r\n' ]; }

# start_xvfb [WIDTHxHEIGHTxDEPTH]: the screen is 1280x1024x24 unless given.
start_xvfb() {
  local screen=${1:-1280x1024x24}
  step "starting Xvfb"
  # -displayfd lets the server pick a free display itself, so tests running
  # side by side never race for the same number. -noreset: by default the
  # server resets when its last client leaves, and drops every connection
  # under way; a short-lived xdotool leaving just as the program connects
  # would then cost the program its display.
  Xvfb -displayfd 3 -noreset -screen 0 "$screen" -dpi 96 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb_pid=$!
  wait_for 60 "X server" display_known
  export DISPLAY=":$(tr -d '[:space:]' <"$work/display")"
  server_answers() {
    kill -0 "$xvfb_pid" 2>/dev/null || fail "the X server ended"
    xdpyinfo >/dev/null 2>&1
  }
  wait_for 60 "answer from the X server on $DISPLAY" server_answers
  unset WAYLAND_DISPLAY
  export QT_QPA_PLATFORM=xcb
  export XDG_RUNTIME_DIR="$work/runtime"
  mkdir -m 0700 "$XDG_RUNTIME_DIR"
  echo "   display $DISPLAY"
}

# start_openbox: a real window manager on the server, which frames the
# windows (_NET_FRAME_EXTENTS), places them and hands out the focus.
start_openbox() {
  command -v openbox >/dev/null || fail "openbox is not installed (scripts/lib/install-deps installs it)"
  step "starting openbox"
  openbox --sm-disable >"$work/openbox.log" 2>&1 &
  wm_pid=$!
  wm_manages() {
    kill -0 "$wm_pid" 2>/dev/null || fail "openbox ended: $(cat "$work/openbox.log")"
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
  }
  wait_for 60 "window manager on $DISPLAY" wm_manages
}

# frame_of <window>: "left top width height" of the window with the frame
# the window manager put around it (_NET_FRAME_EXTENTS), in screen pixels.
# Fails (returns 1) while the window has no frame yet.
frame_of() {
  local extents geometry
  extents=$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.* = //p' | tr -d ' ')
  [ -n "$extents" ] || return 1
  geometry=$(xwininfo -id "$1" | awk -F: '/Absolute upper-left X/ {x=$2} /Absolute upper-left Y/ {y=$2}
    /^ *Width/ {w=$2} /^ *Height/ {h=$2} END {print x, y, w, h}')
  local l r t b x y w h
  IFS=, read -r l r t b <<<"$extents"
  read -r x y w h <<<"$geometry"
  echo "$((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))"
}

# The area windows may take: the window manager's work area, else the screen.
work_area() {
  local area
  area=$(xprop -root _NET_WORKAREA 2>/dev/null | sed -n 's/.* = //p' | cut -d, -f1-4 | tr -d ' ')
  if [ -n "$area" ]; then
    tr , ' ' <<<"$area"
  else
    xdpyinfo | awk '/dimensions:/ {split($2, d, "x"); print 0, 0, d[1], d[2]}'
  fi
}

start_program() {
  step "starting $1"
  "$1" >"$work/program.log" 2>&1 &
  app_pid=$!
  wait_for 60 "window titled \"Lotwise\"" window_count_is 1
  main=$(lotwise_windows)
  echo "   main window $main"
}

# end_with_ctrl_q: Ctrl+Q ends the program, with exit code 0.
end_with_ctrl_q() {
  step "Ctrl+Q ends the program"
  focus_on "$main"
  xdotool key --clearmodifiers ctrl+q
  wait_for 60 "end of the program after Ctrl+Q" program_ended
  local rc=0
  wait "$app_pid" || rc=$?
  app_pid=""
  [ $rc -eq 0 ] || fail "the program ended with exit code $rc after Ctrl+Q"
}
