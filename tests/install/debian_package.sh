#!/usr/bin/env bash
# Builds the Debian package with CPack into a scratch folder and checks it as
# Debian's own tools would: its name, version, section and dependencies, the
# installed tree under /usr, the changelog and the manual page compressed with
# gzip -9n, the changelog's version, and lintian with no error and no warning.
#
#   debian_package.sh <build-dir> <version>
set -euo pipefail

if [ $# -ne 2 ]; then
  echo "usage: $0 <build-dir> <version>" >&2
  exit 2
fi
build=$1
version=$2

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
command -v lintian >/dev/null || fail "lintian is not installed (scripts/lib/install-deps installs it)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "-- cpack -G DEB"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 || {
  cat "$work/cpack.log" >&2
  fail "cpack failed"
}
deb="$work/lotwise_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no package $(basename "$deb"); cpack made: $(ls "$work")"

echo "-- control fields"
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = lotwise ] || fail "the package is not named lotwise"
[ "$(field Version)" = "$version" ] || fail "the package's version is not $version"
[ "$(field Section)" = misc ] || fail "the package's section is $(field Section), not misc"
[ -n "$(field Maintainer)" ] || fail "the package has no maintainer"
[ -n "$(field Description)" ] || fail "the package has no description"
# The fields as lists of package names, one a line, without versions.
depends=$(field Depends | sed 's/([^)]*)//g' | tr -d ' ' | tr ',' '\n')
recommends=$(field Recommends | sed 's/([^)]*)//g' | tr -d ' ' | tr ',' '\n')
# The libraries the program links, by the package that holds each on this
# system, which is what dpkg-shlibdeps names: Debian renames some between
# releases (libqt6core6 became libqt6core6t64 with the 64-bit time_t).
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
for library in libQt6Core.so.6 libQt6Gui.so.6 libQt6Widgets.so.6 libstdc++.so.6; do
  owner=$(dpkg-query -S "*/$multiarch/$library" 2>/dev/null | sed -n 1p | cut -d: -f1)
  [ -n "$owner" ] || fail "no installed package holds $library"
  grep -qx "$owner" <<<"$depends" || fail "the package does not depend on $owner, which holds $library: Depends: $(field Depends)"
done
# The platform plugins are loaded at run time, so no library link names
# them: without qt6-qpa-plugins the program opens no window. Without
# fonts-liberation words are cut off in their controls.
for package in qt6-qpa-plugins fonts-liberation; do
  grep -qx "$package" <<<"$depends" || fail "the package does not depend on $package: Depends: $(field Depends)"
done
for package in qt6-wayland; do
  grep -qx "$package" <<<"$recommends" || fail "the package does not recommend $package: Recommends: $(field Recommends)"
done
echo "   Depends: $(field Depends)"
echo "   Recommends: $(field Recommends)"

echo "-- contents"
expected="./usr/bin/lotwise -> ../lib/lotwise/lotwise
./usr/lib/lotwise/dictionary.wdb
./usr/lib/lotwise/lotwise
./usr/lib/lotwise/lotwise.installed
./usr/lib/lotwise/words.wdb
./usr/share/applications/lotwise.desktop
./usr/share/doc/lotwise/changelog.gz
./usr/share/doc/lotwise/copyright
./usr/share/icons/hicolor/16x16/apps/lotwise.png
./usr/share/icons/hicolor/256x256/apps/lotwise.png
./usr/share/icons/hicolor/32x32/apps/lotwise.png
./usr/share/icons/hicolor/48x48/apps/lotwise.png
./usr/share/lintian/overrides/lotwise
./usr/share/man/man1/lotwise.1.gz
./usr/share/metainfo/org.example.lotwise.metainfo.xml"
# dpkg-deb -c lists like tar -tv: keep the path (and a link's target) of
# everything but the folders.
actual=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { $1 = $2 = $3 = $4 = $5 = ""; sub(/^ +/, ""); print }' | LC_ALL=C sort)
if [ "$actual" != "$expected" ]; then
  diff <(echo "$expected") <(echo "$actual") >&2 || true
  fail "the package's files are not the program's (lines with > are extra, with < missing)"
fi
# Lists are read whole before grep -q looks: leaving at the first match
# could end the writer by SIGPIPE, which pipefail reads as a failure.
control=$(dpkg-deb --ctrl-tarfile "$deb" | tar -t)
grep -qx './prerm' <<<"$control" || fail "the package has no prerm script"

echo "-- changelog and manual page"
tree="$work/tree"
dpkg-deb -x "$deb" "$tree"
# gzip -9n: no file name (flags 0), no time stamp (0) and the slowest,
# tightest compression (extra flags 2) in the header.
for file in usr/share/doc/lotwise/changelog.gz usr/share/man/man1/lotwise.1.gz; do
  header=$(od -An -tu1 -j3 -N6 "$tree/$file" | tr -s ' ' | sed 's/^ //')
  [ "$header" = "0 0 0 0 0 2" ] || fail "$file is not compressed with gzip -9n (header bytes 3..8: $header)"
done
changelog_version=$(zcat "$tree/usr/share/doc/lotwise/changelog.gz" | dpkg-parsechangelog -l - -S Version)
[ "$changelog_version" = "$version" ] ||
  fail "the changelog's latest entry is $changelog_version, the package is $version: add an entry to packaging/changelog"
page=$(zcat "$tree/usr/share/man/man1/lotwise.1.gz")
grep -q "lotwise $version" <<<"$page" ||
  fail "the manual page does not name version $version"
# Its markup: any warning of man (groff's -ww) fails, and so does a control
# character, which groff prints without a word (a lost "\f" of "\fR"
# once put a form feed there, and the page read "sizeR,").
page="$tree/usr/share/man/man1/lotwise.1.gz"
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings=w -l "$page" 2>&1 >/dev/null) ||
  fail "man could not render the manual page: $warnings"
[ -z "$warnings" ] || fail "man warns about the manual page's markup: $warnings"
stray=$(zcat "$page" | tr '\t' ' ' | LC_ALL=C grep -n '[[:cntrl:]]' | sed -n 1p) || true
[ -z "$stray" ] || fail "the manual page holds a control character, in line ${stray%%:*}"
lines=$(zcat "$page" | wc -l)
echo "   manual page: $lines lines of markup, no warning from man --warnings, no control character"

echo "-- lintian"
# Lintian only advises against running as root; it checks the same.
rc=0
lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>"$work/lintian.err" || rc=$?
sed 's/^/   /' "$work/lintian.log"
if [ $rc -ne 0 ] || grep -qE '^[EW]: ' "$work/lintian.log"; then
  sed 's/^/   /' "$work/lintian.err" >&2
  fail "lintian reports errors or warnings (exit code $rc)"
fi
echo "   no error, no warning"

echo "PASS: $(basename "$deb"): fields, dependencies and files as they should be, changelog and manual page" \
  "compressed with gzip -9n, lintian clean"
