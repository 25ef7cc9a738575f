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

# Every command this system has, less one tool.
for tool in clang-format clazy-standalone clang-tidy cppcheck; do
  bin=$work/without-$tool
  mkdir "$bin"
  for dir in /usr/local/bin /usr/bin /bin; do
    for file in "$dir"/*; do
      name=${file##*/}
      [ "$name" = "$tool" ] || [ -e "$bin/$name" ] || ln -s "$file" "$bin/$name"
    done
  done
  expect_failure "no $tool" "cannot run $tool: not installed" "$bin" "$work/empty"
done

[ $failures -eq 0 ] || exit 1
