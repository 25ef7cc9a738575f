#!/usr/bin/env bash
# The Debian package on this very system, as its users meet it: builds the
# .deb, installs it with dpkg -i (its dependencies from Debian's archive when
# missing), and starts /usr/bin/lotwise on an X server of the test's own,
# once as a throwaway ordinary user and once as root with a scratch HOME.
# Each time the data folder ~/.local/share/lotwise must get copies of the
# shipped data files, and after F5 the meanings page there must hold the
# dictionary's entry for the grid read from the window's screenshot. Then
# nothing may have been written under /usr, and dpkg -r and dpkg --purge must
# leave no trace of the package there. The user and the package go again in
# every case, failure included.
#
#   package_journey.sh <build-dir> <version> <grabwindow> <shotcheck> <data-dir> <screenshot-dir>
#
# Needs root. A lotwise package that someone else installed is left alone:
# the test refuses to run rather than replace it.
set -euo pipefail

if [ $# -ne 6 ]; then
  echo "usage: $0 <build-dir> <version> <grabwindow> <shotcheck> <data-dir> <screenshot-dir>" >&2
  exit 2
fi
build=$1
version=$2
grabwindow=$3
shotcheck=$4
data=$5
shots=$6

if [ "$(id -u)" -ne 0 ]; then
  echo "SKIP: installing a package system-wide needs root"
  exit 77
fi

# shellcheck source=../smoke/xsession.sh
source "$(dirname "$0")/../smoke/xsession.sh"
for tool in "$grabwindow" "$shotcheck"; do
  [ -x "$tool" ] || fail "no executable at $tool (build it first)"
done
mkdir -p "$shots"

user=""
user_runtime=""
installed=0
cleanup_system() {
  if [ -n "$user" ] && id "$user" >/dev/null 2>&1; then
    userdel --remove --force "$user" 2>/dev/null || echo "WARNING: could not remove the user $user" >&2
  fi
  [ -z "$user_runtime" ] || rm -rf "$user_runtime"
  if [ $installed -eq 1 ]; then
    dpkg --purge lotwise >/dev/null 2>&1 || echo "WARNING: dpkg --purge lotwise failed" >&2
    # The folder was not there before the install: whatever is left in it
    # after a failure came from this test's runs.
    rm -rf /usr/lib/lotwise
  fi
}
extra_cleanup=cleanup_system

step "cpack -G DEB"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 || {
  cat "$work/cpack.log" >&2
  fail "cpack failed"
}
deb="$work/package/lotwise_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no package $(basename "$deb")"

# One system-wide install at a time on this machine, also across build trees
# and test runs that CTest's resource lock cannot see.
exec 9>/run/lock/lotwise-package-journey.lock
flock -w 600 9 || fail "another install test has held /run/lock/lotwise-package-journey.lock for 10 minutes"

status=$(dpkg-query -W -f='${db:Status-Status} ${Version}' lotwise 2>/dev/null || true)
case "$status" in
"" | "not-installed "*) ;;
*)
  fail "a lotwise package is already on this system (${status}); this test installs and removes" \
    "a package of its own and will not touch that one: remove it with dpkg --purge lotwise, then run the test again"
  ;;
esac
[ ! -e /usr/lib/lotwise ] ||
  fail "/usr/lib/lotwise exists without a package (an install with prefix /usr?); remove it, then run the test again"

step "the package's dependencies"
depends=$(dpkg-deb -f "$deb" Depends)
plan=$(apt-get -s -qq satisfy "$depends" 2>&1) || true
if [ -n "$plan" ]; then
  echo "   installing from Debian's archive: $depends"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq >"$work/apt.log" 2>&1 || true
  apt-get satisfy -y -qq --no-install-recommends "$depends" >>"$work/apt.log" 2>&1 || {
    cat "$work/apt.log" >&2
    fail "cannot install the package's dependencies: $depends"
  }
fi

step "dpkg -i $(basename "$deb")"
installed=1
dpkg -i "$deb" >"$work/dpkg.log" 2>&1 || {
  cat "$work/dpkg.log" >&2
  fail "dpkg -i failed"
}
[ -f /usr/lib/lotwise/lotwise.installed ] || fail "the package laid no marker /usr/lib/lotwise/lotwise.installed"
# Everything the programs write from now on is newer than this.
stamp="$work/installed.stamp"
touch "$stamp"

user="lwjourney$$"
step "creating the user $user"
useradd --create-home --user-group --shell /bin/bash "$user" || fail "useradd $user failed"
user_home=$(getent passwd "$user" | cut -d: -f6)
user_runtime=$(mktemp -d)
chown "$user:" "$user_runtime"
chmod 0700 "$user_runtime"

start_xvfb

# The page is complete once its last entry has ended.
page_written() { [ -s "$page" ] && [ "$(tail -c 10 "$page" | od -An -c | tr -d ' \n')" = '<br><br>\r\n' ]; }

