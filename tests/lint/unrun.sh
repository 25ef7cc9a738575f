#!/usr/bin/env bash
# Runs scripts/lib/lint where it cannot analyse anything and checks that it
# fails with a line that says why: a compile database that lists no file,
# and each analyser missing from PATH in turn.
#
#   unrun.sh <source-dir>
set -euo pipefail

source=${1:?usage: unrun.sh <source-dir>}
lint=$source/scripts/lib/lint
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# expect_failure <what> <line it must print> <PATH> <build folder>
expect_failure() {
  local what=$1 wanted=$2 path=$3 build=$4 status=0
  PATH=$path "$lint" "$build" >"$work/out" 2>&1 || status=$?
  if [ $status -eq 0 ]; then
    echo "FAIL: $what: the lint stage passed" >&2
    cat "$work/out" >&2
    failures=$((failures + 1))
  elif ! grep -qF -- "$wanted" "$work/out"; then
    echo "FAIL: $what: the lint stage failed (exit status $status) without the line \"$wanted\"" >&2
    cat "$work/out" >&2
    failures=$((failures + 1))
  else
    echo "-- $what: $(grep -F -- "$wanted" "$work/out")"
  fi
}

mkdir "$work/empty"
echo '[]' >"$work/empty/compile_commands.json"
expect_failure "an empty compile database" "compiles none of the" "$PATH" "$work/empty"

# Every command this system has, less one tool at a time: the links are made
# in one go (a link per command in a loop of their own took over a minute on
# a busy machine), later folders replacing earlier ones as PATH would prefer.
bin=$work/bin
mkdir "$bin" "$work/aside"
shopt -s nullglob
ln -sf -t "$bin" /bin/* /usr/bin/* /usr/local/bin/*
for tool in clang-format clazy-standalone clang-tidy cppcheck; do
  mv "$bin/$tool" "$work/aside/"
  expect_failure "no $tool" "cannot run $tool: not installed" "$bin" "$work/empty"
  mv "$work/aside/$tool" "$bin/"
done

[ $failures -eq 0 ] || exit 1
