#!/usr/bin/env bash
# The program on Wayland, as a desktop without X shows it: Weston's headless
# backend as the compositor, Qt's Wayland plugin (the package's qt6-wayland)
# as the platform, and no X server at all. The program's window must appear
# on Weston's screen with its design's colours; weston-screenshooter takes
# the picture, kept in <screenshot>.
#
#   wayland.sh <lotwise> <shotcolours> <screenshot>
set -euo pipefail

if [ $# -ne 3 ]; then
  echo "usage: $0 <lotwise> <shotcolours> <screenshot>" >&2
  exit 2
fi
program=$1
shotcolours=$2
screenshot=$3

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
step() { echo "-- $*"; }
for tool in weston weston-screenshooter; do
  command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/lib/install-deps installs weston)"
done
for tool in "$program" "$shotcolours"; do
  [ -x "$tool" ] || fail "no executable at $tool (build it first)"
done
[ -n "$(find /usr/lib -path '*/qt6/plugins/platforms/libqwayland-generic.so' -print -quit)" ] ||
  fail "Qt's Wayland plugin is missing (scripts/lib/install-deps installs qt6-wayland)"

work=$(mktemp -d)
weston_pid=""
app_pid=""
cleanup() {
  local rc=$?
  for pid in $app_pid $weston_pid; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  if [ $rc -ne 0 ]; then
    for log in program weston; do
      if [ -s "$work/$log.log" ]; then
        echo "$log output:" >&2
        sed 's/^/  /' "$work/$log.log" >&2
      fi
    done
  fi
  rm -rf "$work"
}
trap cleanup EXIT

# A runtime folder and a socket of this test's own, so that neither the
# desktop's compositor nor another test's Weston is ever reached.
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 0700 "$XDG_RUNTIME_DIR"
socket="lotwise-test-$$"

step "starting Weston, headless, on socket $socket"
# The headless backend draws nothing unless told to use a renderer; --debug
# lets weston-screenshooter take pictures; --idle-time=0 keeps the screen
# from fading out while the test waits.
weston --backend=headless-backend.so --use-pixman --width=1280 --height=1024 --socket="$socket" \
  --idle-time=0 --debug --no-config --log="$work/weston.log" >"$work/weston.out" 2>&1 &
weston_pid=$!
deadline=$((SECONDS + 10))
until [ -S "$XDG_RUNTIME_DIR/$socket" ]; do
  kill -0 "$weston_pid" 2>/dev/null || fail "Weston ended at start-up"
  [ $SECONDS -lt $deadline ] || fail "no Wayland socket after 10 s"
  sleep 0.1
done

step "starting $program with QT_QPA_PLATFORM=wayland"
unset DISPLAY
export WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland
"$program" >"$work/program.log" 2>&1 &
app_pid=$!

step "the window appears on Weston's screen"
# The question bar's grey, the button panel's blue, the buttons' orange
# frames and the column headers' green, each over a good stretch of pixels.
shots="$work/shots"
mkdir "$shots"
mkdir -p "$(dirname "$screenshot")"
window_shown() {
  rm -f "$shots"/*.png
  (cd "$shots" && weston-screenshooter >>"$work/screenshooter.log" 2>&1) || return 1
  shot=$(find "$shots" -name '*.png' -print -quit)
  [ -n "$shot" ] && "$shotcolours" "$shot" 400 '#C0C0C0' '#8080FF' '#FF8000' '#80FF80' 2>"$work/colours.log"
}
deadline=$((SECONDS + 20))
until window_shown; do
  kill -0 "$app_pid" 2>/dev/null || fail "the program ended on Wayland"
  if [ $SECONDS -ge $deadline ]; then
    cat "$work/screenshooter.log" "$work/colours.log" >&2
    [ -z "${shot:-}" ] || cp "$shot" "$screenshot"
    fail "no window of the program on Weston's screen after 20 s (last picture: $screenshot)"
  fi
  sleep 0.5
done
cp "$shot" "$screenshot"
kill -0 "$app_pid" 2>/dev/null || fail "the program ended right after showing its window"

echo "PASS: the program showed its window on Weston's headless screen through Qt's Wayland plugin;" \
  "picture in $screenshot"