# journey <who> <home> <runtime-dir> [command prefix...]: starts
# /usr/bin/lotwise with the clean environment of a fresh login, checks the
# data folder in <home>, runs Tell Me with F5 and checks the page against
# the grid on show, and ends with Ctrl+Q.
journey() {
  local who=$1 home=$2 runtime=$3
  shift 3
  local folder="$home/.local/share/lotwise"
  page="$folder/meanings_tmp.htm"
  local owner
  owner=$(stat -c %U "$home")

  step "$who: starting /usr/bin/lotwise (HOME=$home, XDG_DATA_HOME unset)"
  "$@" env -i HOME="$home" USER="$owner" LOGNAME="$owner" SHELL=/bin/bash PATH=/usr/bin:/bin \
    LANG=C.UTF-8 DISPLAY="$DISPLAY" XDG_RUNTIME_DIR="$runtime" QT_QPA_PLATFORM=xcb \
    /usr/bin/lotwise >"$work/program.log" 2>&1 &
  app_pid=$!
  wait_for 60 "window titled \"Lotwise\"" window_count_is 1
  main=$(lotwise_windows)

  step "$who: the data folder holds the user's own copies of the shipped data files"
  [ -d "$folder" ] || fail "the installed program made no data folder $folder"
  for file in words.wdb dictionary.wdb; do
    cmp -s "/usr/lib/lotwise/$file" "$folder/$file" || fail "$folder/$file is not a copy of the shipped $file"
  done
  [ ! -e "$page" ] || fail "a meanings page exists before the first run"

  step "$who: F5 writes the page of the grid on show into the data folder"
  "$grabwindow" "$main" "$work/before.png" --timeout-ms 60000 '#C0C0C0' '#8080FF' '#FF8000' '#80FF80' >/dev/null ||
    fail "the main window did not show its design"
  focus_on "$main"
  xdotool key --clearmodifiers F5
  wait_for 60 "meanings page in $folder after F5" page_written
  first_pair_shown() {
    "$grabwindow" "$main" "$work/after.png" --timeout-ms 5000 '#C00000' >/dev/null &&
      grid=$("$shotcheck" grid "$work/before.png" "$work/after.png" 2>"$work/grid.log") &&
      "$shotcheck" page "$data" "$grid" DA "$page" >"$work/page.log" 2>&1
  }
  if ! wait_for_quietly 60 first_pair_shown; then
    cat "$work/grid.log" "$work/page.log" >&2
    fail "the page in $folder does not hold the entry of the first pair of the grid on show"
  fi
  echo "   grid $grid"
  sed 's/^/ /' "$work/page.log"
  cp "$work/after.png" "$shots/package-journey-$who.png"

  end_with_ctrl_q

  local foreign
  foreign=$(find "$home/.local/share" ! -user "$owner")
  [ -z "$foreign" ] || fail "files in the data folder that $owner does not own: $foreign"
}

root_data_before=$(ls -d /root/.local/share/lotwise 2>/dev/null || true)

journey user "$user_home" "$user_runtime" setpriv --reuid="$user" --regid="$user" --init-groups

root_home="$work/root-home"
mkdir -m 0700 "$root_home" "$work/root-runtime"
journey root "$root_home" "$work/root-runtime"
[ -n "$root_data_before" ] || [ ! -e /root/.local/share/lotwise ] ||
  fail "the run as root with HOME=$root_home made /root/.local/share/lotwise"

step "nothing written under /usr"
dpkg --verify lotwise >"$work/verify.log" 2>&1 || true
if [ -s "$work/verify.log" ]; then
  cat "$work/verify.log" >&2
  fail "dpkg --verify lotwise: files of the package changed"
fi
# Whatever another package's install (another test, apt) changes at the
# same time belongs to that package; a new file of no package, or a change
# in a folder of this package only, is the program's doing.
written=()
while IFS= read -r path; do
  owners=$(dpkg -S "$path" 2>/dev/null | sed -n "s|: $path\$||p" | head -n 1) || true
  [ -n "$owners" ] && [ "$owners" != lotwise ] && continue
  written+=("$path")
done < <(find /usr -xdev -newer "$stamp")
[ ${#written[@]} -eq 0 ] || fail "written under /usr since the install: ${written[*]}"
echo "   dpkg --verify clean, no file of no package newer than the install"

step "dpkg -r and dpkg --purge leave nothing under /usr"
# Versions that kept every file beside the program left a root run's page
# in the folder; the package's prerm takes it.
echo "meanings page of an older version" >/usr/lib/lotwise/meanings_tmp.htm
dpkg -r lotwise >"$work/remove.log" 2>&1 || {
  cat "$work/remove.log" >&2
  fail "dpkg -r lotwise failed"
}
if grep -i 'not empty\|warning' "$work/remove.log" >&2; then
  fail "dpkg -r lotwise warns"
fi
[ ! -e /usr/lib/lotwise ] || fail "dpkg -r left /usr/lib/lotwise: $(ls -A /usr/lib/lotwise)"
dpkg --purge lotwise >"$work/purge.log" 2>&1 || {
  cat "$work/purge.log" >&2
  fail "dpkg --purge lotwise failed"
}
installed=0
left=$(find /usr -xdev -path '*lotwise*')
[ -z "$left" ] || fail "left under /usr after dpkg --purge: $left"

echo "PASS: the package installed, /usr/bin/lotwise ran Tell Me as $user and as root, each page in" \
  "the home's data folder held the entry of the grid on show, nothing was written under /usr, and" \
  "dpkg -r and --purge left nothing there; screenshots in $shots"
