#!/usr/bin/env bash
# The command line: --help and --version answer without a display, an
# unknown option is refused with exit code 2, no display to open ends the
# program with one line and exit code 1 (never Qt's abort), and Qt's own
# options still reach Qt.
#
#   command_line.sh <lotwise> <data-dir> <version>
set -euo pipefail

if [ $# -ne 3 ]; then
  echo "usage: $0 <lotwise> <data-dir> <version>" >&2
  exit 2
fi
program=$1
data=$2
version=$3

# shellcheck source=xsession.sh
source "$(dirname "$0")/xsession.sh"
[ -x "$program" ] || fail "no executable at $program (build it first)"

copy_program "$program" "$data"
lotwise="$app/lotwise"
out="$work/out"
err="$work/err"

# run <expected exit code> <what> <args...>: runs the program with no
# display at all, its output in $out and $err.
run() {
  local expected=$1 what=$2 rc=0
  shift 2
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 30 "$lotwise" "$@" >"$out" 2>"$err" || rc=$?
  if [ $rc -ne "$expected" ]; then
    sed 's/^/  out: /' "$out" >&2
    sed 's/^/  err: /' "$err" >&2
    fail "$what: exit code $rc, not $expected"
  fi
}
lines() { wc -l <"$1"; }

for option in --help -h; do
  step "$option prints the usage and exits 0, with no display"
  run 0 "$option" "$option"
  grep -q '^Usage: ' "$out" || fail "$option: no usage line"
  grep -q -- '-v, --version' "$out" || fail "$option: the usage does not name --version"
  for key in F5 F1 Ctrl+Q 'man lotwise'; do
    grep -qF -- "$key" "$out" || fail "$option: the usage does not name $key"
  done
  [ ! -s "$err" ] || fail "$option: wrote to standard error"
done

for option in --version -v; do
  step "$option prints \"Lotwise $version\" and exits 0, with no display"
  run 0 "$option" "$option"
  [ "$(cat "$out")" = "Lotwise $version" ] || fail "$option printed: $(cat "$out")"
done

for wrong in --bogus -bogus "-platform"; do
  step "\"$wrong\" is refused: one line, the usage, exit 2"
  run 2 "$wrong" "$wrong"
  [ ! -s "$out" ] || fail "$wrong: wrote to standard output"
  head -n 1 "$err" | grep -q '^lotwise: ' || fail "$wrong: the first line is not the program's: $(head -n 1 "$err")"
  sed -n 2p "$err" | grep -q '^Usage: ' || fail "$wrong: the usage does not follow the error line"
  head -n 1 "$err" | sed 's/^/   /'
done
step "an argument is refused the same way"
run 2 "an argument" question
grep -q "^lotwise: Unexpected argument 'question'" "$err" || fail "unexpected first line: $(head -n 1 "$err")"

step "no display: one line naming DISPLAY and WAYLAND_DISPLAY, exit 1"
run 1 "no display"
[ "$(lines "$err")" -eq 1 ] || fail "$(lines "$err") lines on standard error: $(cat "$err")"
grep -q 'DISPLAY is unset, WAYLAND_DISPLAY is unset' "$err" || fail "the line does not say what was tried: $(cat "$err")"
sed 's/^/   /' "$err"

step "a display that does not answer: named in one line, exit 1"
rc=0
env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:59999 timeout 30 "$lotwise" >"$out" 2>"$err" || rc=$?
[ $rc -eq 1 ] || fail "exit code $rc, not 1: $(cat "$err")"
[ "$(lines "$err")" -eq 1 ] || fail "$(lines "$err") lines on standard error: $(cat "$err")"
grep -q 'DISPLAY is ":59999" but nothing answers there' "$err" || fail "the line does not name DISPLAY: $(cat "$err")"
sed 's/^/   /' "$err"

step "-platform xcb with no display: Qt cannot open it, the program says so and exits 1"
run 1 "-platform xcb" -platform xcb
tail -n 1 "$err" | grep -q '^lotwise: no display to open a window on (DISPLAY is unset' ||
  fail "the last line does not say what was tried: $(cat "$err")"
tail -n 1 "$err" | sed 's/^/   /'

step "-platform offscreen needs no display: the window opens"
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$lotwise" -platform offscreen >"$work/program.log" 2>&1 &
app_pid=$!
offscreen_loaded() { grep -q 'libqoffscreen' "/proc/$app_pid/maps" 2>/dev/null; }
wait_for 60 "Qt's offscreen plugin in the program" offscreen_loaded
kill "$app_pid"
wait "$app_pid" 2>/dev/null || true
app_pid=""

step "-geometry and -style reach Qt"
start_xvfb 1024x768x24
"$lotwise" -style Windows -geometry 600x400+30+40 >"$work/program.log" 2>&1 &
app_pid=$!
wait_for 60 "window titled \"Lotwise\"" window_count_is 1
main=$(lotwise_windows)
geometry_given() {
  xwininfo -id "$main" >"$work/xwininfo" &&
    grep -q 'Width: 600$' "$work/xwininfo" && grep -q 'Height: 400$' "$work/xwininfo" &&
    grep -q 'Absolute upper-left X:  30$' "$work/xwininfo" && grep -q 'Absolute upper-left Y:  40$' "$work/xwininfo"
}
if ! wait_for_quietly 60 geometry_given; then
  cat "$work/xwininfo" >&2
  fail "the window does not have the geometry -geometry gave it"
fi
end_with_ctrl_q
grep -q 'style' "$work/program.log" && fail "Qt complained about -style: $(cat "$work/program.log")"

echo "PASS: --help, --version, refusals, no display and Qt's own options"
