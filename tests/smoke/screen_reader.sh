#!/usr/bin/env bash
# The whole journey as a screen reader makes it: the program on an X server
# of its own, with the accessibility bus (AT-SPI, the bus Orca and every
# Linux screen reader use) on a private D-Bus session, driven only through
# that bus by screen_reader.py.
#
#   screen_reader.sh <lotwise> <data-dir> <version>
#
# The program runs from a folder of its own (a copy of the executable and
# the two data files); the client checks what it reads against the data
# files in <data-dir>. Everything started here ends with the test: the
# program, the accessibility registry, the bus launcher and its bus, the
# session bus and the X server.
set -euo pipefail

if [ $# -ne 3 ]; then
  echo "usage: $0 <lotwise> <data-dir> <version>" >&2
  exit 2
fi
program=$1
data=$2
version=$3
here=$(cd "$(dirname "$0")" && pwd)

# shellcheck source=xsession.sh
source "$here/xsession.sh"

# Debian's own Python: pyatspi is a Debian package, which another Python
# found first on PATH would not see.
python=/usr/bin/python3
launcher=/usr/libexec/at-spi-bus-launcher
registry=/usr/libexec/at-spi2-registryd
for tool in "$python" "$launcher" "$registry"; do
  [ -x "$tool" ] || fail "$tool is not installed (scripts/lib/install-deps installs it)"
done
for tool in dbus-run-session dbus-send; do
  command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/lib/install-deps installs it)"
done
"$python" -c 'import pyatspi' 2>/dev/null || fail "python3-pyatspi is not installed (scripts/lib/install-deps installs it)"
[ -x "$program" ] || fail "no executable at $program (build it first)"
for file in words.wdb dictionary.wdb; do
  [ -f "$data/$file" ] || fail "no $file in $data"
done

copy_program "$program" "$data"

session_runner=""
session_pid=""
launcher_pid=""
registry_pid=""
# stop <pid>: ends one process this test started and reaps it when it is
# our child.
stop() {
  [ -n "$1" ] || return 0
  kill "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}
end_buses() {
  # The launcher ends the accessibility bus it started; dbus-run-session
  # ends the session bus once its one command has ended.
  stop "$registry_pid"
  stop "$launcher_pid"
  if [ -n "$session_pid" ]; then
    kill "$session_pid" 2>/dev/null || true
    # Give dbus-run-session the time to end the bus after its command;
    # killing it first would leave the bus behind.
    for _ in $(seq 50); do
      kill -0 "$session_runner" 2>/dev/null || break
      sleep 0.1
    done
  fi
  stop "$session_runner"
  if [ "$exit_rc" -ne 0 ] && [ -s "$work/bus.log" ]; then
    echo "accessibility bus output:" >&2
    sed 's/^/  /' "$work/bus.log" >&2
  fi
}
extra_cleanup=end_buses
# xsession.sh's cleanup reads the exit status; keep it for end_buses too,
# and let no failing step inside cleanup cut it short (errexit holds in
# traps).
exit_rc=0
trap 'exit_rc=$?; set +e; (exit $exit_rc); cleanup' EXIT
trap 'exit 143' TERM INT

start_xvfb

step "starting a private D-Bus session"
# dbus-run-session keeps the session for as long as its one command runs:
# a sleep that tells us the bus's address and its own process id.
dbus-run-session -- sh -c 'echo "$DBUS_SESSION_BUS_ADDRESS" >&3; echo $$ >&4; exec sleep 600' \
  3>"$work/session" 4>"$work/session.pid" >>"$work/bus.log" 2>&1 &
session_runner=$!
session_known() { [ -s "$work/session" ] && [ -s "$work/session.pid" ]; }
wait_for 60 "private D-Bus session" session_known
DBUS_SESSION_BUS_ADDRESS=$(cat "$work/session")
export DBUS_SESSION_BUS_ADDRESS
session_pid=$(cat "$work/session.pid")

step "starting the accessibility bus and its registry"
"$launcher" --launch-immediately >>"$work/bus.log" 2>&1 &
launcher_pid=$!
a11y_bus() {
  dbus-send --session --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress 2>/dev/null |
    tr -d '[:space:]'
}
# Asking the launcher's name before it owns it would make the session bus
# start a second launcher of its own: ask whether the name is owned first.
bus_known() {
  dbus-send --session --print-reply=literal --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q true
}
wait_for 60 "accessibility bus launcher" bus_known
a11y=$(a11y_bus)
[ -n "$a11y" ] || fail "the accessibility bus launcher gives no bus address"
"$registry" >>"$work/bus.log" 2>&1 &
registry_pid=$!
registry_up() {
  kill -0 "$registry_pid" 2>/dev/null || fail "the accessibility registry ended"
  dbus-send --bus="$a11y" --print-reply=literal --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner string:org.a11y.atspi.Registry 2>/dev/null | grep -q true
}
wait_for 60 "accessibility registry on $a11y" registry_up
echo "   accessibility bus $a11y"

# Qt offers its controls on the bus only when a screen reader says it runs;
# here the client is the screen reader.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
start_program "$app/lotwise"

step "the journey through the accessibility bus"
"$python" "$here/screen_reader.py" "$app_pid" "$data" "$version" || fail "the journey through the accessibility bus failed"

step "the program ends after \"Close Application\""
wait_for 60 "end of the program after \"Close Application\"" program_ended
rc=0
wait "$app_pid" || rc=$?
app_pid=""
[ $rc -eq 0 ] || fail "the program ended with exit code $rc"
echo "PASS"
