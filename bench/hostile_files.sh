#!/usr/bin/env bash
# Peak memory and the time to the warning, at start-up, for data files a
# hostile sender could make, against whole ones: a link to /proc/self/pagemap
# (it reports no size and reads on for gigabytes), a pipe, and a meaning of a
# million characters. Each case is a fresh process on an X server of its own;
# the figure is taken once the warning is on screen (or, with whole files,
# once the window is).
#
#   bench/hostile_files.sh [lotwise]      (build-release/bin/lotwise by default)
set -euo pipefail
cd "$(dirname "$0")/.."

program=${1:-build-release/bin/lotwise}
[ -x "$program" ] || {
  echo "no program at $program: build it first (scripts/run builds build-release/)" >&2
  exit 2
}
data=data
work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
  [ -z "$app_pid" ] || kill "$app_pid" 2>/dev/null || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
until [ -s "$work/display" ]; do sleep 0.05; done
export DISPLAY=":$(tr -d '[:space:]' <"$work/display")" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 0700 "$XDG_RUNTIME_DIR"

windows() { xdotool search --all --onlyvisible --pid "$app_pid" --name '^Lotwise$' 2>/dev/null | wc -l; }

# measure <case> <windows expected>: peak memory (VmHWM) and the time until
# that many windows titled Lotwise show.
measure() {
  local name=$1 expected=$2 start
  start=$(date +%s%N)
  "$work/app/lotwise" >/dev/null 2>&1 &
  app_pid=$!
  local deadline=$((SECONDS + 60))
  until [ "$(windows)" -ge "$expected" ]; do
    [ $SECONDS -lt $deadline ] || { echo "$name: no window after 60 s" >&2; exit 1; }
    sleep 0.02
  done
  local took=$((($(date +%s%N) - start) / 1000000))
  local peak
  peak=$(awk '/VmHWM/ {print $2}' "/proc/$app_pid/status")
  kill "$app_pid"
  wait "$app_pid" 2>/dev/null || true
  app_pid=""
  printf '%-44s %8d kB %8d ms\n' "$name" "$peak" "$took"
}

fresh() {
  rm -rf "$work/app"
  mkdir "$work/app"
  cp "$program" "$data/words.wdb" "$data/dictionary.wdb" "$work/app/"
}

printf '%-44s %11s %11s\n' "data files" "peak memory" "to warning"
fresh
measure "whole (no warning: to the window)" 1
for file in words.wdb dictionary.wdb; do
  fresh
  ln -sf /proc/self/pagemap "$work/app/$file"
  measure "$file a link to /proc/self/pagemap" 2
  fresh
  rm "$work/app/$file"
  mkfifo "$work/app/$file"
  measure "$file a pipe" 2
done
fresh
python3 - "$work/app/dictionary.wdb" <<'PY'
import sys
path = sys.argv[1]
data = open(path, 'rb').read()
start = data.index(b'\r\n') + 2
end = data.index(b'\r\n', start)
fields = data[start:end].split(b'","')
fields[3] = b'm' * 1000000 + b'"'
open(path, 'wb').write(data[:start] + b'","'.join(fields) + data[end:])
PY
measure "dictionary.wdb with a 1,000,000-char meaning" 2
