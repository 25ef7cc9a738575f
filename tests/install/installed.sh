#!/usr/bin/env bash
# Installs the built tree into a temporary prefix, checks the layout (one
# folder with the program, its data and the marker that makes it an installed
# copy, a relative link in bin, the desktop entry, icons, metainfo, manual
# page and package documents, nothing else) and validates the desktop entry
# and the metainfo. Then starts the installed program through its link on an
# X server of its own, with HOME and XDG_DATA_HOME in scratch folders: the
# window comes up, the data folder $XDG_DATA_HOME/lotwise holds copies of the
# shipped data files, F5 writes the meanings page there, Ctrl+Q ends the
# program with code 0, and nothing under the prefix has changed.
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
for tool in desktop-file-validate appstreamcli; do
  command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/lib/install-deps installs it)"
done

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
lib/lotwise/lotwise.installed
lib/lotwise/words.wdb
share/applications/lotwise.desktop
share/doc/lotwise/changelog.gz
share/doc/lotwise/copyright
share/icons/hicolor/16x16/apps/lotwise.png
share/icons/hicolor/256x256/apps/lotwise.png
share/icons/hicolor/32x32/apps/lotwise.png
share/icons/hicolor/48x48/apps/lotwise.png
share/lintian/overrides/lotwise
share/man/man1/lotwise.1.gz
share/metainfo/org.example.lotwise.metainfo.xml"
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
echo "   $(echo "$actual" | wc -l) files, link as it should be"

step "desktop entry and metainfo validate"
desktop="$prefix/share/applications/lotwise.desktop"
# desktop-file-validate exits with 0 on hints and warnings too: any line
# of output is a finding.
desktop-file-validate "$desktop" >"$work/desktop.log" 2>&1 || true
if [ -s "$work/desktop.log" ]; then
  cat "$work/desktop.log" >&2
  fail "desktop-file-validate has findings on the desktop entry"
fi
for line in 'Type=Application' 'Name=Lotwise' 'Exec=lotwise' 'Icon=lotwise' 'Terminal=false'; do
  grep -qx "$line" "$desktop" || fail "the desktop entry lacks the line $line"
done
grep -q '^Comment=.' "$desktop" || fail "the desktop entry has no comment"
grep -q '^Categories=.' "$desktop" || fail "the desktop entry has no categories"
metainfo="$prefix/share/metainfo/org.example.lotwise.metainfo.xml"
# Errors and warnings fail, whatever the exit status says; the notes below
# them (I:, P:) do not, since each AppStream release adds and drops some and
# --strict would fail on those. --no-net leaves the homepage and the
# screenshot's address unchecked.
appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 || {
  cat "$work/appstream.log" >&2
  fail "appstreamcli validate rejects the metainfo"
}
if grep -E '^[EW]:' "$work/appstream.log" >&2; then
  fail "appstreamcli validate has errors or warnings on the metainfo"
fi
grep -q '<launchable type="desktop-id">lotwise.desktop</launchable>' "$metainfo" ||
  fail "the metainfo does not name the desktop entry lotwise.desktop"
echo "   $(tail -n 1 "$work/appstream.log")"

# The program may write nothing under the prefix: a listing with sizes and
# times, folders included, shows any file made, changed or removed.
listing() { (cd "$prefix" && find . -printf '%p %y %s %T@\n' | LC_ALL=C sort); }
listing >"$work/before.lst"

export HOME="$work/home"
export XDG_DATA_HOME="$work/data-home"
mkdir "$HOME" "$XDG_DATA_HOME"
data="$XDG_DATA_HOME/lotwise"

# Through the link: the program must find its folder, and the marker in it,
# behind it.
start_xvfb
start_program "$prefix/bin/lotwise"

step "the data folder holds copies of the shipped data files"
[ -d "$data" ] || fail "the installed program made no data folder $data"
for file in words.wdb dictionary.wdb; do
  cmp -s "$prefix/lib/lotwise/$file" "$data/$file" || fail "$data/$file is not a copy of the shipped $file"
done
[ ! -e "$data/meanings_tmp.htm" ] || fail "a meanings page exists before the first run"

step "F5 writes the meanings page into the data folder"
focus_on "$main"
xdotool key --clearmodifiers F5
page_there() { [ -s "$data/meanings_tmp.htm" ]; }
wait_for 60 "meanings_tmp.htm in $data" page_there
echo "   $(head -n 1 "$data/meanings_tmp.htm" | tr -d '\r')"

end_with_ctrl_q

step "nothing written under the prefix or in \$HOME/.local/share"
listing >"$work/after.lst"
if ! diff "$work/before.lst" "$work/after.lst" >&2; then
  fail "the program changed files under $prefix (lines with > are new, with < gone or changed)"
fi
[ ! -e "$HOME/.local/share/lotwise" ] || fail "the program used \$HOME/.local/share although XDG_DATA_HOME is set"

echo "PASS: installed layout, desktop entry and metainfo checked; the installed program copied the data files" \
  "into \$XDG_DATA_HOME/lotwise, wrote its page there after F5, ended with code 0 and left $prefix as it was"
