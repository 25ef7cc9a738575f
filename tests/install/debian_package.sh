#!/usr/bin/env bash
# Builds the Debian package with CPack into a scratch folder and checks its
# name, version, dependencies and layout: the installed tree under /usr.
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
[ "$(dpkg-deb -f "$deb" Package)" = lotwise ] || fail "the package is not named lotwise"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "the package's version is not $version"
[ -n "$(dpkg-deb -f "$deb" Maintainer)" ] || fail "the package has no maintainer"
[ -n "$(dpkg-deb -f "$deb" Description)" ] || fail "the package has no description"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6core6 libqt6gui6 libqt6widgets6 libstdc++6; do
  [[ "$depends" == *"$lib"* ]] || fail "the package does not depend on $lib: Depends: $depends"
done
echo "   Depends: $depends"

echo "-- contents"
expected="./usr/bin/lotwise -> ../lib/lotwise/lotwise
./usr/lib/lotwise/dictionary.wdb
./usr/lib/lotwise/lotwise
./usr/lib/lotwise/words.wdb
./usr/share/applications/lotwise.desktop
./usr/share/icons/hicolor/16x16/apps/lotwise.png
./usr/share/icons/hicolor/256x256/apps/lotwise.png
./usr/share/icons/hicolor/32x32/apps/lotwise.png
./usr/share/icons/hicolor/48x48/apps/lotwise.png"
# dpkg-deb -c lists like tar -tv: keep the path (and a link's target) of
# everything but the folders.
actual=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { $1 = $2 = $3 = $4 = $5 = ""; sub(/^ +/, ""); print }' | LC_ALL=C sort)
if [ "$actual" != "$expected" ]; then
  diff <(echo "$expected") <(echo "$actual") >&2 || true
  fail "the package's files are not the program's (lines with > are extra, with < missing)"
fi

echo "PASS: $(basename "$deb") holds the program's folder, link, desktop entry and icons under /usr"
