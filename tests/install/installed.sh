#!/usr/bin/env bash
# Installs the built tree into a temporary prefix, checks the layout (one
# folder with the program and its data, a relative link in bin, the desktop
# entry and the icons, nothing else), then starts the installed program
# through its link on an X server of its own: the window comes up, F5 runs
# Tell Me and the meanings page lands in the program's own folder, and
# Ctrl+Q ends it with code 0.
#
#   installed.sh <build-dir> <source-dir>
set -euo pipefail

if [ $# -ne 2 ]; then
  echo "usage: $0 <build-dir> <source-dir>" >&2
  exit 2
fi
build=$1
source_dir=$2

# shellcheck source=../smoke/xsession.sh
source "$(dirname "$0")/../smoke/xsession.sh"

prefix="$work/prefix"
step "cmake --install into $prefix"
cmake --install "$build" --prefix "$prefix" >"$work/install.log" || {
  cat "$work/install.log" >&2
  fail "cmake --install failed"
}

step "layout of the installed tree"
expected="bin/lotwise
lib/lotwise/dictionary.wdb
lib/lotwise/lotwise
lib/lotwise/words.wdb
share/applications/lotwise.desktop
share/icons/hicolor/16x16/apps/lotwise.png
share/icons/hicolor/256x256/apps/lotwise.png
share/icons/hicolor/32x32/apps/lotwise.png
share/icons/hicolor/48x48/apps/lotwise.png"
actual=$(cd "$prefix" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort)
if [ "$actual" != "$expected" ]; then
  diff <(echo "$expected") <(echo "$actual") >&2 || true
  fail "the installed files are not the program's (lines with > are extra, with < missing)"
fi
[ -L "$prefix/bin/lotwise" ] || fail "bin/lotwise is not a link"
[ "$(readlink "$prefix/bin/lotwise")" = "../lib/lotwise/lotwise" ] ||
  fail "bin/lotwise points to $(readlink "$prefix/bin/lotwise"), not to ../lib/lotwise/lotwise"
[ -x "$prefix/lib/lotwise/lotwise" ] || fail "the installed program is not executable"
for file in words.wdb dictionary.wdb; do
  cmp -s "$source_dir/data/$file" "$prefix/lib/lotwise/$file" || fail "the installed $file differs from data/$file"
done
for size in 16 32 48 256; do
  cmp -s "$source_dir/src/app/icons/lotwise-$size.png" "$prefix/share/icons/hicolor/${size}x$size/apps/lotwise.png" ||
    fail "the ${size}x$size icon is not lotwise-$size.png"
done
desktop="$prefix/share/applications/lotwise.desktop"
command -v desktop-file-validate >/dev/null || fail "desktop-file-validate is not installed (scripts/lib/install-deps installs it)"
desktop-file-validate "$desktop" || fail "the desktop entry does not validate"
for line in 'Type=Application' 'Name=Lotwise' 'Exec=lotwise' 'Icon=lotwise' 'Terminal=false'; do
  grep -qx "$line" "$desktop" || fail "the desktop entry lacks the line $line"
done
grep -q '^Comment=.' "$desktop" || fail "the desktop entry has no comment"
grep -q '^Categories=.' "$desktop" || fail "the desktop entry has no categories"
echo "   $(echo "$actual" | wc -l) files, link and desktop entry as they should be"

# Through the link: the program must find its folder behind it.
start_xvfb
start_program "$prefix/bin/lotwise"
[ ! -e "$prefix/lib/lotwise/meanings_tmp.htm" ] || fail "a meanings page exists before the first run"

step "F5 writes the meanings page into the program's folder"
focus_on "$main"
xdotool key --clearmodifiers F5
page_there() { [ -s "$prefix/lib/lotwise/meanings_tmp.htm" ]; }
wait_for 20 "meanings_tmp.htm in $prefix/lib/lotwise" page_there
[ ! -e "$prefix/bin/meanings_tmp.htm" ] || fail "the page landed beside the link, not in the program's folder"
echo "   $(head -n 1 "$prefix/lib/lotwise/meanings_tmp.htm" | tr -d '\r')"

end_with_ctrl_q

echo "PASS: installed layout checked; the installed program ran Tell Me, wrote its page into $prefix/lib/lotwise and ended with code 0"
