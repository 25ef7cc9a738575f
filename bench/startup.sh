#!/usr/bin/env bash
# Start-up budget: the program against a bare Qt 6 window (a QMainWindow
# holding one QTextBrowser, of the same size), side by side in one run on an
# X server of its own. Prints the medians of the time to the window being
# mapped, the time to its first paint and the peak memory, and the ratios.
#
#   bench/startup.sh [runs]      (15 runs of each by default)
#
# Builds a Release build in build-bench/ (the program, the bare window and
# the probe). Each run is one fresh process measured by bench/startup_probe
# (see there how and why); the two programs take turns, in an order that
# flips every round, so that a machine that gets busier or quieter during
# the benchmark weighs on both alike. One unmeasured run of each comes
# first, so that both find the font cache and the libraries in memory.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-15}
[[ "$runs" =~ ^[1-9][0-9]*$ ]] || {
  echo "usage: bench/startup.sh [runs]" >&2
  exit 2
}
build=build-bench

echo "building the Release programs in $build/ ..."
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DLOTWISE_BENCH=ON -DLOTWISE_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target lotwise startup_bare startup_probe >/dev/null
probe="$build/bench/startup_probe"

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

# The program from a folder of its own, as it is installed: it writes
# nothing at start-up, but nothing it does should land in the build tree.
mkdir "$work/lotwise"
cp "$build/bin/lotwise" data/words.wdb data/dictionary.wdb "$work/lotwise/"
cp "$build/bench/startup_bare" "$work/"
lotwise="$work/lotwise/lotwise"
bare="$work/startup_bare"

# A black root (-br): the probe takes a window as painted once its middle
# is no longer black. -noreset: the server stays as it is between runs.
Xvfb -displayfd 3 -br -noreset -screen 0 1280x1024x24 -dpi 96 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || {
  echo "startup.sh: the X server did not start" >&2
  exit 1
}
export DISPLAY=":$(tr -d '[:space:]' <"$work/display")"
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 0700 "$XDG_RUNTIME_DIR"

measure() { "$probe" "$1" || {
  echo "startup.sh: the probe failed on $1" >&2
  exit 1
}; }

measure "$bare" >/dev/null
measure "$lotwise" >/dev/null
: >"$work/bare.txt"
: >"$work/lotwise.txt"
echo "measuring $runs runs of each ..."
for ((i = 1; i <= runs; i++)); do
  if ((i % 2)); then
    measure "$bare" >>"$work/bare.txt"
    measure "$lotwise" >>"$work/lotwise.txt"
  else
    measure "$lotwise" >>"$work/lotwise.txt"
    measure "$bare" >>"$work/bare.txt"
  fi
done

# median <file> <column>
median() { awk -v c="$2" '{print $c}' "$1" | sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
row() {
  local what=$1 column=$2 scale=$3
  local b l
  b=$(median "$work/bare.txt" "$column")
  l=$(median "$work/lotwise.txt" "$column")
  awk -v w="$what" -v b="$b" -v l="$l" -v s="$scale" \
    'BEGIN {printf "%-26s %12.1f %12.1f %8.2f\n", w, b / s, l / s, l / b}'
}

echo
echo "Start-up, median of $runs runs each ($(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)):"
printf '%-26s %12s %12s %8s\n' "" "bare window" "Lotwise" "ratio"
row "window mapped (ms)" 1 1
row "window painted (ms)" 2 1
row "peak memory, VmHWM (MiB)" 3 1024
echo "target: each ratio at most 1.3"
